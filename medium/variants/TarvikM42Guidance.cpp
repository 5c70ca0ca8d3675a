// TarvikM42's ascent: azimuth biases, pitch programme and circularisation.
#include "AltitudeSteps.h"
#include "CircularisationBands.h"
#include "GuidanceTables.h"
#include "PitchSlots.h"

namespace medium {
namespace {

// clang-format off
// Target pitch [deg] per slot:                        125-135  135-145  145-155  155-175  175-200  200-225/220  later
constexpr PitchClass kPitchTable[] = {
    // at most kg   throttle-back  slots
    {kNoUpperLimit, 0,    &kSlotsTo225, {18,      15,      12,      10,      7,       3,           0}},
    {3000,          0.15, &kSlotsTo225, {18,      15,      12,      10,      7,       3,           0}},
    {2000,          0.2,  &kSlotsTo225, {18,      14,      12,      10,      7,       3,           0}},
    {1000,          0.3,  &kSlotsTo220, {16,      13,      12,      9,       5,       2,           0}},
};
// clang-format on

}  // namespace

// clang-format off
extern const GuidanceTables kTarvikM42Guidance = {
    .rollStart = 10, .rollEnd = 90,
    .hold1Low = 45, .hold1High = 46,
    .hold2Low = 31, .hold2High = 32,
    .programmeEnd = 270,
    .throttleBackFrom = 265,
    .fairingTimeStage1 = 285, .fairingTimeStage2 = 275,
    .upperStageLawFrom = 270,
    .fineYawRate = 0.0015,
    .fineYawProportionalBelow55 = false,
    .throttleDownMarginKm = 30,
    .correctionGain = {1.3, 1.24, 1.42, 1.36},
    .azimuthBias = {
        // payload classes, heaviest first: {above kg, bias}; then the altitude steps
        .ascendingEast  = {{{3000, 1.36}, {2000, 1.35}, {1000, 1.34}, {kAnyWeight, 1.25}}, 4, kStepA1, 7},
        .ascendingWest  = {{{3000, 1.69}, {2000, 1.68}, {1000, 1.56}, {kAnyWeight, 1.32}}, 4, kStepA2, 7},
        .descendingEast = {{{2000, -0.82}, {1000, -0.73}, {kAnyWeight, -0.64}}, 3, kStepA3, 5},
        .descendingWest = {{{2000, -1.35}, {1000, -1.13}, {kAnyWeight, -1.18}}, 3, kStepA4, 7},
    },
    .pitchClasses = kPitchTable,
    .pitchClassCount = 4,
    .circularisation = {kBandTableB, 3, kBandTableBCeilingKm, true, true},
};
// clang-format on

}  // namespace medium
