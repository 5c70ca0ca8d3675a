#include "Earth.h"

#include <cmath>

#include "TurnRemainder.h"

namespace host::physics {

namespace {
double wrapSigned(double a) {  // into [-pi, pi)
    a = turnRemainder(a + PI);
    if (a < 0)
        a += PI2;
    return a - PI;
}
}  // namespace

double rotationAngle(double mjd) {
    // Whole turns are removed before scaling, so the angle keeps its precision
    // for dates far from the epoch.
    const double turns = (mjd - kRotationEpochMjd) * (86400.0 / kEarthSiderealPeriod);
    double a = (turns - std::floor(turns)) * PI2 + kRotationAngleAtEpoch;
    a = turnRemainder(a);
    return a < 0 ? a + PI2 : a;
}

VECTOR3 surfacePoint(double lng, double lat, double radius, double mjd) {
    return surfacePoint(lng, std::cos(lat), std::sin(lat), radius, rotationAngle(mjd));
}

VECTOR3 surfacePoint(double lng, double cosLat, double sinLat, double radius, double rotation) {
    const double l = lng + rotation;
    return _V(radius * cosLat * std::cos(l), radius * sinLat, radius * cosLat * std::sin(l));
}

VECTOR3 corotationVelocity(const VECTOR3& pos) {
    return _V(-kEarthRotationRate * pos.z, 0, kEarthRotationRate * pos.x);
}

VECTOR3 corotationAcceleration(const VECTOR3& pos) {
    const double w2 = kEarthRotationRate * kEarthRotationRate;
    return _V(-w2 * pos.x, 0, -w2 * pos.z);
}

EquatorialPosition equatorialPosition(const VECTOR3& pos, double mjd) {
    const double rho = std::hypot(pos.x, pos.z);
    EquatorialPosition e;
    e.radius = length(pos);
    e.lat = std::atan2(pos.y, rho);
    e.lng = wrapSigned(std::atan2(pos.z, pos.x) - rotationAngle(mjd));
    return e;
}

}  // namespace host::physics
