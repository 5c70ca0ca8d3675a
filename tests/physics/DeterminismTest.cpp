// The same flight twice gives the same result, bit for bit.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "TestVessels.h"
#include "sim/Simulation.h"
#include "sim/ThrusterLevels.h"

using namespace physics_test;

namespace {

// Lift-off, a roll and a pitch-over under navigation modes, a burn to empty
// and a coast at high time acceleration.
host::FlightState flyMission() {
    TestVessel t;
    makeUpperStage(t);
    t.v().caps.touchdown = {_V(0, -1, -7), _V(0, 1, -7), _V(1, 0, -7)};
    host::physics::placeLanded(t.v(), -80.568 * RAD, 28.53429 * RAD, 30 * RAD, 55000);
    host::Thruster* main = t.v().group(THGROUP_MAIN)->thrusters[0];
    main->maxThrust = 1.5e6;
    host::setThrusterLevel(t.v(), *main, 1);
    double mjd = 55000;
    fly(t, 10, kFrame, mjd);
    for (host::Thruster* th : t.v().group(THGROUP_ATT_BANKRIGHT)->thrusters)
        host::setThrusterLevel(t.v(), *th, 0.2);
    fly(t, 5, kFrame, mjd);
    for (host::Thruster* th : t.v().group(THGROUP_ATT_BANKRIGHT)->thrusters)
        host::setThrusterLevel(t.v(), *th, 0);
    t.vessel().ActivateNavmode(NAVMODE_KILLROT);
    fly(t, 20, kFrame, mjd);
    t.vessel().ActivateNavmode(NAVMODE_PROGRADE);
    fly(t, 100, kFrame, mjd);
    fly(t, 600, kFrame * 100, mjd);
    return t.v().state;
}

}  // namespace

TEST(Determinism, TwoRunsOfTheSameFlightAreIdentical) {
    const host::FlightState a = flyMission();
    const host::FlightState b = flyMission();
    EXPECT_EQ(std::memcmp(&a.pos, &b.pos, sizeof a.pos), 0);
    EXPECT_EQ(std::memcmp(&a.vel, &b.vel, sizeof a.vel), 0);
    EXPECT_EQ(std::memcmp(&a.R, &b.R, sizeof a.R), 0);
    EXPECT_EQ(std::memcmp(&a.omega, &b.omega, sizeof a.omega), 0);
    EXPECT_EQ(a.landed, b.landed);
    EXPECT_FALSE(a.landed);  // it did fly
}

namespace {

// A scenario flown through the whole simulator, with time acceleration
// changes; returns the scenario it would save.
std::string flyScenario() {
    std::string root = (std::filesystem::temp_directory_path() / "tarvik-physics-XXXXXX").string();
    if (!mkdtemp(root.data()))
        return "no temporary folder";
    std::string saved;
    {
        host::Simulation sim(TARVIK_TEST_DIR "/data", 60, root);
        sim.loadScenario(TARVIK_TEST_DIR "/data/three-ballasts.scn");
        sim.run(30);
        sim.setTimeAcceleration(100);
        sim.run(600);
        sim.setTimeAcceleration(1000);
        sim.run(3000);
        saved = sim.scenarioText();
    }
    std::filesystem::remove_all(root);
    return saved;
}

}  // namespace

TEST(Determinism, TwoRunsOfTheSameScenarioSaveTheSameScenario) {
    const std::string first = flyScenario();
    EXPECT_EQ(first, flyScenario());
    // The thrown mass came down and stands; the orbiting one still flies.
    EXPECT_NE(first.find("Thrown:physics/ballast\n  STATUS Landed Earth"), std::string::npos) << first;
    EXPECT_NE(first.find("Orbiter:physics/ballast\n  STATUS Orbiting Earth"), std::string::npos) << first;
}
