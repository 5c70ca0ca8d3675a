// The attitude block every launcher stage carries: each group the pilot's
// controls fire turns or moves the stage the way its name says, and nothing
// else.
#include <gtest/gtest.h>

#include "AttitudeThrusters.h"
#include "sim/VesselData.h"

namespace {

VECTOR3 cross(const VECTOR3& a, const VECTOR3& b) {
    return _V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

struct Push {
    VECTOR3 force = _V(0, 0, 0), torque = _V(0, 0, 0);
};

// All members of a group at full thrust 1, on an arm of 2 m. A torque from a
// force F applied at r is F x r, as the host computes it.
Push pushOf(const tarvik::AttitudeGroupRow& group) {
    Push p;
    for (int k = 0; k < group.count; ++k) {
        const tarvik::AttitudeThrusterRow& row = tarvik::kAttitudeThrusters[group.members[k] - 1];
        p.force += row.dir;
        p.torque += cross(row.dir, tarvik::attitudeThrusterPosition(row, 2));
    }
    return p;
}

struct Expected {
    THGROUP_TYPE type;
    int axis;     // 0 x, 1 y, 2 z
    double sign;  // of the torque (rotation groups) or force (translation groups)
    bool rotation;
};

constexpr Expected kExpected[] = {
    {THGROUP_ATT_PITCHUP, 0, +1, true},  {THGROUP_ATT_PITCHDOWN, 0, -1, true}, {THGROUP_ATT_YAWLEFT, 1, +1, true},
    {THGROUP_ATT_YAWRIGHT, 1, -1, true}, {THGROUP_ATT_BANKRIGHT, 2, +1, true}, {THGROUP_ATT_BANKLEFT, 2, -1, true},
    {THGROUP_ATT_RIGHT, 0, +1, false},   {THGROUP_ATT_LEFT, 0, -1, false},     {THGROUP_ATT_UP, 1, +1, false},
    {THGROUP_ATT_DOWN, 1, -1, false},    {THGROUP_ATT_FORWARD, 2, +1, false},  {THGROUP_ATT_BACK, 2, -1, false},
};

TEST(AttitudeBlock, EveryGroupTurnsOrMovesTheStageAsItsNameSaysAndNothingElse) {
    ASSERT_EQ(std::size(tarvik::kAttitudeGroups), std::size(kExpected));
    for (const Expected& e : kExpected) {
        const tarvik::AttitudeGroupRow* group = nullptr;
        for (const tarvik::AttitudeGroupRow& g : tarvik::kAttitudeGroups)
            if (g.type == e.type)
                group = &g;
        ASSERT_NE(group, nullptr) << "group " << e.type << " missing";
        const Push p = pushOf(*group);
        const VECTOR3& acting = e.rotation ? p.torque : p.force;
        const VECTOR3& idle = e.rotation ? p.force : p.torque;
        for (int axis = 0; axis < 3; ++axis) {
            if (axis == e.axis)
                EXPECT_GT(acting.data[axis] * e.sign, 0) << "group " << e.type << " pushes the wrong way";
            else
                EXPECT_EQ(acting.data[axis], 0) << "group " << e.type << " also acts about axis " << axis;
            EXPECT_EQ(idle.data[axis], 0) << "group " << e.type << (e.rotation ? " moves" : " turns") << " the stage";
        }
    }
}

TEST(AttitudeBlock, IsBuiltOnTheStageWithItsArmThrustIspAndTank) {
    host::VesselData record;
    VESSEL2 stage(&record);
    PROPELLANT_HANDLE tank = stage.CreatePropellantResource(27220);

    tarvik::createAttitudeThrusters(stage, 2, 44000, 4620, tank);

    ASSERT_EQ(record.thrusters.size(), 14u);
    for (int i = 0; i < 14; ++i) {
        const host::Thruster& t = *record.thrusters[i];
        EXPECT_EQ(t.pos.x, 2 * tarvik::kAttitudeThrusters[i].side) << "thruster " << i + 1;
        EXPECT_EQ(t.pos.z, tarvik::kAttitudeThrusters[i].z) << "thruster " << i + 1;
        EXPECT_EQ(t.maxThrust, 44000);
        EXPECT_EQ(t.ispVac, 4620);
        EXPECT_EQ(t.resource, record.propellants[0].get());
    }
    ASSERT_EQ(record.groups.size(), 12u);
    const host::ThrusterGroup* pitchUp = record.group(THGROUP_ATT_PITCHUP);
    ASSERT_NE(pitchUp, nullptr);
    ASSERT_EQ(pitchUp->thrusters.size(), 4u);
    EXPECT_EQ(pitchUp->thrusters[2], record.thrusters[5].get());  // thruster 6
}

}  // namespace
