#include "Frames.h"

#include <algorithm>
#include <cmath>

namespace host::physics {

MATRIX3 identityMatrix() {
    return _M(1, 0, 0, 0, 1, 0, 0, 0, 1);
}

MATRIX3 product(const MATRIX3& a, const MATRIX3& b) {
    MATRIX3 c;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            c.data[3 * i + j] =
                a.data[3 * i] * b.data[j] + a.data[3 * i + 1] * b.data[3 + j] + a.data[3 * i + 2] * b.data[6 + j];
    return c;
}

MATRIX3 transposed(const MATRIX3& a) {
    return _M(a.m11, a.m21, a.m31, a.m12, a.m22, a.m32, a.m13, a.m23, a.m33);
}

void orthonormalise(MATRIX3& r) {
    // Gram-Schmidt on the columns, z (the nose) kept as the reference axis.
    VECTOR3 z = unit(_V(r.m13, r.m23, r.m33));
    VECTOR3 y = _V(r.m12, r.m22, r.m32);
    y = unit(y - z * dotp(y, z));
    // x completes the frame with the same handedness as the original columns.
    const VECTOR3 x = crossp(y, z);
    r = _M(x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z);
}

MATRIX3 rotationFromArot(const VECTOR3& arot) {
    const double sa = std::sin(arot.x), ca = std::cos(arot.x);
    const double sb = std::sin(arot.y), cb = std::cos(arot.y);
    const double sg = std::sin(arot.z), cg = std::cos(arot.z);
    const MATRIX3 rx = _M(1, 0, 0, 0, ca, sa, 0, -sa, ca);
    const MATRIX3 ry = _M(cb, 0, -sb, 0, 1, 0, sb, 0, cb);
    const MATRIX3 rz = _M(cg, sg, 0, -sg, cg, 0, 0, 0, 1);
    return product(rx, product(ry, rz));
}

VECTOR3 arotFromRotation(const MATRIX3& r) {
    // R = [[cb cg, cb sg, -sb], [.., .., sa cb], [.., .., ca cb]]
    const double b = -std::asin(std::clamp(r.m13, -1.0, 1.0));
    if (std::fabs(r.m13) < 1.0 - 1e-12)
        return _V(std::atan2(r.m23, r.m33), b, std::atan2(r.m12, r.m11));
    // Gimbal lock: only a - g (or a + g) is defined; put it all into a.
    return _V(std::atan2(-r.m32, r.m22), b, 0);
}

MATRIX3 horizonBasis(const VECTOR3& pos) {
    const double r = length(pos);
    const double rho = std::hypot(pos.x, pos.z);
    double cl = 1, sl = 0;  // at the poles any meridian will do
    if (rho > 0)
        cl = pos.x / rho, sl = pos.z / rho;
    const double sp = r > 0 ? pos.y / r : 0, cp = r > 0 ? rho / r : 1;
    const VECTOR3 east = _V(-sl, 0, cl);
    const VECTOR3 up = _V(cp * cl, sp, cp * sl);
    const VECTOR3 north = _V(-sp * cl, cp, -sp * sl);
    return _M(east.x, up.x, north.x, east.y, up.y, north.y, east.z, up.z, north.z);
}

namespace {
// A nose this close to straight up or down has no heading of its own: the
// heading is then the belly's and the bank 0, so a launcher on the pad and
// just after lift-off reads a steady heading.
const double kNearVertical = std::sin(0.5 * PI / 180);

// The local up direction in vessel coordinates.
VECTOR3 upInVessel(const MATRIX3& R, const MATRIX3& h) {
    return tmul(R, _V(h.m12, h.m22, h.m32));
}
VECTOR3 upInVessel(const MATRIX3& R, const VECTOR3& pos) {
    return upInVessel(R, horizonBasis(pos));
}
}  // namespace

double pitchOf(const MATRIX3& R, const VECTOR3& pos) {
    return pitchIn(R, horizonBasis(pos));
}

double pitchIn(const MATRIX3& R, const MATRIX3& horizon) {
    return std::asin(std::clamp(upInVessel(R, horizon).z, -1.0, 1.0));
}

double bankOf(const MATRIX3& R, const VECTOR3& pos) {
    const VECTOR3 up = upInVessel(R, pos);
    if (std::hypot(up.x, up.y) < kNearVertical)
        return 0;
    return std::atan2(up.x, up.y);
}

double headingOf(const MATRIX3& R, const VECTOR3& pos) {
    return headingIn(R, horizonBasis(pos));
}

double headingIn(const MATRIX3& R, const MATRIX3& horizon) {
    const MATRIX3 toHorizon = transposed(horizon);
    VECTOR3 d = mul(toHorizon, mul(R, _V(0, 0, 1)));
    // A vessel standing on its tail points its belly (-y) along its heading.
    if (std::hypot(d.x, d.z) < kNearVertical)
        d = mul(toHorizon, mul(R, _V(0, -1, 0)));
    double h = std::atan2(d.x, d.z);
    if (h < 0)
        h += PI2;
    return h >= PI2 ? 0 : h;
}

}  // namespace host::physics
