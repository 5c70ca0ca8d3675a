// The launchers' one-bit signal: focus handed to the pad toggles the service
// structures, which then move at the pad's ramp rate, and focus comes straight
// back to the launcher.
#include <gtest/gtest.h>

#include "SiteTestSupport.h"

using namespace sitetest;

namespace {

// Animations in the pad's table order.
constexpr int westSlide = 2, westLift = 3;
constexpr int eastSlide = 1, eastRidingBeacon = 8;

TEST(FocusRequest, IsAnsweredWithinOneStep) {
    PadWorld world(Pad::West, {"TarvikM52"});
    world.steps(3);
    world.sim().setTimeAcceleration(10);
    world.focusRequest();
    world.steps(1);
    EXPECT_EQ(world.focusName(), "TarvikM52");
    EXPECT_EQ(world.sim().timeAcceleration(), 1);
    EXPECT_GT(world.animation(westSlide), 0) << "the structures should be withdrawing";
}

TEST(FocusRequest, SitewestStructuresTakeAbout83SecondsEachWay) {
    PadWorld world(Pad::West, {"TarvikM52"});
    world.sim().run(10);
    EXPECT_NEAR(world.animation(westLift), 0.12, 0.001) << "lift platforms rise at 0.012 per second";
    EXPECT_EQ(world.animation(westSlide), 0);

    world.focusRequest();
    world.sim().run(40);
    EXPECT_NEAR(world.animation(westSlide), 0.48, 0.001);
    EXPECT_NEAR(world.animation(westLift), 0, 0.001) << "lift platforms come down as the structures withdraw";
    world.sim().run(43);
    EXPECT_LT(world.animation(westSlide), 1);
    world.sim().run(1);
    EXPECT_EQ(world.animation(westSlide), 1);

    world.focusRequest();  // a second request brings them back
    world.sim().run(40);
    EXPECT_NEAR(world.animation(westSlide), 0.52, 0.001);
}

TEST(FocusRequest, SiteeastTowerRollsBack102MetresIn27SecondsCarryingItsBeacon) {
    PadWorld world(Pad::East, {"TarvikM52"});
    world.steps(3);
    EXPECT_EQ(world.level(world.pad().towerLight), 1) << "tower lights burn by day while the tower is home";
    const double homeY = world.site().beacons.at(eastRidingBeacon)->pos->y;

    world.focusRequest();
    world.sim().run(10);
    const double ramp = world.animation(eastSlide);
    EXPECT_NEAR(ramp, 0.3, 0.001);
    EXPECT_DOUBLE_EQ(world.site().beacons.at(eastRidingBeacon)->pos->y, homeY - 127.5 * ramp);
    EXPECT_EQ(world.level(world.pad().towerLight), 0);

    world.sim().run(16.9);  // 102 m at 0.03 per second over the states 0 to 0.8
    EXPECT_NEAR(world.site().beacons.at(eastRidingBeacon)->pos->y, homeY - 102, 0.1);

    world.focusRequest();
    world.sim().run(40);
    EXPECT_EQ(world.animation(eastSlide), 0);
    EXPECT_EQ(world.site().beacons.at(eastRidingBeacon)->pos->y, homeY);
    EXPECT_EQ(world.level(world.pad().towerLight), 1);
}

// With no launcher to hand focus back to, and no vessel that had it, focus
// stays on the pad. The request is answered once, not again on every step it
// stays there.
TEST(FocusRequest, IsAnsweredOncePerArrivalOfTheFocus) {
    PadWorld world(Pad::West);
    world.steps(2);
    world.focusRequest();
    world.steps(31);
    EXPECT_EQ(world.focusName(), "LC6");
    EXPECT_NEAR(world.animation(westSlide), 31 * 0.012 / 60, 1e-9) << "structures should withdraw steadily";

    host::VesselData& other = world.addLauncher("Observer", _V(5000, 0, 0));
    world.sim().setFocus(&other);
    world.steps(1);
    world.focusRequest();  // focus arrives again: the structures turn back
    world.steps(10);
    EXPECT_NEAR(world.animation(westSlide), 22 * 0.012 / 60, 1e-9);
}

// With no launcher to follow, the focus goes back to the vessel that had it,
// and the next request is answered like the first.
TEST(FocusRequest, WithNoLauncherFoundGoesBackToTheVesselThatHadTheFocus) {
    PadWorld world(Pad::West);
    world.addLauncher("Observer", _V(5000, 0, 0));  // far from the pad: never taken for its launcher
    world.steps(2);
    ASSERT_EQ(world.focusName(), "Observer");

    world.focusRequest();
    world.steps(1);
    EXPECT_EQ(world.focusName(), "Observer");
    world.steps(59);
    const double withdrawn = world.animation(westSlide);
    EXPECT_GT(withdrawn, 0) << "the structures should be withdrawing";

    world.focusRequest();
    world.steps(1);
    EXPECT_EQ(world.focusName(), "Observer");
    world.steps(59);
    EXPECT_LT(world.animation(westSlide), withdrawn) << "the second request should bring the structures back";
}

// A launcher re-created under another name leaves the pad with a handle to a
// deleted vessel: the pad must not hand focus to it, and finds the new one.
TEST(FocusRequest, NeverHandsFocusToADeletedLauncher) {
    PadWorld world(Pad::East, {"TarvikM52"});
    world.steps(3);
    world.sim().deleteVessel(&world.vessel("TarvikM52"));
    world.steps(1);
    world.standOnPad("TarvikM54");
    ASSERT_EQ(world.focusName(), "TarvikM54");
    world.focusRequest();
    world.steps(1);
    EXPECT_EQ(world.focusName(), "TarvikM54") << "focus goes back to the vessel that had it";

    world.steps(3);  // the new scan finds the new launcher
    world.sim().setFocus(&world.vessel("TarvikM54"));
    world.steps(1);
    world.focusRequest();
    world.steps(1);
    EXPECT_EQ(world.focusName(), "TarvikM54");
}

}  // namespace
