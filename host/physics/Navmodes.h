// The navigation autopilots: kill-rotation, prograde, retrograde, orbit normal
// and antinormal. They are mutually exclusive and steer the way a pilot's
// autopilot would, with the vessel's own attitude thruster groups, through the
// thrusters' single-step levels. Kill-rotation switches itself off once the
// rotation has stopped.
#pragma once

#include "../sim/VesselData.h"

namespace host::physics {

inline constexpr double kKillRotationDone = 1e-5;  // [rad/s]

bool isSteeringMode(int mode);
bool navmodeActive(const FlightState& s, int mode);
// Activating a mode clears the others; false for modes the host does not fly.
bool activateNavmode(FlightState& s, int mode);
bool deactivateNavmode(FlightState& s, int mode);

// Sets the single-step levels of the attitude groups for a step of dt seconds
// at ambient pressure p.
void steerByNavmodes(VesselData& v, double pressure, double dt);
// What they do on the ground, where they have nothing to steer: kill-rotation
// has nothing to kill and switches off.
void holdNavmodesOnGround(FlightState& s);

}  // namespace host::physics
