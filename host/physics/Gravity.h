// Point-mass gravity of the Earth, the one gravity reference of every vessel.
#pragma once

#include "OrbiterAPI.h"

namespace host::physics {

// Gravitational acceleration at a global position [m/s^2].
VECTOR3 gravityAt(const VECTOR3& pos);

}  // namespace host::physics
