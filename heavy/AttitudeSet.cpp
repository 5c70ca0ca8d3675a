// The fourteen attitude thrusters and twelve groups every propulsion set-up
// creates; the set-ups differ only in lever arm, thrust, Isp and tank.
#include "HeavyLauncher.h"
#include "ModuleState.h"

namespace heavy {

namespace {

// Position as (side of the arm, z): x = side * arm.
struct AttitudeThrusterRow {
    double side, z;
    VECTOR3 dir;
};

// clang-format off
const AttitudeThrusterRow kAttitudeThrusters[14] = {
    { 1,  3, { 0,  1, 0}},  //  1
    { 1,  3, { 0, -1, 0}},  //  2
    {-1,  3, { 0,  1, 0}},  //  3
    {-1,  3, { 0, -1, 0}},  //  4
    { 1, -3, { 0,  1, 0}},  //  5
    { 1, -3, { 0, -1, 0}},  //  6
    {-1, -3, { 0,  1, 0}},  //  7
    {-1, -3, { 0, -1, 0}},  //  8
    { 1,  3, {-1,  0, 0}},  //  9
    {-1,  3, { 1,  0, 0}},  // 10
    { 1, -3, {-1,  0, 0}},  // 11
    {-1, -3, { 1,  0, 0}},  // 12
    { 0, -3, { 0,  0, 1}},  // 13
    { 0,  3, { 0,  0, -1}}, // 14
};

struct AttitudeGroupRow {
    THGROUP_TYPE type;
    int count;
    int members[4];  // thruster numbers as in the table above, from 1
};

const AttitudeGroupRow kAttitudeGroups[] = {
    {THGROUP_ATT_PITCHUP,   4, {1, 3, 6, 8}},
    {THGROUP_ATT_PITCHDOWN, 4, {2, 4, 5, 7}},
    {THGROUP_ATT_BANKLEFT,  4, {1, 5, 4, 8}},
    {THGROUP_ATT_BANKRIGHT, 4, {2, 6, 3, 7}},
    {THGROUP_ATT_UP,        4, {1, 5, 3, 7}},
    {THGROUP_ATT_DOWN,      4, {2, 6, 4, 8}},
    {THGROUP_ATT_YAWLEFT,   2, {9, 12}},
    {THGROUP_ATT_YAWRIGHT,  2, {10, 11}},
    {THGROUP_ATT_LEFT,      2, {9, 11}},
    {THGROUP_ATT_RIGHT,     2, {10, 12}},
    {THGROUP_ATT_FORWARD,   1, {13}},
    {THGROUP_ATT_BACK,      1, {14}},
};
// clang-format on

constexpr double kReferencePressure = 101400;

}  // namespace

void HeavyLauncher::createAttitudeSet(double arm, double thrust, double ispVacuum, PROPELLANT_HANDLE resource) {
    for (int i = 0; i < 14; ++i) {
        const AttitudeThrusterRow& row = kAttitudeThrusters[i];
        attitudeSet[i] =
            CreateThruster(_V(row.side * arm, 0, row.z), row.dir, thrust, resource, ispVacuum, 0, kReferencePressure);
    }
    for (const AttitudeGroupRow& group : kAttitudeGroups) {
        THRUSTER_HANDLE members[4];
        for (int k = 0; k < group.count; ++k)
            members[k] = attitudeSet[group.members[k] - 1];
        CreateThrusterGroup(members, group.count, group.type);
    }
}

}  // namespace heavy
