#include "AttitudeThrusters.h"

namespace tarvik {

void createAttitudeThrusters(const VESSEL& launcher, double arm, double thrust, double isp, PROPELLANT_HANDLE tank) {
    THRUSTER_HANDLE thrusters[kAttitudeThrusterCount];
    for (int i = 0; i < kAttitudeThrusterCount; ++i) {
        const AttitudeThrusterRow& row = kAttitudeThrusters[i];
        thrusters[i] =
            launcher.CreateThruster(attitudeThrusterPosition(row, arm), row.dir, thrust, tank, isp, 0, 101400);
    }
    for (const AttitudeGroupRow& group : kAttitudeGroups) {
        THRUSTER_HANDLE members[4] = {};
        for (int k = 0; k < group.count; ++k)
            members[k] = thrusters[group.members[k] - 1];
        launcher.CreateThrusterGroup(members, group.count, group.type);
    }
}

}  // namespace tarvik
