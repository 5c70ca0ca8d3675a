// Rotations between the vessel frame, the global frame and the local horizon.
// All frames are left-handed. The vessel-to-global rotation R is built from the
// orientation angles arot = (a, b, g) as R = Rx(a) Ry(b) Rz(g), so a turn about
// the vessel's own z axis changes g alone. The local horizon frame has x east,
// y up and z north.
#pragma once

#include "OrbiterAPI.h"

namespace host::physics {

MATRIX3 identityMatrix();
MATRIX3 product(const MATRIX3& a, const MATRIX3& b);
MATRIX3 transposed(const MATRIX3& a);
// Re-orthonormalise a rotation that has gathered rounding errors.
void orthonormalise(MATRIX3& r);

MATRIX3 rotationFromArot(const VECTOR3& arot);
VECTOR3 arotFromRotation(const MATRIX3& r);

// Horizon-to-global rotation at a global position: columns east, up, north.
MATRIX3 horizonBasis(const VECTOR3& pos);

// Attitude relative to the local horizon of a vessel at pos with rotation R.
double pitchOf(const MATRIX3& R, const VECTOR3& pos);    // [-pi/2, pi/2]
double bankOf(const MATRIX3& R, const VECTOR3& pos);     // (-pi, pi], right-rolled is negative
double headingOf(const MATRIX3& R, const VECTOR3& pos);  // [0, 2pi)

// The same, given horizonBasis(pos).
double pitchIn(const MATRIX3& R, const MATRIX3& horizon);
double headingIn(const MATRIX3& R, const MATRIX3& horizon);

}  // namespace host::physics
