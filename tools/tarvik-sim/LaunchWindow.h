// When a pad passes under an orbit's plane. The plane stands still in the
// equatorial frame (the host's gravity is a point mass: no nodal
// precession) while the Earth turns the pad through it twice a day: once
// where the orbit climbs northward over the pad's latitude (a launch from
// the ascending node, heading north) and once where it comes back south
// (from the descending node). Pure numbers, in degrees and seconds.
#pragma once

#include <optional>
#include <string>

namespace tarviksim {

// An orbit's plane in the equatorial frame [deg].
struct OrbitPlane {
    double inclination = 0;
    double ascendingNode = 0;  // longitude of the ascending node, from the frame's x axis, eastward
};

// A pad on the turning Earth: where it stands in the equatorial frame at
// time 0 and how fast it turns.
struct TurningPad {
    double latitude = 0;        // deg
    double rightAscension = 0;  // deg: its longitude in the equatorial frame at time 0
    double rate = 0;            // deg/s: the Earth's sidereal rate
};

struct PlanePass {
    double time = 0;          // s after time 0
    bool descending = false;  // the pass where the orbit heads south over the pad
};

// The angle east of the ascending node at which the plane crosses a
// latitude, northward (ascending) or southward [deg, -180 to 180]; none when
// the plane does not reach the latitude.
std::optional<double> crossingAngle(const OrbitPlane& plane, double latitudeDeg, bool descending);

// The first pass of the pad under the plane at or after `earliest` seconds:
// of the node asked for, or of either when none is. None when the plane does
// not reach the pad's latitude.
std::optional<PlanePass> nextPass(const TurningPad& pad, const OrbitPlane& plane, double earliest,
                                  std::optional<bool> descending = std::nullopt);

// The angle between two orbit planes [deg].
double relativeInclination(const OrbitPlane& a, const OrbitPlane& b);

// An angle into (-180, 180] [deg].
double wrappedDegrees(double angle);

// "2009-06-18 14:54:12.3 UTC" for a modified Julian date, to a tenth of a second.
std::string utcText(double mjd);

}  // namespace tarviksim
