// Rigid-body rotation with the simulator's left-handed signs. With omega the
// angular velocity in the vessel frame, dR/dt = R W where
//   W = [[0, wz, -wy], [-wz, 0, wx], [wy, -wx, 0]],
// so positive wx lifts the nose (+z toward +y), positive wy swings it left
// (+z toward -x) and positive wz rolls right (+y toward +x). Euler's
// equations carry the matching sign: Ix dwx/dt = tx - (Iy - Iz) wy wz, and
// cyclically.
#pragma once

#include "OrbiterAPI.h"

namespace host::physics {

// The rotation R gains over h seconds at constant omega: R(t+h) = R(t) Q.
MATRIX3 rotationIncrement(const VECTOR3& omega, double h);

// Advances omega and R over h seconds under a torque [N m] with moments of
// inertia [kg m^2] and a rotational damping rate per axis [1/s] that pulls
// omega toward the rotation of the surrounding air, airRate (applied
// implicitly, so a large step damps without overshooting).
void advanceAttitude(MATRIX3& R, VECTOR3& omega, const VECTOR3& torque, const VECTOR3& inertia, const VECTOR3& damping,
                     const VECTOR3& airRate, double h);

// The angular velocity, in the vessel frame, of a vessel that turns with a
// global angular velocity (such as the Earth's).
VECTOR3 bodyRate(const MATRIX3& R, const VECTOR3& globalRate);

}  // namespace host::physics
