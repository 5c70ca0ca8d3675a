// TarvikM4: 4 m fairing, no solid boosters; the core stage lifts off alone.
#include "VariantSpec.h"

namespace medium {

extern const VariantSpec kVariant = {
    .build = Build::M4,
    .className = "TarvikM4",
    .boosterCount = 0,
    .firstStageDryMass = 26767,
    .boosterDryMass = 0,
    .upperStageDryMass = 2850,
    .fairingMass = 700,
    .corePropellant = 199640,
    .boosterPropellant = 0,
    .upperStagePropellant = 21320,
    .padTanks = {220960, 0, 0, 0},
    .padTankCount = 1,
    .interstageMesh = "tarvik/interstageS",
    .upperStageMesh = "tarvik/Stage2S",
    .stack = &kFourMetreStack,
    .fairingRightClass = "tarvik/fairRS",
    .fairingLeftClass = "tarvik/fairLS",
    .fairingRightClassFromCore = "tarvik/fairRSB",
    .fairingLeftClassFromCore = "tarvik/fairLSB",
    .coreStageClass = "tarvik/1stS",
    .vapourThrusterZ = 40,
    .vapourStreamSize = 4.5,
    .payloadStageExhaustZ = -7,
    .padFlameTexture = "tarvik/flame",
    .liftoffCoreStreams = {&kCoreGlowNoBoosters, &kCoreAloneYellow, &kCoreAloneTrail, &kCoreAloneExhaust},
    .boosterFlameStream = &kBoosterFlame,
    .boosterFlameStreamBesideBooster = false,
    .coreAloneStreams = {&kCoreAloneGlowNoBoosters, &kCoreYellow, nullptr, nullptr},
    .coreAloneStreamCount = 2,
    .upperStageCountdownCutoff = 270,
    .upperStageIgnitionSteps = 500,
    .coreThrottleDown = {.wholeMainGroup = false, .stepPerFrame = 0.001, .onlyBelowWarp2 = true},
    .padLayoutBeforeEmptyMass = true,
    .padLayoutAddsUpperStageTank = false,
    .padIgnitionFeedsAllThrusters = true,
    .boosterCutOnlyUnderWarp = false,
    .coreBurnsFromPad = true,
    .liftoffRebuiltPerScenarioLine = false,
    .payloadReleaseRelightsStage = false,
    .payloadReleaseCutsMainFirst = false,
};

}  // namespace medium
