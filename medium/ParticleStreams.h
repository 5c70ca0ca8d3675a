// The particle streams of the launcher's engines and of the pad, one row per
// stream as the engineers list them. Level map: 0 flat, 2 square root,
// 4 pressure square root; atmosphere map: 1 pressure linear, 2 pressure
// logarithmic; type: 0 emissive, 1 diffuse.
#pragma once

namespace medium {

struct StreamDef {
    double size, rate, speed, spread, life, growth, slowdown;
    int type, levelMap;
    double levelMin, levelMax;
    int atmosphereMap;
    double atmosphereMin, atmosphereMax;
    const char* texture;  // null: untextured
};

// clang-format off
//                                       size  rate  speed spread life  growth slow type lvl  lmin   lmax  atm  amin     amax    texture
inline constexpr StreamDef kPadCloud        {14,   4,    -5,   13,   12,   8,     2,   1,   4,   0,     2,    2,   0.0001,  1,      "tarvik/Contrail4"};     // S1
inline constexpr StreamDef kPadPlume        {3,    3,    -40,  0.2,  7,    8,     0.5, 0,   2,   0,     1,    1,   0.00001, 0.01,   "tarvik/Contrail4"};     // S2
inline constexpr StreamDef kPadSmoke        {5.4,  14,   -32,  0.5,  6,    2.9,   0.5, 0,   2,   0,     1,    1,   0.00001, 0.01,   "tarvik/Exhaust"};       // S3
inline constexpr StreamDef kVapour          {5.5,  200,  100,  0.1,  0.03, 25,    1,   0,   4,   0.01,  1,    1,   0,       0.0001, nullptr};                // S4 (size by build)
inline constexpr StreamDef kCoreGlow        {3.5,  20,   100,  0.3,  1.3,  9,     1,   0,   0,   0.1,   0.4,  1,   0.0001,  0.1,    "tarvik/exhaust2"};      // S5
inline constexpr StreamDef kCoreYellow      {1.9,  35,   40,   0.1,  1.0,  3.9,   0.2, 0,   2,   0.005, 1,    1,   0,       3.9,    "tarvik/yexhaust"};      // S6
inline constexpr StreamDef kCoreFiretrail   {1.7,  150,  60,   0.15, 1.0,  3.2,   0.5, 0,   2,   0.001, 1,    1,   0,       0.0001, "tarvik/TVHV_firetrail"};// S7
inline constexpr StreamDef kCoreExhaust     {2.5,  140,  20,   0,    1.5,  1.2,   0,   0,   2,   0,     1,    1,   0,       3.905,  "tarvik/Exhaust"};       // S8
inline constexpr StreamDef kBoosterTrail    {7,    20,   40,   0,    4.7,  3.8,   0,   0,   2,   0,     1,    1,   0.00001, 0.01,   "tarvik/smoke2"};        // S9
inline constexpr StreamDef kBoosterFlame    {1,    180,  40,   0,    0.6,  6.9,   0,   0,   2,   0,     0.8,  1,   0.00001, 0.01,   "tarvik/gemexhaust"};    // S10
inline constexpr StreamDef kCoreAloneGlow   {5.5,  25,   200,  0.3,  0.9,  10,    3,   0,   0,   0.1,   0.4,  2,   0.0001,  1,      "tarvik/exhaust2"};      // S11
inline constexpr StreamDef kCoreAloneYellow {1.9,  35,   40,   0.1,  0.7,  3.9,   0.2, 0,   4,   0,     1.3,  1,   0,       3.9,    "tarvik/yexhaust"};      // S12
inline constexpr StreamDef kCoreAloneTrail  {1.7,  150,  60,   0.15, 1.0,  3.2,   0.5, 0,   4,   0,     0.5,  1,   0,       0.0001, "tarvik/TVHV_firetrail"};// S13
inline constexpr StreamDef kCoreAloneExhaust{2.5,  140,  20,   0,    1.5,  1.2,   0,   0,   4,   0,     3.3,  1,   0,       3.905,  "tarvik/Exhaust"};       // S14

// Build forms of the rows above.
inline constexpr StreamDef kCoreGlowSmallFairing    {5.5,  20,   150,  0.3,  0.4,  9,     2,   0,   0,   0.1,   0.4,  1,   0.0001,  0.1,    "tarvik/exhaust2"};  // S5, TarvikM42
inline constexpr StreamDef kBoosterFlameSmallFairing{1.3,  140,  40,   0,    0.65, 7,     0,   0,   2,   0,     0.8,  1,   0.00001, 0.01,   "tarvik/gemexhaust"};// S10, TarvikM42
inline constexpr StreamDef kCoreGlowNoBoosters      {3.5,  20,   100,  0.3,  1.3,  9,     1,   0,   0,   0.1,   0.4,  1,   0.0001,  0.1,    "tarvik/Exhaust2"};  // S5, TarvikM4
inline constexpr StreamDef kCoreAloneGlowNoBoosters {5.5,  25,   200,  0.3,  0.9,  10,    3,   0,   0,   0.1,   0.4,  2,   0.0001,  1,      "tarvik/Exhaust2"};  // S11, TarvikM4
// clang-format on

}  // namespace medium
