// TarvikM52's ascent: azimuth biases, pitch programme and circularisation.
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
    {5000,          0,    &kSlotsTo225, {18,      15,      12,      10,      7,       3,           0}},
    {4000,          0.15, &kSlotsTo225, {18,      15,      12,      10,      7,       3,           0}},
    {3000,          0.2,  &kSlotsTo225, {18,      15,      12,      10,      7,       3,           0}},
    {2000,          0.25, &kSlotsTo225, {18,      14,      12,      10,      7,       3,           0}},
    {1000,          0.3,  &kSlotsTo220, {16,      13,      12,      9,       5,       2,           0}},
};

// The 400-500 km band of the ascending launches from LC37 and LC37B.
constexpr AltitudeStep kLowOrbitStep[] = {{400, 500, 0.13}};
// clang-format on

}  // namespace

// clang-format off
extern const GuidanceTables kTarvikM52Guidance = {
    .rollStart = 10, .rollEnd = 90,
    .hold1Low = 45, .hold1High = 46,
    .hold2Low = 31, .hold2High = 32,
    .programmeEnd = 270,
    .throttleBackFrom = 265,
    .fairingTimeStage1 = 285, .fairingTimeStage2 = 285,
    .upperStageLawFrom = 270,
    .fineYawRate = 0.0014,
    .fineYawProportionalBelow55 = false,
    .throttleDownMarginKm = 50,
    .correctionGain = {1.29, 1.24, 1.41, 1.36},
    .azimuthBias = {
        // payload classes, heaviest first: {above kg, bias}; then the altitude steps
        .ascendingEast  = {{{4500, 2.13}, {4000, 1.97}, {3000, 2.15}, {2000, 1.94}, {1000, 1.84}, {kAnyWeight, 1.77}}, 6,
                           kLowOrbitStep, 1},
        .ascendingWest  = {{{4500, 2.23}, {3000, 2.09}, {2000, 2.11}, {1000, 2.0}, {kAnyWeight, 1.93}}, 5, nullptr, 0},
        .descendingEast = {{{5000, -1.19}, {4500, -1.17}, {4000, -1.12}, {3000, -1.17}, {2000, -1.08}, {1000, -1.07},
                            {kAnyWeight, -1.02}}, 7, nullptr, 0},
        .descendingWest = {{{4500, -1.93}, {4000, -1.77}, {3000, -1.93}, {2000, -1.86}, {1000, -1.71},
                            {kAnyWeight, -1.67}}, 6, nullptr, 0},
    },
    .pitchClasses = kPitchTable,
    .pitchClassCount = 6,
    .circularisation = {kBandTableA, 11, kBandTableACeilingKm, true, true},
};
// clang-format on

}  // namespace medium
