// Thrust, propellant flow and pressure: the rocket equation in vacuum, the
// reference-pressure Isp at sea level, and thrusters without propellant.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "TestVessels.h"
#include "physics/Atmosphere.h"
#include "physics/Propulsion.h"
#include "sim/ThrusterLevels.h"

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
    host::setThrusterLevel(t.v(), *engine, 1);
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
    host::setThrusterLevel(t.v(), *engine, 1);
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
    host::setThrusterLevel(t.v(), *engine, 1);
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
    host::setThrusterLevel(t.v(), *unfed, 1);
    host::setThrusterLevel(t.v(), *dry, 1);
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
    host::setThrusterLevel(t.v(), *th, 0.7);
    host::addSingleStepLevel(t.v(), *th, 0.6);
    double mjd = 55000;
    fly(t, kFrame, kFrame, mjd);
    EXPECT_EQ(th->effectiveLevel, 1.0);
    EXPECT_EQ(th->singleStepLevel, 0.0);
    fly(t, kFrame, kFrame, mjd);
    EXPECT_EQ(th->effectiveLevel, 0.7);
}

// The physics looks only at the thrusters set to fire. However a level is
// set (one thruster, a group, the state record, a navigation mode) the
// thruster fires, and the loads are summed in the thrusters' own order
// whatever the order the levels were set in, a thruster gone or not.
TEST(Propulsion, EveryWayOfSettingALevelFiresAndTheLoadsKeepTheThrustersOrder) {
    TestVessel t;
    host::Propellant* tank = t.addTank(1e5);
    std::vector<THRUSTER_HANDLE> handles;
    for (int i = 0; i < 24; ++i) {
        const double a = 0.7 * i;
        t.addThruster(_V(std::cos(a), std::sin(a), 0.3 * i - 3), _V(0.1 * i, 1 - 0.05 * i, std::sin(a)), 1000 + 37 * i,
                      tank, 3000);
        handles.push_back(reinterpret_cast<THRUSTER_HANDLE>(t.v().thrusters.back().get()));
    }
    // One gone from the middle: those after it move up one place.
    VESSEL& vessel = t.vessel();
    vessel.DelThruster(handles[12]);
    handles.erase(handles.begin() + 12);
    auto thruster = [&](int i) { return t.v().thrusters[static_cast<size_t>(i)].get(); };
    t.addGroup(THGROUP_ATT_PITCHUP, {thruster(3), thruster(16)});

    for (int i : {20, 5, 12, 0, 9})
        vessel.SetThrusterLevel(handles[static_cast<size_t>(i)], 0.1 * (i % 7) + 0.2);
    vessel.SetThrusterGroupLevel(THGROUP_ATT_PITCHUP, 0.5);
    VESSELSTATUS2 status{};
    VESSELSTATUS2::THRUSTSPEC listed{11, 0.8};
    status.version = 2;
    status.flag = VS_THRUSTLIST;
    status.nthruster = 1;
    status.thruster = &listed;
    putInDeepSpace(t);
    host::physics::applyStatus(t.v(), status, 55000);
    host::addSingleStepLevel(t.v(), *thruster(7), 0.3);

    const std::vector<int> firing{0, 3, 5, 7, 9, 11, 12, 16, 20};  // places after the one that went
    auto expected = [&] {
        host::physics::PropulsionLoads sum;
        for (const auto& th : t.v().thrusters) {
            const double level = std::min(th->level + th->singleStepLevel, 1.0);
            if (level <= 0)
                continue;
            const VECTOR3 f = host::physics::thrustVector(*th, 0) * level;
            sum.force += f;
            sum.torque += crossp(f, th->pos);
        }
        return sum;
    }();
    for (const host::Thruster* th : t.v().thrustersInUse)
        EXPECT_EQ(t.v().thrusters[th->index].get(), th) << "named by its place in the event log";
    const host::physics::PropulsionLoads loads = host::physics::runThrusters(t.v(), 0, kFrame);
    for (size_t i = 0; i < t.v().thrusters.size(); ++i) {
        const bool fires = std::find(firing.begin(), firing.end(), static_cast<int>(i)) != firing.end();
        EXPECT_EQ(t.v().thrusters[i]->effectiveLevel > 0, fires) << "thruster " << i;
    }
    auto sameBits = [](const VECTOR3& a, const VECTOR3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
    EXPECT_TRUE(sameBits(loads.force, expected.force));
    EXPECT_TRUE(sameBits(loads.torque, expected.torque));

    // Turned off, each acts at 0 from the next step on.
    host::physics::clearSingleStepLevels(t.v());
    for (const auto& th : t.v().thrusters)
        vessel.SetThrusterLevel(reinterpret_cast<THRUSTER_HANDLE>(th.get()), 0);
    EXPECT_FALSE(host::physics::runThrusters(t.v(), 0, kFrame).active);
    EXPECT_TRUE(t.v().thrustersInUse.empty());
    for (const auto& th : t.v().thrusters)
        EXPECT_EQ(th->effectiveLevel, 0.0);
}
