// The pad finds the launcher standing near it, one vessel per step, inside an
// axis-aligned box in the global frame, and never takes a pad for a launcher.
#include <gtest/gtest.h>

#include "SiteTestSupport.h"

using namespace sitetest;

namespace {

struct Nearby {
    Pad pad;
    const char* name;
    VECTOR3 offset;
    bool taken;
};

std::ostream& operator<<(std::ostream& os, const Nearby& c) {
    return os << layout(c.pad).name << " with " << c.name << " at (" << c.offset.x << ", " << c.offset.y << ", "
              << c.offset.z << ")";
}

class LauncherSearch : public ::testing::TestWithParam<Nearby> {};

// Whether the pad took the vessel for its launcher shows when a launcher asks
// for the structures: focus goes back to the vessel the pad follows, or else
// to the one that had it, an observer far away.
TEST_P(LauncherSearch, TakesOnlyLaunchersInsideTheBox) {
    const Nearby& c = GetParam();
    PadWorld world(c.pad);
    host::VesselData& vessel = world.addLauncher(c.name, c.offset);
    world.sim().setFocus(&world.addLauncher("Observer", _V(5000, 0, 0)));
    for (int i = 0; i < 4; ++i) {
        world.holdAt(vessel, c.offset);
        world.steps(1);
    }
    world.holdAt(vessel, c.offset);
    world.focusRequest();
    world.steps(1);
    EXPECT_EQ(world.focusName(), c.taken ? c.name : "Observer");
}

INSTANTIATE_TEST_SUITE_P(Box, LauncherSearch,
                         ::testing::Values(Nearby{Pad::West, "TarvikM52", {99, 99, 99}, true},
                                           Nearby{Pad::West, "TarvikM52", {-99, 99, -99}, true},
                                           Nearby{Pad::West, "TarvikM52", {101, 99, 99}, false},
                                           Nearby{Pad::West, "TarvikM52", {99, -101, 99}, false},
                                           Nearby{Pad::West, "TarvikM52", {99, 99, 101}, false},
                                           Nearby{Pad::East, "TarvikM52", {49, -49, 49}, true},
                                           Nearby{Pad::East, "TarvikM52", {0, 0, 51}, false},
                                           Nearby{Pad::East, "TarvikM52", {99, 0, 0}, false}));

INSTANTIATE_TEST_SUITE_P(PadNames, LauncherSearch,
                         ::testing::Values(Nearby{Pad::West, "LC37", {10, 10, 10}, false},
                                           Nearby{Pad::West, "LC37B", {10, 10, 10}, true},
                                           Nearby{Pad::East, "LC37", {10, 10, 10}, false},
                                           Nearby{Pad::East, "LC6", {10, 10, 10}, false}));

// The scan goes round the vessel list again: a launcher that arrives after it
// has passed the end is found without a request.
TEST(LauncherSearch, FindsALateLauncherByItself) {
    PadWorld world(Pad::West);
    world.steps(5);
    host::VesselData& late = world.standOnPad("TarvikM52");
    world.addMainEngine(late, 0.5);  // idling on the pad: ignition without lift-off
    late.iface->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    world.steps(20);
    EXPECT_EQ(world.level(world.pad().cloud), 1) << "no launch clouds: the pad never found the launcher";
}

// The configuration dialog re-creates the launcher under another name: the pad
// no longer finds the old name, searches again and follows the new launcher.
TEST(LauncherSearch, FollowsALauncherReCreatedUnderAnotherName) {
    PadWorld world(Pad::East);
    world.standOnPad("TarvikM52");
    world.steps(5);
    world.sim().deleteVessel(&world.vessel("TarvikM52"));
    world.steps(1);
    host::VesselData& second = world.standOnPad("TarvikM52-2");
    world.addMainEngine(second, 0.5);
    second.iface->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    world.steps(10);
    EXPECT_EQ(world.level(world.pad().cloud), 1) << "the pad kept following the deleted launcher";
}

}  // namespace
