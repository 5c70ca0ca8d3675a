// Free flight. Gravity is integrated exactly: between kicks the state follows
// its Kepler conic (universal-variable solution), so a coasting orbit keeps
// its energy and angular momentum at any time acceleration. Thrust, drag and
// torques act as kicks around each drift (kick-drift-kick); the sub-steps are
// sized by the orbit and the rotation, never by wall time.
#pragma once

#include "../sim/VesselData.h"
#include "Propulsion.h"

namespace host::physics {

// Moves (pos, vel) along the Kepler orbit about the Earth for h seconds.
void keplerDrift(VECTOR3& pos, VECTOR3& vel, double h);

// Number of sub-steps for a step of dt seconds.
int substepCount(const FlightState& s, bool forced, double dt);

// Flies a free vessel over dt seconds. massStart and massEnd bracket the
// propellant burnt in the step; thrust is what the thrusters produce.
void fly(VesselData& v, const PropulsionLoads& thrust, double massStart, double massEnd, double dt);

}  // namespace host::physics
