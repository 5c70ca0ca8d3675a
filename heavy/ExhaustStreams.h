// The particle streams of the heavy launcher's engines, one row per stream:
// the glow and flames of the three cores at lift-off, of the centre core
// alone and of the upper stage, and the solid boosters' flame and smoke.
// The pad's cloud, plume and smoke are the ones every launcher shows at
// ignition (PadIgnition.h).
#pragma once

#include "StreamRows.h"

namespace heavy {

using PS = PARTICLESTREAMSPEC;

// clang-format off
//                                                         size rate speed spread life growth slow light         level map     lmin lmax atm map       amin     amax  texture
// the three cores at lift-off
inline constexpr tarvik::StreamRow kCoreGlow              {5.5, 20,  150,  0.3,   0.4, 9,     2,   PS::EMISSIVE, PS::LVL_FLAT, 0.1, 0.4, PS::ATM_PLIN, 0.0001,  0.1,  "tarvik/Exhaust2"};
inline constexpr tarvik::StreamRow kCoreFlame             {2,   35,  100,  0.03,  0.75, 3.5,  0.2, PS::EMISSIVE, PS::LVL_SQRT, 0.5, 1,   PS::ATM_PLIN, 0.00001, 0.01, "tarvik/ExhaustM"};
inline constexpr tarvik::StreamRow kCoreVacuumPlume       {1.6, 150, 90,   0,     0.5, 0,     1,   PS::EMISSIVE, PS::LVL_SQRT, 0,   1,   PS::ATM_PLIN, 1,       0.1,  "tarvik/ExhaustM"};
inline constexpr tarvik::StreamRow kCoreExhaust           {2.2, 150, 90,   0,     0.5, 2,     0,   PS::EMISSIVE, PS::LVL_SQRT, 0,   0.8, PS::ATM_PLIN, 0.00001, 0.01, "tarvik/Exhaust"};
// the centre core alone, and the upper stage
inline constexpr tarvik::StreamRow kStageGlow             {5.5, 25,  200,  0.3,   0.9, 10,    3,   PS::EMISSIVE, PS::LVL_FLAT, 0.1, 0.4, PS::ATM_PLOG, 0.0001,  1,    "tarvik/Exhaust2"};
inline constexpr tarvik::StreamRow kCoreAloneExhaust      {2.9, 450, 90,   0,     0.6, 1,     0.5, PS::EMISSIVE, PS::LVL_SQRT, 0,   1,   PS::ATM_PLIN, 0.00001, 0.01, "tarvik/Exhaust"};
inline constexpr tarvik::StreamRow kStageVacuumPlume      {1.6, 150, 90,   0,     0.4, 0,     1,   PS::EMISSIVE, PS::LVL_SQRT, 0,   1,   PS::ATM_PLIN, 1,       0.01, "tarvik/ExhaustM"};
inline constexpr tarvik::StreamRow kUpperStageExhaust     {1.5, 200, 80,   0.04,  0.5, 2,     1,   PS::EMISSIVE, PS::LVL_SQRT, 0,   1,   PS::ATM_PLIN, 0.00001, 0.01, "tarvik/Exhaust"};
// the solid boosters
inline constexpr tarvik::StreamRow kBoosterSmoke          {0.9, 120, 40,   0,     4.7, 3.5,   0,   PS::EMISSIVE, PS::LVL_SQRT, 0,   1,   PS::ATM_PLIN, 0.00001, 0.01, "tarvik/smoke2"};
inline constexpr tarvik::StreamRow kBoosterFlame          {1,   160, 40,   0,     0.6, 6.9,   0,   PS::EMISSIVE, PS::LVL_SQRT, 0,   0.8, PS::ATM_PLIN, 0.00001, 0.01, "tarvik/gemexhaust"};
// clang-format on

}  // namespace heavy
