// Thrust, propellant flow and pressure: the rocket equation in vacuum, the
// reference-pressure Isp at sea level, and thrusters without propellant.
#include <gtest/gtest.h>

#include <cmath>

#include "TestVessels.h"
#include "physics/Atmosphere.h"
#include "physics/Propulsion.h"

using namespace physics_test;

namespace {

// Far out, where gravity is a rounding error and there is no air.
void putInDeepSpace(TestVessel& t) {
    VESSELSTATUS2 s{};
    s.version = 2;
    s.rpos = _V(1e12, 0, 0);
    host::physics::applyStatus(t.v(), s, 55000);
}

}  // namespace

TEST(Propulsion, VacuumBurnGainsTheRocketEquationVelocity) {
    TestVessel t;
    t.v().caps.emptyMass = 1000;
    host::Propellant* tank = t.addTank(2000, 0.8);
    host::Thruster* engine = t.addThruster(_V(0, 0, -2), _V(0, 0, 1), 50000, tank, 3000);
    putInDeepSpace(t);
    engine->level = 1;
    double mjd = 55000;
    fly(t, 30, kFrame, mjd);  // burns 50000 / (0.8 * 3000) * 30 = 625 kg
    const double expected = 0.8 * 3000 * std::log(3000.0 / 2375.0);
    EXPECT_NEAR(tank->mass, 1375, 1e-6);
    EXPECT_NEAR(length(t.v().state.vel), expected, 1e-3 * expected);
}

TEST(Propulsion, TankRunningDryStopsTheBurnWithoutOverdrawing) {
    TestVessel t;
    host::Propellant* tank = t.addTank(100);
    host::Thruster* engine = t.addThruster(_V(0, 0, 0), _V(0, 0, 1), 10000, tank, 2000);
    putInDeepSpace(t);
    engine->level = 1;
    double mjd = 55000;
    fly(t, 25, 0.7, mjd);  // 5 kg/s: dry after 20 s, in the middle of a step
    EXPECT_EQ(tank->mass, 0.0);
    EXPECT_EQ(engine->effectiveLevel, 0.0);
    const double expected = 2000 * std::log(1100.0 / 1000.0);
    EXPECT_NEAR(length(t.v().state.vel), expected, 1e-3 * expected);
}

TEST(Propulsion, SeaLevelThrustFollowsTheReferencePressureIsp) {
    TestVessel t;
    host::Thruster* engine = t.addThruster(_V(0, 0, 0), _V(0, 0, 1), 3312760, t.addTank(1e6), 4200, 3650, 101400);
    engine->level = 1;
    const double seaLevel = host::physics::atmosphereAt(0).pressure;
    host::physics::PropulsionLoads loads = host::physics::runThrusters(t.v(), seaLevel, kFrame);
    EXPECT_NEAR(loads.force.z, 3312760 * (1 - seaLevel * (4200 - 3650) / (101400 * 4200.0)), 1e-6);
    // At the reference pressure the thrust is the flow times the reference Isp.
    loads = host::physics::runThrusters(t.v(), 101400, kFrame);
    EXPECT_NEAR(loads.force.z, 3312760 / 4200.0 * 3650, 1e-6);
    // Propellant flow does not depend on the pressure.
    const double before = t.v().propellants[0]->mass;
    host::physics::runThrusters(t.v(), 0, 1.0);
    EXPECT_NEAR(before - t.v().propellants[0]->mass, 3312760 / 4200.0, 1e-6);
}

TEST(Propulsion, ThrusterWithoutPropellantGivesNothingAndReadsZero) {
    TestVessel t;
    host::Thruster* unfed = t.addThruster(_V(0, 0, 0), _V(0, 0, 1), 1000, nullptr, 3000);
    host::Propellant* empty = t.addTank(0);
    host::Thruster* dry = t.addThruster(_V(1, 0, 0), _V(0, 1, 0), 1000, empty, 3000);
    unfed->level = dry->level = 1;
    putInDeepSpace(t);
    double mjd = 55000;
    fly(t, 1, kFrame, mjd);
    EXPECT_EQ(unfed->effectiveLevel, 0.0);
    EXPECT_EQ(dry->effectiveLevel, 0.0);
    EXPECT_LT(length(t.v().state.vel), 1e-6);
    EXPECT_EQ(length(t.v().state.omega), 0.0);
    EXPECT_EQ(t.vessel().GetThrusterLevel(reinterpret_cast<THRUSTER_HANDLE>(dry)), 0.0);
}

TEST(Propulsion, LevelsAreClampedAndSingleStepLevelsLastOneStep) {
    TestVessel t;
    host::Thruster* th = t.addThruster(_V(0, 0, 0), _V(0, 0, 1), 1000, t.addTank(100), 3000);
    putInDeepSpace(t);
    th->level = 0.7;
    th->singleStepLevel = 0.6;
    double mjd = 55000;
    fly(t, kFrame, kFrame, mjd);
    EXPECT_EQ(th->effectiveLevel, 1.0);
    EXPECT_EQ(th->singleStepLevel, 0.0);
    fly(t, kFrame, kFrame, mjd);
    EXPECT_EQ(th->effectiveLevel, 0.7);
}
