// The mission-time slots the pitch tables are written against.
#pragma once

#include "GuidanceTables.h"

namespace medium {

// clang-format off
// The 5 m builds and TarvikM42: the sixth slot ends at 225 s or at 220 s.
inline constexpr PitchSlots kSlotsTo225 = {7, {125, 135, 145, 155, 175, 200, 225, kNoUpperLimit}};
inline constexpr PitchSlots kSlotsTo220 = {7, {125, 135, 145, 155, 175, 200, 220, kNoUpperLimit}};
// TarvikM4 flies its core stage alone for longer.
inline constexpr PitchSlots kSlotsM4 = {11, {125, 135, 145, 155, 175, 200, 225, 250, 320, 345, 375, kNoUpperLimit}};
// clang-format on

}  // namespace medium
