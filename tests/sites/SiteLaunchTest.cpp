// A launch watched from the pad: launch clouds from ignition, fading with the
// launcher's speed; the arms swing clear at lift-off; everything is cut once
// the launcher climbs through 100 to 200 m.
#include <gtest/gtest.h>

#include <algorithm>

#include "SiteTestSupport.h"

using namespace sitetest;

namespace {

struct Ascent {
    Pad pad;
    double thrustToWeight;  // 1.2: still slower than 30 m/s at 100 m; 3: much faster
};

std::ostream& operator<<(std::ostream& os, const Ascent& a) {
    return os << layout(a.pad).name << ", thrust " << a.thrustToWeight << " x weight";
}

class LaunchFromThePad : public ::testing::TestWithParam<Ascent> {};

TEST_P(LaunchFromThePad, CloudsFadeWithSpeedArmsSwingAndEffectsAreCutAfterClimbOut) {
    PadWorld world(GetParam().pad, {"TarvikM52"});
    host::VesselData& launcher = world.vessel("TarvikM52");
    world.addMainEngine(launcher, GetParam().thrustToWeight);
    world.steps(3);
    ASSERT_EQ(world.vents(), (std::vector<double>{1, 1, 0, 0, 0}));
    const PadLayout& pad = world.pad();

    launcher.iface->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    int step = 0, liftoffStep = -1, cutStep = -1, swungStep = -1;
    const double dt = world.sim().frameLength();
    while (launcher.iface->GetAltitude() < 250 && step < 60 * 60) {
        // What the pad reads before the step is what it shows during it.
        const double airspeed = launcher.iface->GetAirspeed();
        const double altitude = launcher.iface->GetAltitude();
        if (liftoffStep < 0 && airspeed > 0)
            liftoffStep = step;
        if (cutStep < 0 && altitude > 100 && altitude < 200)
            cutStep = step;
        world.steps(1);

        const double clouds = cutStep < 0 ? std::max(0.0, 1 - airspeed / 30) : 0;
        ASSERT_DOUBLE_EQ(world.level(pad.cloud), clouds) << "at step " << step << ", " << airspeed << " m/s";
        if (pad.secondCloud >= 0) {
            ASSERT_DOUBLE_EQ(world.level(pad.secondCloud), clouds) << "at step " << step;
        }
        ASSERT_EQ(world.vents(), (std::vector<double>{0, 0, 0, 0, 0})) << "vents after ignition, step " << step;
        if (liftoffStep >= 0) {
            ASSERT_NEAR(world.animation(0), std::min(1.0, 1.12 * dt * (step - liftoffStep + 1)), 1e-9)
                << "arm swing " << step - liftoffStep << " steps after lift-off";
        }
        if (swungStep < 0 && world.animation(0) == 1)
            swungStep = step;
        ++step;
    }
    ASSERT_GE(liftoffStep, 0) << "the stand-in launcher never lifted off";
    ASSERT_GE(cutStep, 0) << "never seen between 100 and 200 m";
    ASSERT_GE(swungStep, 0) << "the arms never finished their swing";
    EXPECT_NEAR((swungStep - liftoffStep + 1) * dt, 0.89, 0.02) << "the swing should take about 0.89 s";
}

INSTANTIATE_TEST_SUITE_P(Ascents, LaunchFromThePad,
                         ::testing::Values(Ascent{Pad::West, 1.2}, Ascent{Pad::West, 3}, Ascent{Pad::East, 1.2}));

// The cut needs the launcher strictly between 100 and 200 m.
TEST(ClimbOut, BoundsAreStrict) {
    PadWorld world(Pad::East, {"TarvikM52"});
    host::VesselData& launcher = world.vessel("TarvikM52");
    world.addMainEngine(launcher, 0.5);
    launcher.iface->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    world.steps(3);
    ASSERT_EQ(world.level(world.pad().cloud), 1) << "ignition on the pad lights the clouds";

    for (double altitude : {100.0, 200.0, 99.0, 250.0}) {
        world.placeAtAltitude(launcher, altitude);
        ASSERT_EQ(launcher.iface->GetAltitude(), altitude);
        world.steps(1);
        EXPECT_NEAR(world.level(world.pad().cloud), 1, 1e-6) << "clouds cut at " << altitude << " m";
    }
    world.placeAtAltitude(launcher, 150);
    world.steps(1);
    EXPECT_EQ(world.level(world.pad().cloud), 0) << "clouds kept at 150 m";

    world.placeAtAltitude(launcher, 50);
    world.steps(3);
    EXPECT_EQ(world.level(world.pad().cloud), 0) << "clouds back after the cut";
}

}  // namespace
