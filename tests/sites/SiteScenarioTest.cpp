// The shipped scenarios: each pad finds the Medium launcher standing on it,
// vents for it, and is lit or dark by the scenario's time of day.
#include <gtest/gtest.h>

#include <filesystem>

#include "SiteTestSupport.h"

using namespace sitetest;

namespace {

struct Shipped {
    const char* file;
    Pad pad;
    const char* launcher;
    std::vector<double> vents;
    bool night;
};

std::ostream& operator<<(std::ostream& os, const Shipped& s) {
    return os << s.file;
}

class ShippedScenario : public ::testing::TestWithParam<Shipped> {};

TEST_P(ShippedScenario, PadFindsItsLauncherAndKeepsTheTimeOfDay) {
    const Shipped& s = GetParam();
    const std::string module = std::string(TARVIK_MODULE_DIR) + "/" + s.launcher + ".so";
    if (!std::filesystem::exists(module))
        GTEST_SKIP() << "launcher module not built: " << module;

    host::Simulation sim(TARVIK_DATA_DIR);
    sim.loadScenario(std::string(TARVIK_DATA_DIR) + "/Scenarios/" + s.file);
    for (int i = 0; i < 5; ++i)
        sim.step();

    const PadLayout& pad = layout(s.pad);
    host::VesselData* site = sim.vessel(pad.name);
    ASSERT_NE(site, nullptr);
    ASSERT_NE(sim.vessel(s.launcher), nullptr);
    std::vector<double> vents;
    for (int i : pad.vents)
        vents.push_back(site->thrusters.at(i)->level);
    EXPECT_EQ(vents, s.vents);
    EXPECT_EQ(site->thrusters.at(pad.floodlight)->level, s.night ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, ShippedScenario,
    ::testing::Values(Shipped{"TarvikM42-LC6-night.scn", Pad::West, "TarvikM42", {1, 0, 0, 0, 1}, true},
                      Shipped{"TarvikM42-LC6-day.scn", Pad::West, "TarvikM42", {1, 0, 0, 0, 1}, false},
                      Shipped{"TarvikM52-LC37B-night.scn", Pad::East, "TarvikM52", {1, 1, 0, 0, 0}, true},
                      Shipped{"TarvikM52-LC37B-day.scn", Pad::East, "TarvikM52", {1, 1, 0, 0, 0}, false}));

}  // namespace
