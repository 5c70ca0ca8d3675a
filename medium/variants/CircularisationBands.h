// The circularisation bands: when the engine lights again near the apoapsis
// and when it rests, by target altitude.
#pragma once

#include "GuidanceTables.h"

namespace medium {

// clang-format off
// Band table A (TarvikM52).
//                                                  from km  early ApT  start ApT  level  off above  off below      off after near
inline constexpr CircularisationBand kBandTableA[] = {
    {   0,    0,   7,  1,    17,  4500,          false},
    { 400,    0,  13,  0.8,  17,  4500,          false},
    { 500,    0,  15,  1,    17,  4500,          false},
    { 600,    0,  18,  1,    20,  4500,          false},
    { 700,    0,  19,  1,    19,  4500,          false},
    { 800,    0,  19,  1,    19,  kNoUpperLimit, false},
    { 851,    0,  20,  1,    17,  kNoUpperLimit, true },
    { 900,   26,  17,  1,    17,  4500,          false},
    { 930,   27,  17,  1,    17,  4500,          false},
    { 960,   28,  17,  1,    17,  4500,          false},
    {1010,   30,  17,  1,    17,  4500,          false},
};
inline constexpr double kBandTableACeilingKm = 1050;

// Band table B (TarvikM42, TarvikM4).
inline constexpr CircularisationBand kBandTableB[] = {
    {   0,    0,   7,  1,    17,  4500,          false},
    { 800,    0,   8,  1,    17,  4500,          false},
    { 900,    0,  10,  1,    17,  4500,          false},
};
inline constexpr double kBandTableBCeilingKm = 1049;

// The single rule (TarvikM54), for every altitude.
inline constexpr CircularisationBand kSingleRule[] = {
    {   0,    0,   7,  1,    17,  kNoUpperLimit, false},
};
// clang-format on

}  // namespace medium
