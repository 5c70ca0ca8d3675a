#include "DerivedState.h"

#include <cstring>

#include "Frames.h"

namespace host::physics {

namespace {

template <class T>
bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The kept attitude values are for this rotation and position, or are forgotten.
DerivedValues::Attitude& attitudeOf(const VesselData& v) {
    DerivedValues::Attitude& a = v.derived.attitude;
    if (!sameBits(a.R, v.state.R) || !sameBits(a.pos, v.state.pos)) {
        a.R = v.state.R;
        a.pos = v.state.pos;
        a.headingKept = a.pitchKept = a.arotKept = false;
    }
    return a;
}

}  // namespace

double headingNow(const VesselData& v) {
    DerivedValues::Attitude& a = attitudeOf(v);
    if (!a.headingKept) {
        a.heading = headingOf(v.state.R, v.state.pos);
        a.headingKept = true;
    }
    return a.heading;
}

double pitchNow(const VesselData& v) {
    DerivedValues::Attitude& a = attitudeOf(v);
    if (!a.pitchKept) {
        a.pitch = pitchOf(v.state.R, v.state.pos);
        a.pitchKept = true;
    }
    return a.pitch;
}

VECTOR3 arotNow(const VesselData& v) {
    DerivedValues::Attitude& a = attitudeOf(v);
    if (!a.arotKept) {
        a.arot = arotFromRotation(v.state.R);
        a.arotKept = true;
    }
    return a.arot;
}

EquatorialPosition placeNow(const VesselData& v, double mjd) {
    DerivedValues::Place& p = v.derived.place;
    if (!p.kept || !sameBits(p.pos, v.state.pos) || !sameBits(p.mjd, mjd)) {
        const EquatorialPosition e = equatorialPosition(v.state.pos, mjd);
        p = {true, v.state.pos, mjd, e.lng, e.lat, e.radius};
    }
    return {p.lng, p.lat, p.radius};
}

Orbit orbitNow(const VesselData& v, double mjd, double mjdRef, bool ecliptic) {
    DerivedValues::Orbit& kept = v.derived.orbit[ecliptic ? 1 : 0];
    if (!kept.kept || !sameBits(kept.pos, v.state.pos) || !sameBits(kept.vel, v.state.vel) ||
        !sameBits(kept.mjd, mjd)) {
        const Orbit o = ecliptic
                            ? orbitOf(equatorialToEcliptic(v.state.pos), equatorialToEcliptic(v.state.vel), mjd, mjd)
                            : orbitOf(v.state.pos, v.state.vel, mjd, mjd);
        kept = {true, v.state.pos, v.state.vel, mjd, o.el, o.prm, o.meanMotion};
    }
    Orbit o{kept.el, kept.prm, mjd, kept.meanMotion};
    if (!sameBits(mjdRef, mjd))
        o.el.L = meanLongitudeAt(o, mjdRef);
    return o;
}

}  // namespace host::physics
