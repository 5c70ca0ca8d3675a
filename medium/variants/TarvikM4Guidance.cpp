// TarvikM4's ascent: azimuth biases, pitch programme and circularisation.
#include "AltitudeSteps.h"
#include "CircularisationBands.h"
#include "GuidanceTables.h"
#include "PitchSlots.h"

namespace medium {
namespace {

// clang-format off
// Target pitch [deg] per slot: 125-135 135-145 145-155 155-175 175-200 200-225 225-250 250-320 320-345 345-375 375-420
// No class covers a payload above 3000 kg: the target then keeps its previous value.
constexpr PitchClass kPitchTable[] = {
    // at most kg  throttle-back  slots
    {3000,         0,    &kSlotsM4, {30,     28,     27,     26,     25,     24,     18,     17,     15,     12,     10}},
    {2000,         0,    &kSlotsM4, {30,     28,     27,     25,     23,     19,     18,     16,     14,     12,     9}},
    {1000,         0.05, &kSlotsM4, {30,     28,     27,     25,     23,     19,     18,     16,     13,     12,     9}},
};
// clang-format on

}  // namespace

// clang-format off
extern const GuidanceTables kTarvikM4Guidance = {
    .rollStart = 15, .rollEnd = 90,
    .hold1Low = 60, .hold1High = 61,
    .hold2Low = 38, .hold2High = 39,
    .programmeEnd = 420,
    .throttleBackFrom = 345,
    .fairingTimeStage1 = 275, .fairingTimeStage2 = 275,
    .upperStageLawFrom = 420,
    .fineYawRate = 0.0014,
    .fineYawProportionalBelow55 = true,
    .throttleDownMarginKm = 30,
    .correctionGain = {1.3, 1.24, 1.42, 1.35},
    .azimuthBias = {
        // payload classes, heaviest first: {above kg, bias}; then the altitude steps
        .ascendingEast  = {{{3000, 3.35}, {2000, 3.3}, {1000, 3.17}, {kAnyWeight, 3.11}}, 4, kStepB1, 7},
        .ascendingWest  = {{{2000, 3.49}, {1000, 3.37}, {kAnyWeight, 3.28}}, 3, kStepB2, 7},
        .descendingEast = {{{2000, -2.13}, {1000, -2.05}, {kAnyWeight, -1.97}}, 3, kStepB3, 7},
        .descendingWest = {{{2000, -3.43}, {1000, -3.19}, {kAnyWeight, -3.15}}, 3, kStepB4, 7},
    },
    .pitchClasses = kPitchTable,
    .pitchClassCount = 3,
    .circularisation = {kBandTableB, 3, kBandTableBCeilingKm, true, true},
};
// clang-format on

}  // namespace medium
