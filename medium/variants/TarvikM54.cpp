// TarvikM54: 5 m fairing, four solid boosters shed in two pairs.
#include "VariantSpec.h"

namespace medium {

extern const VariantSpec kVariant = {
    .build = Build::M54,
    .className = "TarvikM54",
    .boosterCount = 4,
    .firstStageDryMass = 26767,
    .boosterDryMass = 3250,
    .upperStageDryMass = 3490,
    .fairingMass = 1000,
    .corePropellant = 199640,
    .boosterPropellant = 29949,
    .upperStagePropellant = 27220,
    .padTanks = {199640, 29949, 29949, 27220},
    .padTankCount = 4,
    .interstageMesh = "tarvik/interstage",
    .upperStageMesh = "tarvik/2nd",
    .stack = &kFiveMetreStack,
    .fairingRightClass = "tarvik/fairRM",
    .fairingLeftClass = "tarvik/fairLM",
    .fairingRightClassFromCore = "tarvik/fairRMB",
    .fairingLeftClassFromCore = "tarvik/fairLMB",
    .coreStageClass = "tarvik/1st",
    .vapourThrusterZ = 43,
    .vapourStreamSize = 5.5,
    .payloadStageExhaustZ = -1,
    .padFlameTexture = "tarvik/TVHV_Exhaust",
    .liftoffCoreStreams = {&kCoreGlow, &kCoreYellow, &kCoreFiretrail, &kCoreExhaust},
    .boosterFlameStream = &kBoosterFlame,
    .boosterFlameStreamBesideBooster = false,
    .coreAloneStreams = {&kCoreAloneGlow, &kCoreAloneYellow, &kCoreAloneTrail, &kCoreAloneExhaust},
    .coreAloneStreamCount = 4,
    .upperStageCountdownCutoff = 285,
    .upperStageIgnitionSteps = 700,
    .coreThrottleDown = {.wholeMainGroup = false, .stepPerFrame = 0.002, .onlyBelowWarp2 = true},
    .padLayoutBeforeEmptyMass = true,
    .padLayoutAddsUpperStageTank = false,
    .padIgnitionFeedsAllThrusters = true,
    .boosterCutOnlyUnderWarp = false,
    .coreBurnsFromPad = false,
    .liftoffRebuiltPerScenarioLine = true,
    .payloadReleaseRelightsStage = true,
    .payloadReleaseCutsMainFirst = false,
};

}  // namespace medium
