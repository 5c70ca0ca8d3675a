#include "Gravity.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "Earth.h"

namespace host::physics {

namespace {

// Stumpff functions C(z) and S(z), by series near zero where the closed forms
// lose their digits.
void stumpff(double z, double& c, double& s) {
    if (std::fabs(z) < 0.1) {
        c = 1.0 / 2 - z * (1.0 / 24 - z * (1.0 / 720 - z * (1.0 / 40320 - z * (1.0 / 3628800 - z / 479001600.0))));
        s = 1.0 / 6 - z * (1.0 / 120 - z * (1.0 / 5040 - z * (1.0 / 362880 - z * (1.0 / 39916800 - z / 6227020800.0))));
    } else if (z > 0) {
        const double q = std::sqrt(z);
        c = (1 - std::cos(q)) / z;
        s = (q - std::sin(q)) / (z * q);
    } else {
        const double q = std::sqrt(-z);
        c = (std::cosh(q) - 1) / -z;
        s = (std::sinh(q) - q) / (-z * q);
    }
}

}  // namespace

VECTOR3 gravityAt(const VECTOR3& pos) {
    const double r2 = dotp(pos, pos);
    if (r2 < 1.0)
        return _V(0, 0, 0);  // at the centre the pull has no direction
    const double r = std::sqrt(r2);
    return pos * (-kEarthMu / (r2 * r));
}

void keplerDrift(VECTOR3& pos, VECTOR3& vel, double h) {
    const double r0 = length(pos);
    if (r0 < 1e-3 * kEarthRadius) {  // deep inside the Earth gravity has no conic; move straight
        pos += vel * h;
        return;
    }
    const double mu = kEarthMu, sqrtMu = std::sqrt(mu);
    const double vr0 = dotp(pos, vel) / r0;
    const double alpha = 2 / r0 - dotp(vel, vel) / mu;

    // Solve the universal Kepler equation for chi by Newton's method.
    double chi = sqrtMu * h / r0;
    double c = 0.5, s = 1.0 / 6, z = 0;
    uint64_t chiOfZ = 0;  // the chi z, c and s were found for (its bits)
    for (int i = 0; i < 50; ++i) {
        z = alpha * chi * chi;
        stumpff(z, c, s);
        chiOfZ = std::bit_cast<uint64_t>(chi);
        const double chi2 = chi * chi;
        const double f = r0 * vr0 / sqrtMu * chi2 * c + (1 - alpha * r0) * chi2 * chi * s + r0 * chi - sqrtMu * h;
        const double df = r0 * vr0 / sqrtMu * chi * (1 - z * s) + (1 - alpha * r0) * chi2 * c + r0;
        const double delta = f / df;
        chi -= delta;
        if (std::fabs(delta) <= 1e-15 * std::fabs(chi))
            break;
    }
    // The last correction is mostly below chi's last digit, which it leaves
    // as it was: z, c and s are then already those of the chi found.
    if (std::bit_cast<uint64_t>(chi) != chiOfZ) {
        z = alpha * chi * chi;
        stumpff(z, c, s);
    }
    const double chi2 = chi * chi;
    // Lagrange coefficients, written as increments to keep the digits of small steps.
    const double fm1 = -chi2 / r0 * c;
    const double g = h - chi2 * chi * s / sqrtMu;
    const VECTOR3 p1 = pos + pos * fm1 + vel * g;
    const double r1 = length(p1);
    const double fdot = sqrtMu / (r1 * r0) * (z * s - 1) * chi;
    const double gdm1 = -chi2 / r1 * c;
    vel = vel + pos * fdot + vel * gdm1;
    pos = p1;
}

}  // namespace host::physics
