// The particle streams of the launcher's engines, one row per stream as the
// engineers list them. The pad's own (cloud, plume, smoke) are the ones every
// launcher shows at ignition (PadIgnition.h).
#pragma once

#include "StreamRows.h"

namespace medium {

using PS = PARTICLESTREAMSPEC;

// clang-format off
//                                                            size rate speed spread life  growth slow light         level map      lmin   lmax atm map       amin     amax    texture
inline constexpr tarvik::StreamRow kVapour                   {5.5, 200, 100,  0.1,   0.03, 25,    1,   PS::EMISSIVE, PS::LVL_PSQRT, 0.01,  1,   PS::ATM_PLIN, 0,       0.0001, nullptr};  // size by build
inline constexpr tarvik::StreamRow kCoreGlow                 {3.5, 20,  100,  0.3,   1.3,  9,     1,   PS::EMISSIVE, PS::LVL_FLAT,  0.1,   0.4, PS::ATM_PLIN, 0.0001,  0.1,    "tarvik/exhaust2"};
inline constexpr tarvik::StreamRow kCoreYellow               {1.9, 35,  40,   0.1,   1.0,  3.9,   0.2, PS::EMISSIVE, PS::LVL_SQRT,  0.005, 1,   PS::ATM_PLIN, 0,       3.9,    "tarvik/yexhaust"};
inline constexpr tarvik::StreamRow kCoreFiretrail            {1.7, 150, 60,   0.15,  1.0,  3.2,   0.5, PS::EMISSIVE, PS::LVL_SQRT,  0.001, 1,   PS::ATM_PLIN, 0,       0.0001, "tarvik/TVHV_firetrail"};
inline constexpr tarvik::StreamRow kCoreExhaust              {2.5, 140, 20,   0,     1.5,  1.2,   0,   PS::EMISSIVE, PS::LVL_SQRT,  0,     1,   PS::ATM_PLIN, 0,       3.905,  "tarvik/Exhaust"};
inline constexpr tarvik::StreamRow kBoosterTrail             {7,   20,  40,   0,     4.7,  3.8,   0,   PS::EMISSIVE, PS::LVL_SQRT,  0,     1,   PS::ATM_PLIN, 0.00001, 0.01,   "tarvik/smoke2"};
inline constexpr tarvik::StreamRow kBoosterFlame             {1,   180, 40,   0,     0.6,  6.9,   0,   PS::EMISSIVE, PS::LVL_SQRT,  0,     0.8, PS::ATM_PLIN, 0.00001, 0.01,   "tarvik/gemexhaust"};
inline constexpr tarvik::StreamRow kCoreAloneGlow            {5.5, 25,  200,  0.3,   0.9,  10,    3,   PS::EMISSIVE, PS::LVL_FLAT,  0.1,   0.4, PS::ATM_PLOG, 0.0001,  1,      "tarvik/exhaust2"};
inline constexpr tarvik::StreamRow kCoreAloneYellow          {1.9, 35,  40,   0.1,   0.7,  3.9,   0.2, PS::EMISSIVE, PS::LVL_PSQRT, 0,     1.3, PS::ATM_PLIN, 0,       3.9,    "tarvik/yexhaust"};
inline constexpr tarvik::StreamRow kCoreAloneTrail           {1.7, 150, 60,   0.15,  1.0,  3.2,   0.5, PS::EMISSIVE, PS::LVL_PSQRT, 0,     0.5, PS::ATM_PLIN, 0,       0.0001, "tarvik/TVHV_firetrail"};
inline constexpr tarvik::StreamRow kCoreAloneExhaust         {2.5, 140, 20,   0,     1.5,  1.2,   0,   PS::EMISSIVE, PS::LVL_PSQRT, 0,     3.3, PS::ATM_PLIN, 0,       3.905,  "tarvik/Exhaust"};

// The forms some builds fly instead: kCoreGlow and kBoosterFlame of TarvikM42,
// kCoreGlow and kCoreAloneGlow of TarvikM4.
inline constexpr tarvik::StreamRow kCoreGlowSmallFairing     {5.5, 20,  150,  0.3,   0.4,  9,     2,   PS::EMISSIVE, PS::LVL_FLAT,  0.1,   0.4, PS::ATM_PLIN, 0.0001,  0.1,    "tarvik/exhaust2"};
inline constexpr tarvik::StreamRow kBoosterFlameSmallFairing {1.3, 140, 40,   0,     0.65, 7,     0,   PS::EMISSIVE, PS::LVL_SQRT,  0,     0.8, PS::ATM_PLIN, 0.00001, 0.01,   "tarvik/gemexhaust"};
inline constexpr tarvik::StreamRow kCoreGlowNoBoosters       {3.5, 20,  100,  0.3,   1.3,  9,     1,   PS::EMISSIVE, PS::LVL_FLAT,  0.1,   0.4, PS::ATM_PLIN, 0.0001,  0.1,    "tarvik/Exhaust2"};
inline constexpr tarvik::StreamRow kCoreAloneGlowNoBoosters  {5.5, 25,  200,  0.3,   0.9,  10,    3,   PS::EMISSIVE, PS::LVL_FLAT,  0.1,   0.4, PS::ATM_PLOG, 0.0001,  1,      "tarvik/Exhaust2"};
// clang-format on

}  // namespace medium
