#include "Ground.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "Attitude.h"
#include "Earth.h"
#include "Frames.h"
#include "Gravity.h"

namespace host::physics {

namespace {

constexpr double kContactTolerance = 0.01;  // [m]

// Rotation taking unit vector a onto unit vector b by the smallest angle.
MATRIX3 rotationOnto(const VECTOR3& a, const VECTOR3& b, const VECTOR3& fallbackAxis) {
    const double c = dotp(a, b);
    if (c < -1 + 1e-12) {  // opposite: half a turn about an axis across a
        const VECTOR3 u = unit(fallbackAxis - a * dotp(fallbackAxis, a));
        MATRIX3 q;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                q.data[3 * i + j] = 2 * u.data[i] * u.data[j] - (i == j ? 1 : 0);
        return q;
    }
    const VECTOR3 k = crossp(a, b);
    const MATRIX3 kx = _M(0, -k.z, k.y, k.z, 0, -k.x, -k.y, k.x, 0);
    const MATRIX3 kx2 = product(kx, kx);
    MATRIX3 q = identityMatrix();
    for (int i = 0; i < 9; ++i)
        q.data[i] += kx.data[i] + kx2.data[i] / (1 + c);
    return q;
}

VECTOR3 upAt(const VECTOR3& pos) {
    return pos / length(pos);
}

}  // namespace

TouchdownGeometry touchdownGeometry(const ClassCaps& caps) {
    const auto& p = caps.touchdown;
    TouchdownGeometry g;
    const VECTOR3 n = crossp(p[0] - (p[1] + p[2]) * 0.5, p[2] - p[1]);
    const double nl = length(n);
    const double span = std::max({length(p[0] - p[1]), length(p[2] - p[1]), length(p[0] - p[2]), 1e-300});
    if (nl > 1e-9 * span * span) {
        g.normal = n / nl;
        g.height = std::fabs(dotp(g.normal, p[0]));
        // The feet sit on the plane at that height below the centre of mass,
        // whichever side of it the points were given on.
        for (int i = 0; i < 3; ++i)
            g.feet[i] = p[i] - g.normal * (dotp(g.normal, p[i]) + g.height);
    } else {
        for (int i = 0; i < 3; ++i) {
            g.feet[i] = p[i];
            g.height = std::max(g.height, -p[i].y);
        }
    }
    for (const VECTOR3& foot : g.feet)
        g.reach = std::max(g.reach, length(foot));
    return g;
}

namespace {

bool samePoints(const std::array<VECTOR3, 3>& a, const std::array<VECTOR3, 3>& b) {
    // Bit for bit, coordinate by coordinate: asked for every vessel at rest every step.
    for (size_t i = 0; i < a.size(); ++i)
        for (int k = 0; k < 3; ++k)
            if (std::bit_cast<uint64_t>(a[i].data[k]) != std::bit_cast<uint64_t>(b[i].data[k]))
                return false;
    return true;
}

bool sameValue(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The turn from vessel to horizon coordinates of a vessel standing on its
// touchdown plane with a heading: first +y up and +z along the heading
// (horizon frame: east, up, north), then tipped by the smallest turn that
// stands it on that plane.
MATRIX3 standingTurn(const TouchdownGeometry& g, double heading) {
    const double sh = std::sin(heading), ch = std::cos(heading);
    const MATRIX3 level = _M(ch, 0, sh, 0, 1, 0, -sh, 0, ch);
    const VECTOR3 normal = mul(level, g.normal);
    const VECTOR3 across = mul(level, _V(1, 0, 0));
    return product(rotationOnto(normal, _V(0, 1, 0), across), level);
}

}  // namespace

const TouchdownGeometry& touchdownOf(const VesselData& v) {
    DerivedValues& d = v.derived;
    if (!d.touchdownKept || !samePoints(d.touchdownPoints, v.caps.touchdown)) {
        d.touchdown = touchdownGeometry(v.caps);
        d.touchdownPoints = v.caps.touchdown;
        d.touchdownKept = true;
    }
    return d.touchdown;
}

void landedPose(const ClassCaps& caps, double lng, double lat, double heading, double mjd, VECTOR3& pos, MATRIX3& R) {
    const TouchdownGeometry g = touchdownGeometry(caps);
    const MATRIX3 toHorizon = standingTurn(g, heading);
    pos = surfacePoint(lng, lat, kEarthRadius + g.height, mjd);
    R = product(horizonBasis(pos), toHorizon);
}

namespace {

// The parts of the pose that do not change while the vessel stands still
// were kept for its touchdown points, its place and its heading as they are.
bool poseKept(const VesselData& v) {
    const FlightState& s = v.state;
    const DerivedValues& d = v.derived;
    return d.groundKept && d.touchdownKept && samePoints(d.touchdownPoints, v.caps.touchdown) &&
           sameValue(d.groundLng, s.landedLng) && sameValue(d.groundLat, s.landedLat) &&
           sameValue(d.groundHeading, s.landedHdg);
}

// Where setLanded stands the vessel at its own place and heading, at mjd when
// the Earth has turned to `rotation`, with the parts that do not change taken
// from those kept; true when they were kept, not solved.
bool standAsPlaced(VesselData& v, double mjd, double rotation) {
    FlightState& s = v.state;
    DerivedValues& d = v.derived;
    v.restPending = false;
    const bool kept = poseKept(v);
    if (!kept) {
        const TouchdownGeometry& g = touchdownOf(v);
        d.toHorizon = standingTurn(g, s.landedHdg);
        d.groundRadius = kEarthRadius + g.height;
        d.cosLat = std::cos(s.landedLat);
        d.sinLat = std::sin(s.landedLat);
        d.groundLng = s.landedLng;
        d.groundLat = s.landedLat;
        d.groundHeading = s.landedHdg;
        d.groundKept = true;
    }
    s.pos = surfacePoint(s.landedLng, d.cosLat, d.sinLat, d.groundRadius, rotation);
    s.R = product(horizonBasis(s.pos), d.toHorizon);
    s.vel = corotationVelocity(s.pos);
    s.omega = _V(0, 0, 0);
    s.landed = true;
    s.groundContact = true;
    s.mjd = mjd;
    return kept;
}

}  // namespace

void restOnGround(VesselData& v, double mjd, double rotation) {
    // With its pose kept, where it stands at the end of the step is worked
    // out when something reads the vessel (settled()): the pad's neighbours
    // and the spent parts lying about are read by nobody most steps.
    if (poseKept(v)) {
        v.restPending = true;
        v.restMjd = mjd;
        v.restRotation = rotation;
        v.derived.resting = true;
        return;
    }
    v.derived.resting = standAsPlaced(v, mjd, rotation);
}

void settleRest(VesselData& v) {
    if (v.restPending)
        standAsPlaced(v, v.restMjd, v.restRotation);
}

void setLanded(VesselData& v, double lng, double lat, double heading, double mjd) {
    v.restPending = false;  // stood afresh, whatever the last step left
    FlightState& s = v.state;
    landedPose(v.caps, lng, lat, heading, mjd, s.pos, s.R);
    s.vel = corotationVelocity(s.pos);
    s.omega = _V(0, 0, 0);
    s.landed = true;
    s.groundContact = true;
    s.landedLng = lng;
    s.landedLat = lat;
    s.landedHdg = heading;
    s.mjd = mjd;
}

bool holdOnGround(VesselData& v, const PropulsionLoads& thrust, double mass, double mjdEnd, double rotation) {
    FlightState& s = v.state;
    const VECTOR3 pull = mul(s.R, thrust.force) / mass + gravityAt(s.pos) - corotationAcceleration(s.pos);
    if (dotp(pull, upAt(s.pos)) > 0) {
        // Free, with the motion the ground gave it.
        s.landed = false;
        s.vel = corotationVelocity(s.pos);
        s.omega = bodyRate(s.R, earthSpin());
        return true;
    }
    standAsPlaced(v, mjdEnd, rotation);
    return false;
}

namespace {
// A vessel whose centre of mass is this far above its farthest foot's reach
// touches nothing: no foot can be below the ground, whatever the attitude
// (many orders of magnitude beyond the rounding of the altitudes).
constexpr double kClearance = 1;  // [m]

bool clearOfGround(const VesselData& v) {
    return altitudeOf(v.state.pos) > touchdownOf(v).reach + kClearance;
}

// Altitude of the lowest of the centre of mass and the touchdown points.
double lowestPoint(const VesselData& v) {
    const FlightState& s = v.state;
    const TouchdownGeometry& g = touchdownOf(v);
    double lowest = altitudeOf(s.pos);
    for (const VECTOR3& foot : g.feet)
        lowest = std::min(lowest, altitudeOf(s.pos + mul(s.R, foot)));
    return lowest;
}
}  // namespace

bool touchesGround(const VesselData& v) {
    return !clearOfGround(v) && lowestPoint(v) <= kContactTolerance;
}

void touchGround(VesselData& v, double mjd) {
    FlightState& s = v.state;
    if (clearOfGround(v)) {  // in flight: the feet are not worked out
        s.groundContact = false;
        return;
    }
    const double lowest = lowestPoint(v);
    s.groundContact = lowest <= kContactTolerance;
    if (lowest >= 0)
        return;

    // Below the ground and still sinking: it comes to rest where it is,
    // standing on its touchdown points (and may lift off again next step).
    const double sinking = dotp(s.vel - corotationVelocity(s.pos), upAt(s.pos));
    if (!(sinking < 0))
        return;
    const EquatorialPosition e = equatorialPosition(s.pos, mjd);
    setLanded(v, e.lng, e.lat, headingOf(s.R, s.pos), mjd);
}

}  // namespace host::physics

namespace host {

void standPendingRest(VesselData& v) {
    physics::settleRest(v);
}

}  // namespace host
