// The arithmetic of aiming: the secant step and its fall-backs, the launch
// geometry it measures in, the rule that stops an aimed mission, and when a
// pad passes under an orbit's plane (against a hand computation at both
// nodes), with the angle between two planes and the launch time as UTC.
#include <gtest/gtest.h>

#include <cmath>

#include "AimPlanner.h"
#include "LaunchWindow.h"

using namespace tarviksim;

namespace {

constexpr double kRad = 3.14159265358979323846 / 180;
constexpr double kSiderealRate = 360 / 86164.10132;  // deg/s

// A launcher as the flights show it: the cut-off inclination follows the
// correction through the launch geometry from an effective latitude below
// the pad's, and the plane change trims a cut-off error below 0.2 deg.
struct ModelLauncher {
    double effectiveLatitude;  // deg
    double azimuthAtZero;      // deg, beta with no correction
    double turn = 0.96;        // d beta / d correction
    double cutoff(double correction) const {
        const double beta = (azimuthAtZero + turn * correction) * kRad;
        return std::acos(std::cos(effectiveLatitude * kRad) * std::sin(beta)) / kRad;
    }
    AimedFlight fly(double correction, double target) const {
        AimedFlight f;
        f.correction = correction;
        f.complete = true;
        f.cutoffInclination = cutoff(correction);
        f.finalInclination = std::fabs(*f.cutoffInclination - target) < 0.2 ? target + 0.004 : *f.cutoffInclination;
        return f;
    }
};

// Flights of an aimed mission against the model, until the rule stops them.
std::vector<AimedFlight> aimAgainst(const ModelLauncher& launcher, double target, const AimGeometry& g,
                                    AimStop& stop) {
    std::vector<AimedFlight> flights = {launcher.fly(0, target)};
    while (true) {
        const AimStep s = nextCorrection(flights, target, g);
        if (s.stop != AimStop::None) {
            stop = s.stop;
            return flights;
        }
        flights.push_back(launcher.fly(s.nextCorrection, target));
    }
}

AimedFlight flown(double correction, double cutoff, double final, bool complete = true) {
    AimedFlight f;
    f.correction = correction;
    f.cutoffInclination = cutoff;
    f.finalInclination = final;
    f.complete = complete;
    return f;
}

}  // namespace

TEST(SecantStep, OneSampleStepsAlongTheSlopeTwoFollowTheirSecant) {
    EXPECT_DOUBLE_EQ(secantStep({{0, -0.5}}, 0.25, 10), 2.0);
    // A straight line is solved in one secant: e = 0.3 (x - 2).
    EXPECT_NEAR(secantStep({{0, -0.6}, {1, -0.3}}, 5, 10), 2.0, 1e-12);
    // The last two samples decide, not the first.
    EXPECT_NEAR(secantStep({{9, 4}, {0, -0.6}, {1, -0.3}}, 5, 10), 2.0, 1e-12);
}

TEST(SecantStep, DistrustsFlatAndBackwardSecantsAndLongSteps) {
    EXPECT_DOUBLE_EQ(secantStep({{0, -0.5}, {1, -0.5}}, 0.25, 10), 3.0) << "flat: the slope from where it stands";
    EXPECT_DOUBLE_EQ(secantStep({{0, -0.5}, {1, -0.6}}, 0.25, 10), 1 + 0.6 / 0.25) << "against the slope";
    EXPECT_DOUBLE_EQ(secantStep({{2, -0.5}, {2, -0.4}}, 0.5, 10), 2.8) << "no run at all";
    EXPECT_DOUBLE_EQ(secantStep({{0, -0.5}}, 0.01, 10), 10.0);
    EXPECT_DOUBLE_EQ(secantStep({{0, 0.5}}, 0.01, 10), -10.0);
}

TEST(AimGeometry, AzimuthFromNorthForTheInclinationAndItsTurnWithTheCorrection) {
    EXPECT_NEAR(crossingAzimuth(90, 28.5), 0, 1e-9) << "a polar orbit heads north";
    EXPECT_NEAR(crossingAzimuth(28.5, 28.5), 90, 1e-6) << "the pad's latitude: due east";
    // sin(beta) = cos(51.6) / cos(28.5), by hand: 0.62115 / 0.87882 = 0.70680.
    EXPECT_NEAR(crossingAzimuth(51.6, 28.5), std::asin(0.70680) / kRad, 0.01);
    EXPECT_LT(crossingAzimuth(98, 34.6), 0) << "retrograde: west of north";
    EXPECT_NEAR(crossingAzimuth(20, 28.5), 90, 1e-9) << "out of reach: held at due east";

    // Over the turning Earth the heading the autopilot computes turns a
    // little faster or slower than beta, so a degree of correction turns
    // beta by about a degree, on every kind of orbit.
    for (const auto& [latitude, inclination, altitude] :
         {std::tuple{28.53429, 28.6, 350.0}, {28.53429, 51.6, 400.0}, {34.6, 98.0, 600.0}, {34.6, 63.4, 900.0}}) {
        const double turn = azimuthPerCorrection({latitude, altitude}, inclination);
        EXPECT_GT(turn, 0.85) << inclination;
        EXPECT_LT(turn, 1.1) << inclination;
    }
}

TEST(AimGeometry, TheLatitudeFlownFromIsThePadsUnlessAFlightCameOutLower) {
    EXPECT_DOUBLE_EQ(effectiveLatitude(28.53, {30.1, 29.0}), 28.53);
    EXPECT_DOUBLE_EQ(effectiveLatitude(28.53, {28.07, 28.6}), 28.07 - kLatitudeMargin);
    EXPECT_DOUBLE_EQ(effectiveLatitude(28.53, {151.9}), 180 - 151.9 - kLatitudeMargin) << "retrograde reaches 28.1";
    EXPECT_DOUBLE_EQ(effectiveLatitude(-34.6, {}), 34.6);
}

// The README's mission as it flies: 28.07 deg with no correction, 28.6
// wanted, the cut-off inclination barely moving at first and then fast. The
// secant measured in the geometry's azimuth reaches the plane change's reach
// in one step; a secant on the inclination itself, stepping along the
// geometry's slope, overshoots to nearly 30 deg first.
TEST(AimedMission, NearlyDueEastReachesTheTargetInTwoFlights) {
    const ModelLauncher m52{28.0, 87.93};
    EXPECT_NEAR(m52.cutoff(0), 28.07, 0.005) << "the model is the measured launcher";
    EXPECT_NEAR(m52.cutoff(-8.72), 29.725, 0.02);
    AimStop stop = AimStop::None;
    const std::vector<AimedFlight> flights = aimAgainst(m52, 28.6, {28.53429, 350}, stop);
    EXPECT_EQ(stop, AimStop::Within);
    EXPECT_EQ(flights.size(), 2u);
    EXPECT_NEAR(*flights.back().cutoffInclination, 28.6, 0.2);
    EXPECT_EQ(chosenFlight(flights, 28.6), 1);
}

TEST(AimedMission, FarFromDueEastAndRetrogradeEachTakeAStepOrTwo) {
    AimStop stop = AimStop::None;
    // 98 deg from LC6 coming out 2.3 deg high: beta 2.4 deg too far west.
    const ModelLauncher retrograde{34.6, crossingAzimuth(100.33, 34.6)};
    std::vector<AimedFlight> flights = aimAgainst(retrograde, 98, {34.6, 300}, stop);
    EXPECT_EQ(stop, AimStop::Within);
    EXPECT_LE(flights.size(), 3u);
    EXPECT_GT(flights.back().correction, 1) << "more correction, less inclination";

    // 30 deg from LC37B coming out 1.2 deg low.
    const ModelLauncher low{28.4, crossingAzimuth(28.81, 28.4)};
    flights = aimAgainst(low, 30, {28.53429, 600}, stop);
    EXPECT_EQ(stop, AimStop::Within);
    EXPECT_LE(flights.size(), 3u);
    EXPECT_LT(flights.back().correction, 0);
}

TEST(StoppingRule, StopsWithinFailedOrOutOfFlights) {
    const AimGeometry g{28.53429, 400};
    // The final inclination decides, whatever the cut-off was.
    EXPECT_EQ(nextCorrection({flown(0, 51.75, 51.605)}, 51.6, g).stop, AimStop::Within);
    EXPECT_EQ(nextCorrection({flown(0, 51.75, 51.611)}, 51.6, g).stop, AimStop::None);
    EXPECT_EQ(nextCorrection({flown(0, 50.0, 50.0, false)}, 51.6, g).stop, AimStop::NotComplete);
    AimedFlight noCutoff = flown(0, 0, 50);
    noCutoff.cutoffInclination.reset();
    EXPECT_EQ(nextCorrection({noCutoff}, 51.6, g).stop, AimStop::NoCutoff);
    const std::vector<AimedFlight> four = {flown(0, 52, 52), flown(1, 51.4, 51.4), flown(0.6, 51.9, 51.9),
                                           flown(0.8, 51.3, 51.3)};
    EXPECT_EQ(nextCorrection(four, 51.6, g).stop, AimStop::FlightsUsed);
    EXPECT_EQ(chosenFlight(four, 51.6), 1) << "the closest of those that completed";
    EXPECT_EQ(chosenFlight({flown(0, 50, 50, false)}, 51.6), -1);
}

// A cut-off on target that still ended off (the burns after it moved the
// plane): the next cut-off is aimed that much the other way; a cut-off far
// from the target tells nothing of the kind (its plane change did the rest).
TEST(StoppingRule, WhatTheInclinationDidAfterACutoffOnTargetIsAimedFor) {
    const AimGeometry g{34.6, 300};
    const std::vector<AimedFlight> drifted = {flown(4.72, 97.683, 97.683), flown(4.37, 97.995, 98.034)};
    const AimStep s = nextCorrection(drifted, 98, g);
    ASSERT_EQ(s.stop, AimStop::None);
    // A cut-off at 97.961 wanted: about 0.034 deg less than the last, at
    // about a degree of beta per degree of correction and 1.2 deg of beta
    // per degree of inclination there.
    EXPECT_NEAR(s.nextCorrection, 4.37 + 0.034 * 1.2, 0.02);

    const AimStep far = nextCorrection({flown(0, 51.408, 51.587)}, 51.6, {28.53429, 300});
    ASSERT_EQ(far.stop, AimStop::None);
    EXPECT_LT(far.nextCorrection, -0.2) << "the cut-off aimed at 51.6 itself";
    EXPECT_GT(far.nextCorrection, -0.3);
}

TEST(StoppingRule, NamesATargetTheCorrectionDoesNotMove) {
    const AimGeometry g{28.53429, 350};
    EXPECT_EQ(nextCorrection({flown(0, 28.07, 28.07), flown(-1, 28.072, 28.072)}, 28.6, g).stop,
              AimStop::NoResponse);
    // A small change of correction moving little is no such sign.
    EXPECT_EQ(nextCorrection({flown(0, 28.07, 28.07), flown(-0.3, 28.072, 28.072)}, 28.6, g).stop, AimStop::None);
}

TEST(StoppingRule, TheNextCorrectionIsTypedWithTwoDecimalsAndNeverFlownTwice) {
    const AimGeometry g{28.53429, 400};
    const AimStep s = nextCorrection({flown(0, 51.75, 51.75)}, 51.6, g);
    ASSERT_EQ(s.stop, AimStop::None);
    EXPECT_DOUBLE_EQ(s.nextCorrection, roundedTo(s.nextCorrection, 0.01));
    EXPECT_GT(s.nextCorrection, 0.1);

    // The secant asks for about 0.103, the field takes 0.10, which was
    // flown: one hundredth on from it, the way its error points.
    const AimStep nudged = nextCorrection({flown(0, 51.75, 51.75), flown(0.1, 51.604, 51.615)}, 51.6, g);
    ASSERT_EQ(nudged.stop, AimStop::None);
    EXPECT_DOUBLE_EQ(nudged.nextCorrection, 0.11);
    // The answer between two hundredths flown already: nothing left to try.
    EXPECT_EQ(nextCorrection({flown(0.11, 51.59, 51.589), flown(0.1, 51.604, 51.615)}, 51.6, g).stop,
              AimStop::FlownAlready);
    EXPECT_EQ(roundedTo(-0.004, 0.01), 0.0);
    EXPECT_FALSE(std::signbit(roundedTo(-0.004, 0.01)));
}

TEST(LaunchTime, StepsAlongTheEarthsTurnUntilTwoFlightsShareACorrection) {
    // The node came out 0.1 deg east: launch earlier by 0.1 deg of the Earth's turn.
    EXPECT_NEAR(nextLaunchTime({{1000, 0, 0.1}}, kSiderealRate), 1000 - 0.1 / kSiderealRate, 1e-9);
    // A new correction moved the node too: the last flight alone, along the turn.
    EXPECT_NEAR(nextLaunchTime({{1000, 0, 0.1}, {976, 0.5, 0.03}}, kSiderealRate), 976 - 0.03 / kSiderealRate,
                1e-9);
    // Same correction: their secant (here the node moves 0.005 deg/s).
    EXPECT_NEAR(nextLaunchTime({{1000, 0.5, 0.1}, {980, 0.5, 0.0}}, kSiderealRate), 980, 1e-9);
}

// The pad at 28.5 deg, 20 deg east of the frame's x axis at time 0; a plane
// at 51.6 deg with its ascending node at 100 deg. By hand, the plane
// crosses 28.5 deg heading north at sin(d) = tan(28.5) / tan(51.6) =
// 0.54296 / 1.26169, d = 25.494 deg east of the node, and heading south at
// 180 - d.
TEST(LaunchWindow, ThePadPassesUnderThePlaneAtBothNodes) {
    const TurningPad pad{28.5, 20, kSiderealRate};
    const OrbitPlane plane{51.6, 100};
    const double d = std::asin(0.54296 / 1.26169) / kRad;
    ASSERT_NEAR(*crossingAngle(plane, 28.5, false), d, 1e-3);
    ASSERT_NEAR(*crossingAngle(plane, 28.5, true), 180 - d, 1e-3);

    const auto north = nextPass(pad, plane, 0, false);
    ASSERT_TRUE(north);
    EXPECT_FALSE(north->descending);
    EXPECT_NEAR(north->time, (100 + d - 20) / kSiderealRate, 0.5);
    const auto south = nextPass(pad, plane, 0, true);
    ASSERT_TRUE(south);
    EXPECT_TRUE(south->descending);
    EXPECT_NEAR(south->time, (100 + 180 - d - 20) / kSiderealRate, 0.5);
    EXPECT_EQ(nextPass(pad, plane, 0)->time, north->time) << "either node: the first to come";

    // After the northward pass the next one heads south, then a day on north again.
    EXPECT_EQ(nextPass(pad, plane, north->time + 1)->time, south->time);
    EXPECT_NEAR(nextPass(pad, plane, south->time + 1)->time, north->time + 86164.10132, 0.5);
}

TEST(LaunchWindow, RetrogradePlanesAndPlanesThatMissThePad) {
    // 98 deg from 34.6 deg: heading north the plane crosses west of its node,
    // sin(d) = tan(34.6) / tan(98) = 0.68985 / -7.11537.
    const OrbitPlane polar{98, 300};
    const double d = std::asin(0.68985 / -7.11537) / kRad;
    EXPECT_NEAR(*crossingAngle(polar, 34.6, false), d, 1e-3);
    const auto pass = nextPass({34.6, 0, kSiderealRate}, polar, 0, false);
    ASSERT_TRUE(pass);
    EXPECT_NEAR(pass->time, (300 + d) / kSiderealRate, 0.5);

    EXPECT_FALSE(crossingAngle({20, 0}, 28.5, false)) << "a plane below the pad's latitude";
    EXPECT_FALSE(nextPass({28.5, 0, kSiderealRate}, {20, 0}, 0));
    EXPECT_FALSE(nextPass({28.5, 0, 0}, polar, 0)) << "a pad that does not turn";
}

TEST(LaunchWindow, TheAngleBetweenPlanesAndTheTimeOfDay) {
    EXPECT_NEAR(relativeInclination({51.6, 24.2}, {51.6, 24.2}), 0, 1e-12);
    EXPECT_NEAR(relativeInclination({51.6, 24.2}, {51.65, 24.2}), 0.05, 1e-9);
    // Same inclination, nodes 0.1 deg apart: cos(a) = cos^2(i) + sin^2(i) cos(0.1 deg).
    const double i = 51.6 * kRad;
    const double byHand =
        std::acos(std::cos(i) * std::cos(i) + std::sin(i) * std::sin(i) * std::cos(0.1 * kRad)) / kRad;
    EXPECT_NEAR(relativeInclination({51.6, 359.95}, {51.6, 0.05}), byHand, 1e-6) << "across the seam";
    EXPECT_NEAR(relativeInclination({10, 0}, {10, 180}), 20, 1e-9);

    EXPECT_EQ(utcText(51544.5), "2000-01-01 12:00:00.0 UTC");
    EXPECT_EQ(utcText(55000.6), "2009-06-18 14:24:00.0 UTC");
    EXPECT_EQ(utcText(55000.6 + 1168.12 / 86400), "2009-06-18 14:43:28.1 UTC");
    EXPECT_EQ(utcText(40587 - 0.5 / 86400), "1969-12-31 23:59:59.5 UTC");
    EXPECT_NEAR(wrappedDegrees(359.9), -0.1, 1e-12);
    EXPECT_NEAR(wrappedDegrees(-180), 180, 1e-12);
}
