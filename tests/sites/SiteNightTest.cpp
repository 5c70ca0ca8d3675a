// What a pad shows when it is built, its night lighting by the time of day,
// and sitewest's burn-off flare.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "SiteTestSupport.h"

using namespace sitetest;

namespace {

int activeBeacons(host::VesselData& site) {
    int n = 0;
    for (const BEACONLIGHTSPEC* b : site.beacons)
        n += b->active;
    return n;
}

std::vector<std::string> meshNames(host::VesselData& site) {
    std::vector<std::string> names;
    for (const host::MeshEntry& m : site.meshes)
        if (m.present)
            names.push_back(m.name);
    return names;
}

bool anyThrusterLit(host::VesselData& site) {
    for (const auto& t : site.thrusters)
        if (t->level != 0)
            return true;
    return false;
}

// Before its first step a pad shows only its steady beacons, whatever the time.
TEST(NewPad, ShowsOnlyItsAlwaysOnBeaconsUntilTheFirstStep) {
    PadWorld west(Pad::West, {}, layout(Pad::West).nightMjd);
    host::VesselData& w = west.site();
    EXPECT_FALSE(w.caps.focusEnabled);
    EXPECT_EQ(w.beacons.size(), 21u);
    EXPECT_EQ(activeBeacons(w), 4);
    EXPECT_EQ(w.exhausts.size(), 16u);
    EXPECT_EQ(w.streams.size(), 14u);
    EXPECT_EQ(w.animations.size(), 7u);
    EXPECT_EQ(meshNames(w), (std::vector<std::string>{"tarvik/sitewest", "tarvik/mtn"}));
    EXPECT_FALSE(anyThrusterLit(w));
    EXPECT_EQ(w.lights.size(), 0u);

    PadWorld east(Pad::East, {}, layout(Pad::East).nightMjd);
    host::VesselData& e = east.site();
    EXPECT_EQ(activeBeacons(e), 9);
    EXPECT_EQ(e.exhausts.size(), 30u);
    EXPECT_EQ(e.streams.size(), 8u);
    EXPECT_EQ(e.animations.size(), 5u);
    EXPECT_EQ(meshNames(e), (std::vector<std::string>{"Tarvik/siteeast", "Tarvik/b1"}));
    EXPECT_FALSE(anyThrusterLit(e));
}

TEST(NightLighting, SitewestLightsUpAtNightAndGoesDarkByDay) {
    PadWorld world(Pad::West, {}, layout(Pad::West).nightMjd);
    world.steps(1);
    host::VesselData& site = world.site();
    EXPECT_EQ(world.level(world.pad().floodlight), 1);
    EXPECT_EQ(activeBeacons(site), 21);
    EXPECT_EQ(site.lights.size(), 5u);
    EXPECT_EQ(meshNames(site).back(), "tarvik/sl6-2");

    world.sim().setMjd(layout(Pad::West).dayMjd);
    world.steps(1);
    EXPECT_EQ(world.level(world.pad().floodlight), 0);
    EXPECT_EQ(activeBeacons(site), 4);
    EXPECT_EQ(site.lights.size(), 0u);
    EXPECT_EQ(meshNames(site).size(), 2u);

    world.sim().setMjd(layout(Pad::West).nightMjd);  // and up again the next night
    world.steps(1);
    EXPECT_EQ(site.meshes.at(2).name, "tarvik/sl6-2");
    EXPECT_EQ(site.lights.size(), 5u);
}

TEST(NightLighting, SiteeastFloodlightsTowerLightsAndNightMeshes) {
    PadWorld world(Pad::East, {}, layout(Pad::East).nightMjd);
    world.steps(1);
    host::VesselData& site = world.site();
    EXPECT_EQ(world.level(world.pad().floodlight), 1);
    EXPECT_EQ(world.level(world.pad().towerLight), 1);
    EXPECT_EQ(site.lights.size(), 3u);
    EXPECT_EQ(meshNames(site), (std::vector<std::string>{"Tarvik/siteeast", "Tarvik/b1", "Tarvik/pad2", "Tarvik/lc"}));

    world.sim().setMjd(layout(Pad::East).dayMjd);
    world.steps(1);
    EXPECT_EQ(world.level(world.pad().floodlight), 0);
    EXPECT_EQ(site.lights.size(), 0u);
    EXPECT_EQ(meshNames(site).size(), 2u);
}

// A scenario saved at night brings the floodlights' levels back; loaded with a
// day date the pad goes dark on its first step all the same, and launch
// clouds saved with it wait for an ignition the pad has seen.
TEST(NightLighting, ANightSaveLoadedByDayIsDarkFromTheFirstStep) {
    for (Pad which : {Pad::West, Pad::East}) {
        const PadLayout& pad = layout(which);
        SCOPED_TRACE(pad.name);
        std::string saved;
        {
            PadWorld night(which, {}, pad.nightMjd);
            night.steps(1);
            ASSERT_EQ(night.level(pad.floodlight), 1);
            saved = night.sim().scenarioText();
        }
        saved = std::regex_replace(saved, std::regex("Date MJD [0-9.]+"), "Date MJD " + std::to_string(pad.dayMjd));
        saved = std::regex_replace(saved, std::regex("THLEVEL"), "THLEVEL " + std::to_string(pad.cloud) + ":0.5");
        const std::string path = ::testing::TempDir() + "/night-save-" + pad.name + ".scn";
        std::ofstream(path) << saved;

        host::Simulation day(TARVIK_DATA_DIR);
        day.loadScenario(path);
        day.step();
        host::VesselData& site = *day.vessel(pad.name);
        EXPECT_EQ(site.thrusters.at(pad.floodlight)->level, 0);
        EXPECT_EQ(site.thrusters.at(pad.cloud)->level, 0);
        EXPECT_EQ(site.lights.size(), 0u);
        EXPECT_EQ(meshNames(site).size(), 2u);
    }
}

// The windows are open: exactly on a bound, nothing switches.
TEST(NightLighting, SitewestChangesNothingAtExactlyTheBound) {
    PadWorld dark(Pad::West, {}, 0.63);
    dark.steps(1);
    EXPECT_EQ(dark.level(dark.pad().floodlight), 0) << "lights came on at 0.63";

    PadWorld lit(Pad::West, {}, 0.5);
    lit.steps(1);
    ASSERT_EQ(lit.level(lit.pad().floodlight), 1);
    lit.sim().setMjd(0.63);
    ASSERT_EQ(lit.sim().mjd(), 0.63);
    lit.steps(1);
    EXPECT_EQ(lit.level(lit.pad().floodlight), 1) << "lights went out at 0.63";
    lit.steps(1);
    EXPECT_EQ(lit.level(lit.pad().floodlight), 0) << "lights still on past 0.63";
}

// One step of 0.001 per frame: from 0.1 past 1.0 in about 900 frames, whatever
// the frame rate; it rests while time is accelerated.
TEST(BurnOffFlare, CyclesEvery900StepsAtRealTime) {
    PadWorld world(Pad::West);
    const int flare = world.pad().flare;
    std::vector<int> wraps;
    double previous = 0;
    for (int step = 1; step <= 2000; ++step) {
        world.steps(1);
        const double level = world.level(flare);
        if (level < previous)
            wraps.push_back(step);
        previous = level;
    }
    ASSERT_EQ(wraps.size(), 2u);
    EXPECT_NEAR(wraps[0], 1001, 1);
    EXPECT_NEAR(wraps[1] - wraps[0], 901, 1);

    world.sim().setTimeAcceleration(10);
    world.steps(5);
    EXPECT_EQ(world.level(flare), 0);
    world.sim().setTimeAcceleration(1);
    world.steps(1);
    EXPECT_NEAR(world.level(flare), previous + 0.001, 1e-9) << "the flare should go on where it stopped";
}

}  // namespace
