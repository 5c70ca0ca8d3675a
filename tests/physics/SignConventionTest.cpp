// The left-handed signs the launchers' guidance is written for: thruster
// groups, angular rates, the orientation angles and the horizon angles.
#include <gtest/gtest.h>

#include <cmath>

#include "TestVessels.h"
#include "physics/Frames.h"
#include "sim/ThrusterLevels.h"

using namespace physics_test;

namespace {

VECTOR3 rateAfterFiring(THGROUP_TYPE type) {
    TestVessel t;
    makeUpperStage(t);
    putInCircularOrbit(t, 400e3);
    for (host::Thruster* th : t.v().group(type)->thrusters)
        host::setThrusterLevel(t.v(), *th, 1);
    double mjd = 55000;
    fly(t, 1, kFrame, mjd);
    return t.v().state.omega;
}

VECTOR3 arotOf(TestVessel& t) {
    VESSELSTATUS2 s{};
    s.version = 2;
    t.vessel().GetStatusEx(&s);
    return s.arot;
}

// The launchers' roll measure from the third orientation angle.
double rollMeasure(double arotZ) {
    return 360 - (arotZ + 3.1415926535) * 57.29577951308232;
}

}  // namespace

TEST(SignConvention, EachAttitudeGroupTurnsAboutItsAxisWithTheStatedSign) {
    struct Case {
        THGROUP_TYPE group;
        int axis;
        double sign;
    };
    const Case cases[] = {
        {THGROUP_ATT_PITCHUP, 0, +1},  {THGROUP_ATT_PITCHDOWN, 0, -1}, {THGROUP_ATT_YAWLEFT, 1, +1},
        {THGROUP_ATT_YAWRIGHT, 1, -1}, {THGROUP_ATT_BANKRIGHT, 2, +1}, {THGROUP_ATT_BANKLEFT, 2, -1},
    };
    for (const Case& c : cases) {
        const VECTOR3 w = rateAfterFiring(c.group);
        SCOPED_TRACE(c.group);
        EXPECT_GT(c.sign * w.data[c.axis], 1e-3);
        for (int other = 0; other < 3; ++other) {
            if (other == c.axis)
                continue;
            EXPECT_LT(std::fabs(w.data[other]), 1e-6 * std::fabs(w.data[c.axis]) + 1e-9);
        }
    }
}

TEST(SignConvention, PositivePitchRateRaisesPitch) {
    TestVessel t;
    putInCircularOrbit(t, 400e3);
    double pitch0 = 0, pitch1 = 0;
    ASSERT_TRUE(oapiGetPitch(t.handle(), &pitch0));
    EXPECT_NEAR(pitch0, 0, 1e-9);
    t.vessel().SetAngularVel(_V(0.02, 0, 0));
    double mjd = 55000;
    fly(t, 5, kFrame, mjd);
    oapiGetPitch(t.handle(), &pitch1);
    EXPECT_GT(pitch1, pitch0 + 0.05);  // 0.1 rad turned, less the horizon's own turn
}

TEST(SignConvention, RollRateChangesOnlyTheThirdAngleAndLowersTheRollMeasure) {
    TestVessel t;
    putInCircularOrbit(t, 400e3);
    VESSELSTATUS2 s{};
    s.version = 2;
    t.vessel().GetStatusEx(&s);
    s.arot = _V(0.3, -0.2, 0.5);
    t.vessel().DefSetStateEx(&s);

    const VECTOR3 before = arotOf(t);
    t.vessel().SetAngularVel(_V(0, 0, 0.05));
    double mjd = 55000;
    fly(t, 1, kFrame, mjd);
    const VECTOR3 after = arotOf(t);

    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
    EXPECT_NEAR(after.z - before.z, 0.05, 1e-9);
    EXPECT_NEAR(rollMeasure(after.z) - rollMeasure(before.z), -0.05 * DEG, 1e-6);
}

TEST(SignConvention, VesselRolledRightHasNegativeBank) {
    TestVessel t;
    putInCircularOrbit(t, 400e3);
    EXPECT_NEAR(t.vessel().GetBank(), 0, 1e-9);
    t.vessel().SetAngularVel(_V(0, 0, 0.1));  // roll right: +y toward +x
    double mjd = 55000;
    fly(t, 2, kFrame, mjd);
    double bank = 0;
    ASSERT_TRUE(oapiGetBank(t.handle(), &bank));
    EXPECT_NEAR(bank, -0.2, 1e-3);
    EXPECT_DOUBLE_EQ(bank, t.vessel().GetBank());

    // The guidance levels its wings by adding atan2(u.x, u.y) of the mapped
    // horizon up vector to the third angle.
    VECTOR3 u;
    t.vessel().HorizonInvRot(_V(0, 1, 0), u);
    VESSELSTATUS2 s{};
    s.version = 2;
    t.vessel().GetStatusEx(&s);
    s.arot.z += std::atan2(u.x, u.y);
    t.vessel().DefSetStateEx(&s);
    EXPECT_NEAR(t.vessel().GetBank(), 0, 1e-9);
}

TEST(SignConvention, HeadingAndHorizonRotationsAgree) {
    TestVessel t;
    putInCircularOrbit(t, 400e3);
    double heading = 0;
    ASSERT_TRUE(oapiGetHeading(t.handle(), &heading));
    EXPECT_NEAR(heading, 90 * RAD, 1e-9);  // east

    VECTOR3 nose, back;
    t.vessel().HorizonRot(_V(0, 0, 1), nose);
    EXPECT_NEAR(nose.x, 1, 1e-12);  // the nose points east
    t.vessel().HorizonInvRot(nose, back);
    EXPECT_NEAR(back.z, 1, 1e-12);

    VECTOR3 right;
    t.vessel().GlobalRot(_V(1, 0, 0), right);
    EXPECT_NEAR(right.y, -1, 1e-12);  // heading east, the right wing points south
}
