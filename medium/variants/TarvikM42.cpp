// TarvikM42: 4 m fairing, two solid boosters.
#include "VariantSpec.h"

namespace medium {

extern const VariantSpec kVariant = {
    .build = Build::M42,
    .className = "TarvikM42",
    .boosterCount = 2,
    .firstStageDryMass = 26767,
    .boosterDryMass = 3250,
    .upperStageDryMass = 2850,
    .fairingMass = 700,
    .corePropellant = 199640,
    .boosterPropellant = 29949,
    .upperStagePropellant = 21320,
    .padTanks = {280858, 29949, 29949, 21320},
    .padTankCount = 4,
    .interstageMesh = "tarvik/interstageS",
    .upperStageMesh = "tarvik/Stage2S",
    .stack = &kFourMetreStack,
    .fairingRightClass = "tarvik/fairRS",
    .fairingLeftClass = "tarvik/fairLS",
    .fairingRightClassFromCore = "tarvik/fairRSB2",
    .fairingLeftClassFromCore = "tarvik/fairLSB2",
    .coreStageClass = "tarvik/1stS",
    .vapourThrusterZ = 40,
    .vapourStreamSize = 4.5,
    .payloadStageExhaustZ = -7,
    .padFlameTexture = "tarvik/flame",
    .liftoffCoreStreams = {&kCoreGlowSmallFairing, &kCoreYellow, &kCoreFiretrail, &kCoreExhaust},
    .boosterFlameStream = &kBoosterFlameSmallFairing,
    .boosterFlameStreamBesideBooster = true,
    .coreAloneStreams = {&kCoreAloneGlow, &kCoreAloneYellow, &kCoreAloneTrail, &kCoreAloneExhaust},
    .coreAloneStreamCount = 4,
    .upperStageCountdownCutoff = 285,
    .upperStageIgnitionSteps = 700,
    .coreThrottleDown = {.wholeMainGroup = false, .stepPerFrame = 0.001, .onlyBelowWarp2 = true},
    .padLayoutBeforeEmptyMass = true,
    .padLayoutAddsUpperStageTank = false,
    .padIgnitionFeedsAllThrusters = false,
    .boosterCutOnlyUnderWarp = true,
    .coreBurnsFromPad = false,
    .liftoffRebuiltPerScenarioLine = false,
    .payloadReleaseRelightsStage = false,
    .payloadReleaseCutsMainFirst = true,
};

}  // namespace medium
