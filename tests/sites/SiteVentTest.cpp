// Pre-launch venting chosen by the launcher's vessel name, only at real time,
// and sitewest's heavy-launcher pad.
#include <gtest/gtest.h>

#include "SiteTestSupport.h"

using namespace sitetest;

namespace {

using Levels = std::vector<double>;
const Levels none{0, 0, 0, 0, 0};

struct Vents {
    Pad pad;
    const char* launcher;
    Levels levels;
};

std::ostream& operator<<(std::ostream& os, const Vents& c) {
    return os << c.launcher << " on " << layout(c.pad).name;
}

class VentsByName : public ::testing::TestWithParam<Vents> {};

TEST_P(VentsByName, LightTheVentsOfTheLaunchersType) {
    PadWorld world(GetParam().pad, {GetParam().launcher});
    world.steps(3);
    EXPECT_EQ(world.vents(), GetParam().levels);
}

INSTANTIATE_TEST_SUITE_P(
    Names, VentsByName,
    ::testing::Values(Vents{Pad::West, "TarvikHP-3", {1, 1, 1, 1, 0}}, Vents{Pad::East, "Tarvik", {1, 1, 1, 1, 0}},
                      Vents{Pad::East, "TarvikM52", {1, 1, 0, 0, 0}}, Vents{Pad::West, "TarvikM54-2", {1, 1, 0, 0, 0}},
                      Vents{Pad::West, "TarvikM4", {1, 0, 0, 0, 1}}, Vents{Pad::East, "TarvikM42-3", {1, 0, 0, 0, 1}},
                      // names are compared whole and with their letter case
                      Vents{Pad::West, "tarvikM52", none}, Vents{Pad::West, "TarvikM52-4", none},
                      Vents{Pad::East, "Satellite", none}));

TEST(Vents, OpenOnlyAtRealTime) {
    PadWorld world(Pad::West, {"TarvikM52"});
    world.steps(3);
    ASSERT_EQ(world.vents(), (Levels{1, 1, 0, 0, 0}));

    world.sim().setTimeAcceleration(0.5);
    world.steps(2);
    EXPECT_EQ(world.vents(), (Levels{1, 1, 0, 0, 0})) << "slowed down: lit vents stay lit";

    world.sim().setTimeAcceleration(10);
    world.steps(1);
    EXPECT_EQ(world.vents(), none) << "accelerated: vents go out";

    world.sim().setTimeAcceleration(0.5);
    world.steps(2);
    EXPECT_EQ(world.vents(), none) << "none is lit again away from real time";

    world.sim().setTimeAcceleration(1);
    world.steps(1);
    EXPECT_EQ(world.vents(), (Levels{1, 1, 0, 0, 0}));
}

TEST(Vents, StayShutWhenTheScenarioStartsAccelerated) {
    PadWorld world(Pad::East, {"TarvikM52"});
    world.sim().setTimeAcceleration(10);
    world.steps(10);
    EXPECT_EQ(world.vents(), none);
}

int padMeshSwaps(host::Simulation& sim) {
    int swaps = 0;
    for (const host::Event& e : sim.events())
        if (e.vessel == "LC6" && e.what.rfind("mesh 0 replaced", 0) == 0)
            ++swaps;
    return swaps;
}

// The pad mesh follows the launcher the pad tracks: once in, once back.
TEST(HeavyPad, ShownWhileAHeavyLauncherStandsOnSitewest) {
    PadWorld world(Pad::West, {"TarvikHP-2"});
    world.steps(10);
    EXPECT_EQ(world.site().meshes.at(0).name, "tarvik/sitewestb");
    EXPECT_EQ(world.site().meshes.at(1).name, "tarvik/mtn");
    EXPECT_EQ(padMeshSwaps(world.sim()), 1);

    // The heavy launcher is replaced by a Medium one, which signals the pad.
    world.sim().deleteVessel(&world.vessel("TarvikHP-2"));
    world.steps(1);
    world.standOnPad("TarvikM52");
    world.focusRequest();
    world.steps(10);
    EXPECT_EQ(world.site().meshes.at(0).name, "tarvik/sitewest");
    EXPECT_EQ(padMeshSwaps(world.sim()), 2);
}

}  // namespace
