// Thrusters, their groups and the propellant they burn. A thruster's level is
// its permanent level plus the single-step level of the navigation modes,
// clamped to [0, 1]; without propellant it produces nothing and reads 0.
#pragma once

#include "../sim/VesselData.h"

namespace host::physics {

struct PropulsionLoads {
    VECTOR3 force{};      // vessel frame [N]
    VECTOR3 torque{};     // about the centre of mass, vessel frame [N m]
    bool active = false;  // some thruster produced force or burnt propellant
};

// Thrust of one thruster at level 1 and ambient pressure p [N], along its
// direction vector (which is not normalised).
VECTOR3 thrustVector(const Thruster& t, double pressure);

// Sets every thruster's effective level for a step of dt seconds, burns the
// propellant it needs and returns the resulting force and torque. A tank that
// runs dry during the step throttles its thrusters to what it still holds.
PropulsionLoads runThrusters(VesselData& v, double pressure, double dt);

// Torque of a thruster group at level 1, counting only thrusters that have
// propellant [N m].
VECTOR3 groupTorque(const VesselData& v, THGROUP_TYPE type, double pressure);

// Forgets the navigation modes' levels once a step has used them.
void clearSingleStepLevels(VesselData& v);

// Whether some thruster with propellant is asked for thrust this step.
bool thrustAsked(const VesselData& v);
// A step in which no thruster is asked for thrust, as runThrusters and
// clearSingleStepLevels would make it: every level that acted is 0 and the
// single-step levels are forgotten.
void idleThrusters(VesselData& v);

}  // namespace host::physics
