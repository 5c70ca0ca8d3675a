#include "Attitude.h"

#include <cmath>

#include "Frames.h"

namespace host::physics {

MATRIX3 rotationIncrement(const VECTOR3& omega, double h) {
    const double rate = length(omega);
    const double angle = rate * h;
    if (angle == 0)
        return identityMatrix();
    const VECTOR3 u = omega / rate;
    // Q = exp(W h) = I - sin(angle) K + (1 - cos(angle)) K^2, K the cross
    // matrix of the unit axis: W is the transpose of that cross matrix.
    const double s = std::sin(angle), c1 = 1 - std::cos(angle);
    const MATRIX3 k = _M(0, -u.z, u.y, u.z, 0, -u.x, -u.y, u.x, 0);
    const MATRIX3 k2 = product(k, k);
    MATRIX3 q = identityMatrix();
    for (int i = 0; i < 9; ++i)
        q.data[i] += -s * k.data[i] + c1 * k2.data[i];
    return q;
}

void advanceAttitude(MATRIX3& R, VECTOR3& omega, const VECTOR3& torque, const VECTOR3& inertia, const VECTOR3& damping,
                     const VECTOR3& airRate, double h) {
    const VECTOR3 w = omega;
    VECTOR3 next;
    next.x = w.x + h * (torque.x - (inertia.y - inertia.z) * w.y * w.z) / inertia.x;
    next.y = w.y + h * (torque.y - (inertia.z - inertia.x) * w.z * w.x) / inertia.y;
    next.z = w.z + h * (torque.z - (inertia.x - inertia.y) * w.x * w.y) / inertia.z;
    next.x = airRate.x + (next.x - airRate.x) / (1 + damping.x * h);
    next.y = airRate.y + (next.y - airRate.y) / (1 + damping.y * h);
    next.z = airRate.z + (next.z - airRate.z) / (1 + damping.z * h);
    R = product(R, rotationIncrement((w + next) * 0.5, h));
    omega = next;
}

VECTOR3 bodyRate(const MATRIX3& R, const VECTOR3& globalRate) {
    return tmul(R, globalRate);
}

}  // namespace host::physics
