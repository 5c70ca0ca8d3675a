// TarvikM54's ascent: azimuth biases, pitch programme and circularisation.
#include "CircularisationBands.h"
#include "GuidanceTables.h"
#include "PitchSlots.h"

namespace medium {
namespace {

// clang-format off
// Target pitch [deg] per slot:                        125-135  135-145  145-155  155-175  175-200  200-225/220  later
constexpr PitchClass kPitchTable[] = {
    // at most kg   throttle-back  slots
    {kNoUpperLimit, 0,    &kSlotsTo225, {18,      15,      12,      10,      8,       3,           0}},
    {6000,          0,    &kSlotsTo220, {11,      9,       7,       5,       4,       2,           0}},
    {5000,          0,    &kSlotsTo220, {11,      9,       6,       5,       3,       2,           0}},
    {4000,          0.15, &kSlotsTo220, {11,      8,       6,       5,       3,       1,           0}},
    {3000,          0.2,  &kSlotsTo220, {10,      8,       6,       5,       2,       0,           0}},
    {2000,          0.25, &kSlotsTo220, {10,      8,       6,       4,       2,       0,           0}},
    {1000,          0.3,  &kSlotsTo220, {10,      8,       6,       4,       0,       0,           0}},
};
// clang-format on

}  // namespace

// clang-format off
extern const GuidanceTables kTarvikM54Guidance = {
    .rollStart = 10, .rollEnd = 90,
    .hold1Low = 35, .hold1High = 36,
    .hold2Low = 22, .hold2High = 23,
    .programmeEnd = 270,
    .throttleBackFrom = 265,
    .fairingTimeStage1 = 285, .fairingTimeStage2 = 285,
    .upperStageLawFrom = 270,
    .fineYawRate = 0.0014,
    .fineYawProportionalBelow55 = false,
    .throttleDownMarginKm = 50,
    .correctionGain = {1.28, 1.239, 1.41, 1.36},
    .azimuthBias = {
        // payload classes, heaviest first: {above kg, bias}
        .ascendingEast  = {{{5000, 1.79}, {4500, 1.72}, {4000, 1.7}, {3000, 1.59}, {2000, 1.6}, {1000, 1.41},
                            {kAnyWeight, 1.5}}, 7, nullptr, 0},
        .ascendingWest  = {{{5000, 2.06}, {4500, 1.88}, {3000, 1.85}, {2000, 1.78}, {1000, 1.71},
                            {kAnyWeight, 1.57}}, 6, nullptr, 0},
        .descendingEast = {{{4500, -1.03}, {4000, -0.99}, {3000, -0.93}, {2000, -0.94}, {1000, -0.85},
                            {kAnyWeight, -0.79}}, 6, nullptr, 0},
        .descendingWest = {{{5000, -1.66}, {4000, -1.54}, {3000, -1.59}, {2000, -1.44}, {1000, -1.4},
                            {kAnyWeight, -1.29}}, 6, nullptr, 0},
    },
    .pitchClasses = kPitchTable,
    .pitchClassCount = 7,
    // The engine lights again below 7 s and rests above 17 s, at any altitude, without dropping to real time.
    .circularisation = {kSingleRule, 1, kNoUpperLimit, false, false},
};
// clang-format on

}  // namespace medium
