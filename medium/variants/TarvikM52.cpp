// TarvikM52: 5 m fairing, two solid boosters.
#include "VariantSpec.h"

namespace medium {

extern const VariantSpec kVariant = {
    .build = Build::M52,
    .className = "TarvikM52",
    .boosterCount = 2,
    .firstStageDryMass = 26767,
    .boosterDryMass = 3250,
    .upperStageDryMass = 3490,
    .fairingMass = 1000,
    .corePropellant = 199640,
    .boosterPropellant = 29949,
    .upperStagePropellant = 27220,
    .padTanks = {286758, 29949, 29949, 27220},
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
    .padFlameTexture = "tarvik/flame",
    .liftoffCoreStreams = {&kCoreGlow, &kCoreYellow, &kCoreFiretrail, &kCoreExhaust},
    .boosterFlameStream = &kBoosterFlame,
    .boosterFlameStreamBesideBooster = false,
    .coreAloneStreams = {&kCoreAloneGlow, &kCoreAloneYellow, &kCoreAloneTrail, &kCoreAloneExhaust},
    .coreAloneStreamCount = 4,
    .upperStageCountdownCutoff = 280,
    .upperStageIgnitionSteps = 500,
    .coreThrottleDown = {.wholeMainGroup = true, .stepPerFrame = 0.002, .onlyBelowWarp2 = false},
    .padLayoutBeforeEmptyMass = false,
    .padLayoutAddsUpperStageTank = true,
    .padIgnitionFeedsAllThrusters = false,
    .boosterCutOnlyUnderWarp = false,
    .coreBurnsFromPad = false,
    .liftoffRebuiltPerScenarioLine = true,
    .payloadReleaseRelightsStage = true,
    .payloadReleaseCutsMainFirst = false,
};

}  // namespace medium
