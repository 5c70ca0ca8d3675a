// The navigation autopilots steer with the vessel's own attitude thrusters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "TestVessels.h"
#include "physics/Frames.h"
#include "physics/Orbit.h"

using namespace physics_test;

namespace {

// Angle between the nose and a global direction.
double noseError(TestVessel& t, const VECTOR3& target) {
    VECTOR3 nose;
    t.vessel().GlobalRot(_V(0, 0, 1), nose);
    return std::acos(std::clamp(dotp(nose, unit(target)), -1.0, 1.0));
}

VECTOR3 velocityOf(TestVessel& t) {
    return t.v().state.vel;
}
VECTOR3 normalOf(TestVessel& t) {
    return host::physics::orbitNormal(t.v().state.pos, t.v().state.vel);
}

// Starts pointing the nose straight up, turns toward the target, and holds.
void expectAlignsAndHolds(int mode, VECTOR3 (*target)(TestVessel&)) {
    TestVessel t;
    makeUpperStage(t);
    putInCircularOrbit(t, 400e3);
    // Nose radially out (x east, y south, z up), turning slowly.
    t.v().state.R =
        host::physics::product(host::physics::horizonBasis(t.v().state.pos), _M(1, 0, 0, 0, 0, 1, 0, -1, 0));
    t.vessel().SetAngularVel(_V(0.01, -0.02, 0.005));
    ASSERT_TRUE(t.vessel().ActivateNavmode(mode));
    const double start = noseError(t, target(t));
    EXPECT_GT(start, 80 * RAD);
    const double propellant = t.v().propellants[0]->mass;
    double mjd = 55000;
    fly(t, 120, kFrame, mjd);
    EXPECT_LT(noseError(t, target(t)), 1 * RAD);
    double worst = 0;
    for (int i = 0; i < 30; ++i) {
        fly(t, 10, kFrame, mjd);
        worst = std::max(worst, noseError(t, target(t)));
    }
    EXPECT_LT(worst, 1 * RAD);
    EXPECT_TRUE(t.vessel().GetNavmodeState(mode));
    EXPECT_LT(t.v().propellants[0]->mass, propellant);  // it used its thrusters
}

}  // namespace

TEST(Navmode, ProgradeAlignsTheNoseWithTheVelocityAndHoldsIt) {
    expectAlignsAndHolds(NAVMODE_PROGRADE, velocityOf);
}

TEST(Navmode, NormalAlignsTheNoseWithTheOrbitNormalAndHoldsIt) {
    expectAlignsAndHolds(NAVMODE_NORMAL, normalOf);
}

TEST(Navmode, KillRotationStopsASpinAndSwitchesItselfOff) {
    TestVessel t;
    makeUpperStage(t);
    putInCircularOrbit(t, 400e3);
    t.vessel().SetAngularVel(_V(0.1, -0.2, 0.3));
    ASSERT_TRUE(t.vessel().ActivateNavmode(NAVMODE_KILLROT));
    double mjd = 55000;
    fly(t, 60, kFrame, mjd);
    VECTOR3 w;
    t.vessel().GetAngularVel(w);
    EXPECT_LT(length(w), 1e-5);
    EXPECT_FALSE(t.vessel().GetNavmodeState(NAVMODE_KILLROT));
}

TEST(Navmode, ModesAreMutuallyExclusive) {
    TestVessel t;
    putInCircularOrbit(t, 400e3);
    VESSEL& v = t.vessel();
    EXPECT_TRUE(v.ActivateNavmode(NAVMODE_KILLROT));
    EXPECT_TRUE(v.ActivateNavmode(NAVMODE_RETROGRADE));
    EXPECT_FALSE(v.GetNavmodeState(NAVMODE_KILLROT));
    EXPECT_TRUE(v.GetNavmodeState(NAVMODE_RETROGRADE));
    EXPECT_TRUE(v.ToggleNavmode(NAVMODE_ANTINORMAL));
    EXPECT_FALSE(v.GetNavmodeState(NAVMODE_RETROGRADE));
    EXPECT_TRUE(v.DeactivateNavmode(NAVMODE_ANTINORMAL));
    EXPECT_FALSE(v.DeactivateNavmode(NAVMODE_ANTINORMAL));
    EXPECT_FALSE(v.ActivateNavmode(42));
}

TEST(Navmode, VesselWithoutAttitudeThrustersDoesNotTurn) {
    TestVessel t;
    putInCircularOrbit(t, 400e3);
    const MATRIX3 before = t.v().state.R;
    t.vessel().ActivateNavmode(NAVMODE_NORMAL);
    double mjd = 55000;
    fly(t, 10, kFrame, mjd);
    EXPECT_EQ(length(t.v().state.omega), 0.0);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(t.v().state.R.data[i], before.data[i], 1e-12);
}
