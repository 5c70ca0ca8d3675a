#include "DerivedState.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "Frames.h"

namespace host::physics {

namespace {

// Compared a word at a time in line: these are asked several times a step,
// and a library memcmp costs more than the compare itself.
template <class T>
bool sameBits(const T& a, const T& b) {
    static_assert(sizeof(T) % sizeof(uint64_t) == 0 && std::is_trivially_copyable_v<T>);
    constexpr size_t kWords = sizeof(T) / sizeof(uint64_t);
    uint64_t x[kWords], y[kWords];
    std::memcpy(x, &a, sizeof x);
    std::memcpy(y, &b, sizeof y);
    uint64_t differ = 0;
    for (size_t i = 0; i < kWords; ++i)
        differ |= x[i] ^ y[i];
    return differ == 0;
}

// The kept attitude values are for this rotation and position, or are forgotten.
DerivedValues::Attitude& attitudeOf(const VesselData& v) {
    DerivedValues::Attitude& a = v.derived.attitude;
    if (!sameBits(a.R, v.state.R) || !sameBits(a.pos, v.state.pos)) {
        a.R = v.state.R;
        a.pos = v.state.pos;
        a.horizonKept = a.headingKept = a.pitchKept = a.arotKept = false;
    }
    return a;
}

// Heading and pitch are both asked every step, against the same horizon.
const MATRIX3& horizonOf(DerivedValues::Attitude& a) {
    if (!a.horizonKept) {
        a.horizon = horizonBasis(a.pos);
        a.horizonKept = true;
    }
    return a.horizon;
}

}  // namespace

double headingNow(const VesselData& v) {
    DerivedValues::Attitude& a = attitudeOf(v);
    if (!a.headingKept) {
        a.heading = headingIn(v.state.R, horizonOf(a));
        a.headingKept = true;
    }
    return a.heading;
}

double pitchNow(const VesselData& v) {
    DerivedValues::Attitude& a = attitudeOf(v);
    if (!a.pitchKept) {
        a.pitch = pitchIn(v.state.R, horizonOf(a));
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
