// Earth as the host models it: a sphere turning at a constant rate about the
// global y axis, with point-mass gravity. The global frame is inertial,
// equatorial and left-handed (x and z in the equator, y toward the north pole);
// a surface longitude grows eastward, from +x toward +z.
#pragma once

#include "OrbiterAPI.h"

namespace host::physics {

inline constexpr double kGravitationalConstant = 6.67259e-11;
inline constexpr double kEarthMass = 5.973698968e24;         // [kg]
inline constexpr double kEarthRadius = 6371010.0;            // [m]
inline constexpr double kEarthSiderealPeriod = 86164.10132;  // [s]
inline constexpr double kEarthMu = kGravitationalConstant * kEarthMass;
inline constexpr double kEarthRotationRate = 6.28318530717958647693 / kEarthSiderealPeriod;  // [rad/s]

// The obliquity of the ecliptic: the angle between the Earth's equator and the
// ecliptic, about the global x axis (the direction of the vernal equinox).
inline constexpr double kObliquity = 23.439281 * 3.14159265358979323846 / 180;

// The Earth's rotation angle (the global longitude of the prime meridian) is a
// fixed function of the date: the Greenwich sidereal angle at 2000-01-01 12:00
// (MJD 51544.5), advancing at the sidereal rate.
inline constexpr double kRotationEpochMjd = 51544.5;
inline constexpr double kRotationAngleAtEpoch = 4.894961212735793;  // 280.46061837 deg

// Rotation angle in [0, 2pi) at a date.
double rotationAngle(double mjd);

// Global position of a point at (lng, lat) [rad] and distance `radius` from the
// centre, at a date.
VECTOR3 surfacePoint(double lng, double lat, double radius, double mjd);
// The same from the latitude's cosine and sine and the rotation angle at the
// date, for a point whose place is known and only the date changes.
VECTOR3 surfacePoint(double lng, double cosLat, double sinLat, double radius, double rotation);

// Velocity of a point fixed to the rotating Earth (and its atmosphere).
VECTOR3 corotationVelocity(const VECTOR3& pos);

// Acceleration of that point: the centripetal pull of the rotation.
VECTOR3 corotationAcceleration(const VECTOR3& pos);

// The Earth's angular velocity in the global frame (the vector whose W matrix
// moves a point with the ground; see Attitude.h for the sign convention).
inline VECTOR3 earthSpin() {
    return _V(0, kEarthRotationRate, 0);
}

struct EquatorialPosition {
    double lng;     // [rad] in [-pi, pi)
    double lat;     // [rad]
    double radius;  // [m]
};
EquatorialPosition equatorialPosition(const VECTOR3& pos, double mjd);

// Height above the sphere.
inline double altitudeOf(const VECTOR3& pos) {
    return length(pos) - kEarthRadius;
}

}  // namespace host::physics
