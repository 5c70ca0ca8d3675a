// Point-mass gravity of the Earth, the one gravity reference of every vessel:
// the pull at a point, and the motion it gives a free body. A vessel in free
// flight follows its Kepler conic exactly between the kicks of the other
// forces (universal-variable solution), so a coasting orbit keeps its energy
// and angular momentum at any time acceleration.
#pragma once

#include "OrbiterAPI.h"

namespace host::physics {

// Gravitational acceleration at a global position [m/s^2].
VECTOR3 gravityAt(const VECTOR3& pos);

// Moves (pos, vel) along the Kepler orbit about the Earth for h seconds.
void keplerDrift(VECTOR3& pos, VECTOR3& vel, double h);

}  // namespace host::physics
