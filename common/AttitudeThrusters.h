// The attitude thruster block every stage of every launcher carries: fourteen
// thrusters in two rings 3 m fore and aft of the centre of mass and the twelve
// groups the simulator's attitude controls fire. The stages differ only in
// lever arm, thrust, Isp and tank.
#pragma once

#include "Orbitersdk.h"

namespace tarvik {

// Position (side * arm, 0, z) and thrust direction of one thruster.
struct AttitudeThrusterRow {
    double side, z;
    VECTOR3 dir;
};

inline constexpr int kAttitudeThrusterCount = 14;

// clang-format off
inline constexpr AttitudeThrusterRow kAttitudeThrusters[kAttitudeThrusterCount] = {
    // side   z    direction
    { 1,  3, {{ 0,  1,  0}}},  //  1
    { 1,  3, {{ 0, -1,  0}}},  //  2
    {-1,  3, {{ 0,  1,  0}}},  //  3
    {-1,  3, {{ 0, -1,  0}}},  //  4
    { 1, -3, {{ 0,  1,  0}}},  //  5
    { 1, -3, {{ 0, -1,  0}}},  //  6
    {-1, -3, {{ 0,  1,  0}}},  //  7
    {-1, -3, {{ 0, -1,  0}}},  //  8
    { 1,  3, {{-1,  0,  0}}},  //  9
    {-1,  3, {{ 1,  0,  0}}},  // 10
    { 1, -3, {{-1,  0,  0}}},  // 11
    {-1, -3, {{ 1,  0,  0}}},  // 12
    { 0, -3, {{ 0,  0,  1}}},  // 13
    { 0,  3, {{ 0,  0, -1}}},  // 14
};

struct AttitudeGroupRow {
    THGROUP_TYPE type;
    int count;
    int members[4];  // thruster numbers as in the table above, from 1
};

// In creation order.
inline constexpr AttitudeGroupRow kAttitudeGroups[] = {
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

inline VECTOR3 attitudeThrusterPosition(const AttitudeThrusterRow& row, double arm) {
    return _V(row.side * arm, 0, row.z);
}

// Creates the fourteen thrusters on `launcher`, in table order, drawing on
// `tank` with vacuum Isp `isp` (no reference Isp, reference pressure
// 101400 Pa), then their twelve groups.
void createAttitudeThrusters(const VESSEL& launcher, double arm, double thrust, double isp, PROPELLANT_HANDLE tank);

}  // namespace tarvik
