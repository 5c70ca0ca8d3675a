// Osculating orbital elements relative to the Earth, in the equatorial frame.
// Angles are measured eastward from the global x axis; the orbit normal is the
// direction of the angular momentum, which points north for an eastward
// equatorial orbit.
#pragma once

#include "OrbiterAPI.h"

namespace host::physics {

struct Orbit {
    ELEMENTS el{};
    ORBITPARAM prm{};
    double mjd = 0;         // the date of the state
    double meanMotion = 0;  // [rad/s], 0 for an open orbit
};

// Elements of the state (pos, vel) at date mjd; the mean longitude el.L is
// given for the date mjdRef. Open orbits have a negative semi-major axis and
// an infinite apoapsis distance, period and time to apoapsis.
Orbit orbitOf(const VECTOR3& pos, const VECTOR3& vel, double mjd, double mjdRef);

// The mean longitude of the orbit at the date mjdRef, as orbitOf gives it.
double meanLongitudeAt(const Orbit& o, double mjdRef);

// A global (equatorial) vector in the ecliptic frame (tilted by the obliquity,
// see Earth.h), left-handed like the global one: x toward the equinox, y
// toward the ecliptic's north pole.
VECTOR3 equatorialToEcliptic(const VECTOR3& v);

// The orbit normal (unit angular momentum) in global coordinates.
VECTOR3 orbitNormal(const VECTOR3& pos, const VECTOR3& vel);

}  // namespace host::physics
