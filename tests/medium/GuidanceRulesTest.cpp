// The autopilot's arithmetic with each build's tables: pad recognition, the
// launch azimuth, the roll, pitch and yaw choices, the circularisation bands,
// the suggested correction and the gauge rows of the dialog.
#include <gtest/gtest.h>

#include "GuidanceRules.h"
#include "variants/GuidanceTables.h"

namespace medium_test {
namespace {

using namespace medium;
using namespace medium::rules;

constexpr double kEarthMass = 5.973698968e24;
constexpr double kDeg = 3.14159265358979323846 / 180;

TEST(LaunchSite, LatitudesNameThePads) {
    EXPECT_EQ(launchSiteAt(34.6), kLC6);
    EXPECT_EQ(launchSiteAt(28.5), kLC37);
    EXPECT_EQ(launchSiteAt(28.53429), kLC37B);
    // A launcher re-created by the configuration dialog may stand a rounding error away.
    EXPECT_EQ(launchSiteAt(28.53429 + 4e-6), kLC37B);
    EXPECT_EQ(launchSiteAt(28.53429 - 4e-6), kLC37B);
    EXPECT_EQ(launchSiteAt(28.533), kNoSite);
    EXPECT_EQ(launchSiteAt(45), kNoSite);
}

TEST(LaunchAzimuth, MatchesAHandComputation) {
    // Hand-computed from the launch geometry with each table's bias added.
    EXPECT_NEAR(launchAzimuth(51.6, 28.53429 * kDeg, 350, kEarthMass, 0, 1.97), 44.6418, 1e-3);
    EXPECT_NEAR(launchAzimuth(51.6, 28.53429 * kDeg, 350, kEarthMass, 1, -1.12), 138.4482, 1e-3);
    EXPECT_NEAR(launchAzimuth(98, 34.6 * kDeg, 800, kEarthMass, 0, 2.09), 349.5107, 1e-3);
    EXPECT_NEAR(launchAzimuth(98, 34.6 * kDeg, 800, kEarthMass, 1, -1.77), 194.3493, 1e-3);
}

TEST(LaunchAzimuth, InclinationsBelowTheLatitudeAreOutOfReach) {
    EXPECT_TRUE(inclinationReachable(28.6, 28.53429));
    EXPECT_FALSE(inclinationReachable(28.5, 28.53429));
    EXPECT_TRUE(inclinationReachable(145.4, 34.6));
    EXPECT_FALSE(inclinationReachable(145.5, 34.6));  // retrograde, beyond 180 - latitude
}

TEST(AzimuthBias, AWeightOnAClassBoundaryBelongsToTheLighterClass) {
    EXPECT_DOUBLE_EQ(tableBias(kTarvikM52Guidance, 0, kLC37B, 3000, 350, 0), 1.94);
    EXPECT_DOUBLE_EQ(tableBias(kTarvikM42Guidance, 0, kLC37, 3000, 350, 0), 1.35);
    EXPECT_DOUBLE_EQ(tableBias(kTarvikM54Guidance, 0, kLC37B, 3000, 350, 0), 1.6);
    EXPECT_DOUBLE_EQ(tableBias(kTarvikM4Guidance, 0, kLC37B, 3000, 350, 0), 3.3);
    EXPECT_DOUBLE_EQ(tableBias(kTarvikM52Guidance, 1, kLC6, 800, 350, 0), -1.67);
    EXPECT_DOUBLE_EQ(tableBias(kTarvikM52Guidance, 1, kLC37B, 6000, 350, 0), -1.19);
}

TEST(AzimuthBias, AltitudeStepsAddByBand) {
    EXPECT_NEAR(tableBias(kTarvikM52Guidance, 0, kLC37B, 4500, 400, 0), 1.97 + 0.13, 1e-12);
    EXPECT_NEAR(tableBias(kTarvikM52Guidance, 0, kLC37B, 4500, 500, 0), 1.97, 1e-12);
    EXPECT_NEAR(tableBias(kTarvikM42Guidance, 0, kLC37B, 3000, 600, 0), 1.35 + 0.34, 1e-12);
    EXPECT_NEAR(tableBias(kTarvikM42Guidance, 1, kLC37B, 3000, 550, 0), -0.82, 1e-12);  // A3 has no 500-600 step
    EXPECT_NEAR(tableBias(kTarvikM4Guidance, 1, kLC6, 500, 1020, 0), -3.15 + 0.11, 1e-12);
    EXPECT_NEAR(tableBias(kTarvikM4Guidance, 1, kLC6, 500, 1050, 0), -3.15, 1e-12);
}

TEST(AzimuthBias, AnUnknownSiteKeepsThePreviousBias) {
    EXPECT_DOUBLE_EQ(tableBias(kTarvikM52Guidance, 0, kNoSite, 4500, 350, 0.42), 0.42);
}

TEST(Roll, AngleIsMeasuredFromThePadAndWrapped) {
    EXPECT_NEAR(rollAngle(100, 100, kLC37B), 30, 1e-12);
    EXPECT_NEAR(rollAngle(100, 100, kLC6), 90, 1e-12);
    EXPECT_NEAR(rollAngle(10, 100, kLC37), 300, 1e-12);
    EXPECT_NEAR(rollAngle(400, 50, kLC37), 20, 1e-12);
    EXPECT_NEAR(rollFromOrientation(0), 180, 1e-6);
}

TEST(Roll, LevelGrowsWithTheErrorAndHoldsAtZero) {
    EXPECT_DOUBLE_EQ(rollLevel(0, 0.3), 0.3);
    EXPECT_DOUBLE_EQ(rollLevel(3, 0.3), 0.04);
    EXPECT_DOUBLE_EQ(rollLevel(5.5, 0), 0.15);
    EXPECT_DOUBLE_EQ(rollLevel(25, 0), 0.4);
    EXPECT_DOUBLE_EQ(rollLevel(41, 0), 0.6);
}

TEST(Roll, AnAzimuthPastTheLimitTurnsThroughNorthAndIsCaptured) {
    // From the pad's 30 degrees to an azimuth of 350 at LC37: right, across 0/360, right again.
    BankCommand c = rollCommand(kLC37, 30, 350, 0.6);
    EXPECT_TRUE(c.act);
    EXPECT_EQ(c.right, 0.6);
    EXPECT_EQ(c.left, 0);
    c = rollCommand(kLC37, 359, 350, 0.15);
    EXPECT_EQ(c.right, 0.15);
    c = rollCommand(kLC37, 349, 350, 0.04);
    EXPECT_EQ(c.left, 0.04);
    EXPECT_EQ(c.right, 0);
    c = rollCommand(kLC37, 350.009, 350, 0.04);
    EXPECT_TRUE(c.captured);
    EXPECT_EQ(c.right + c.left, 0);
    EXPECT_FALSE(rollCommand(kLC37, 350.02, 350, 0.04).captured);
    // LC6 turns the long way below 270 and wraps above it.
    EXPECT_EQ(rollCommand(kLC6, 90, 194, 0.6).left, 0.6);
    EXPECT_EQ(rollCommand(kLC6, 90, 300, 0.6).right, 0.6);
    EXPECT_FALSE(rollCommand(kNoSite, 30, 90, 0.6).act);
}

TEST(PitchTable, SlotBoundariesKeepThePreviousTarget) {
    const PitchChoice before{99, 0.5};
    EXPECT_EQ(pitchTarget(kTarvikM52Guidance, 135, 4500, before).targetPitch, 99);
    EXPECT_EQ(pitchTarget(kTarvikM52Guidance, 135.1, 4500, before).targetPitch, 15);
    EXPECT_EQ(pitchTarget(kTarvikM52Guidance, 180, 5500, before).targetPitch, 8);  // heavier than every class
    EXPECT_EQ(pitchTarget(kTarvikM52Guidance, 180, 4500, before).targetPitch, 7);
}

TEST(PitchTable, WeightTakesTheLastClassItBelongsTo) {
    const PitchChoice none{0, 0};
    const PitchChoice at3000 = pitchTarget(kTarvikM52Guidance, 130, 3000, none);
    EXPECT_EQ(at3000.throttleBack, 0.2);
    EXPECT_EQ(pitchTarget(kTarvikM52Guidance, 221, 900, none).targetPitch, 0);  // the light class ends at 220
    EXPECT_EQ(pitchTarget(kTarvikM52Guidance, 221, 1500, none).targetPitch, 3);
    EXPECT_EQ(pitchTarget(kTarvikM54Guidance, 150, 5500, none).targetPitch, 7);
    EXPECT_EQ(pitchTarget(kTarvikM4Guidance, 400, 1000, none).throttleBack, 0.05);
    // TarvikM4 has no class above 3000 kg: target and throttle-back stay.
    const PitchChoice kept = pitchTarget(kTarvikM4Guidance, 130, 3500, {12, 0.1});
    EXPECT_EQ(kept.targetPitch, 12);
    EXPECT_EQ(kept.throttleBack, 0.1);
}

TEST(YawHold, HeadingsAcrossTheSeamAreTakenOnTheAzimuthsSide) {
    YawCommand c = yawHold(359.99, 0.5);
    EXPECT_EQ(c.right, 0.04);
    EXPECT_EQ(c.left, 0);
    c = yawHold(0.2, 359.5);
    EXPECT_EQ(c.left, 0.04);
    EXPECT_EQ(c.right, 0);
    EXPECT_EQ(yawHold(90.015, 90).left, 0.02);
    EXPECT_EQ(yawHold(89.995, 90).right, 0.01);
}

TEST(YawHold, LatchesOnlyNearTheAzimuth) {
    EXPECT_TRUE(yawHold(90.001, 90).latch);
    EXPECT_TRUE(yawHold(0.0005, 359.999).latch);
    EXPECT_FALSE(yawHold(10, 340).latch);  // far from the azimuth, across the seam
    EXPECT_FALSE(yawHold(350, 20).latch);
}

TEST(Circularisation, EachBuildHasItsBands) {
    const CircularisationRule& a = kTarvikM52Guidance.circularisation;
    EXPECT_EQ(circularisationBand(a, 350)->startApT, 7);
    EXPECT_EQ(circularisationBand(a, 450)->startApT, 13);
    EXPECT_EQ(circularisationBand(a, 450)->level, 0.8);
    EXPECT_TRUE(circularisationBand(a, 860)->offOnlyAfterNear);
    EXPECT_EQ(circularisationBand(a, 1049.9)->earlyIgnitionApT, 30);
    EXPECT_EQ(circularisationBand(a, 1050), nullptr);
    for (const GuidanceTables* b : {&kTarvikM42Guidance, &kTarvikM4Guidance}) {
        EXPECT_EQ(circularisationBand(b->circularisation, 799)->startApT, 7);
        EXPECT_EQ(circularisationBand(b->circularisation, 800)->startApT, 8);
        EXPECT_EQ(circularisationBand(b->circularisation, 1048)->startApT, 10);
        EXPECT_EQ(circularisationBand(b->circularisation, 1049), nullptr);
    }
    const CircularisationRule& single = kTarvikM54Guidance.circularisation;
    EXPECT_EQ(circularisationBand(single, 5000)->startApT, 7);
    EXPECT_FALSE(single.relightPastApoapsis);
    EXPECT_FALSE(single.realTimeOnIgnition);
}

TEST(SuggestedCorrection, GainBySiteAndNode) {
    EXPECT_NEAR(suggestedCorrection(kTarvikM52Guidance, kLC6, 1, 51.70, 51.60), 0.136, 1e-9);
    EXPECT_DOUBLE_EQ(twoDecimals(suggestedCorrection(kTarvikM52Guidance, kLC6, 1, 51.70, 51.60)), 0.14);
    EXPECT_NEAR(suggestedCorrection(kTarvikM42Guidance, kLC37B, 0, 29.5, 30), -0.65, 1e-9);
    EXPECT_EQ(suggestedCorrection(kTarvikM52Guidance, kLC37B, 0, 30, 30), 0);
    EXPECT_EQ(suggestedCorrection(kTarvikM52Guidance, kNoSite, 0, 29, 30), 0);
}

TEST(WrapDegrees, DifferencesComeIntoHalfATurn) {
    EXPECT_DOUBLE_EQ(wrapDegrees(359 - 1), -2);
    EXPECT_DOUBLE_EQ(wrapDegrees(1 - 359), 2);
    EXPECT_DOUBLE_EQ(wrapDegrees(180), 180);
    EXPECT_DOUBLE_EQ(wrapDegrees(-180), 180);
}

TEST(DialogGauge, RowsForPitchThrustAndFuel) {
    EXPECT_EQ(pitchTapeRow(90), 90);
    EXPECT_EQ(pitchTapeRow(-5), 185);
    EXPECT_EQ(thrustColumnHeight(0.5), 90);  // the fill covers rows 90 to 180
    EXPECT_EQ(fuelColumnTop(27220, 27220), 0);
    EXPECT_EQ(fuelColumnTop(0, 27220), 180);
    EXPECT_EQ(fuelColumnTop(0, 0), 180);
}

TEST(OrbitList, VesselsAboveThreeHundredKilometresAreOffered) {
    EXPECT_FALSE(offeredForOrbitCopy(300.4e3));
    EXPECT_TRUE(offeredForOrbitCopy(300.6e3));
    EXPECT_FALSE(offeredForOrbitCopy(250e3));
}

}  // namespace
}  // namespace medium_test
