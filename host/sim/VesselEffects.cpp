// What a pilot sees of a vessel besides its meshes: exhaust flames and
// particle streams tied to thrusters, point lights and beacons.
#include <algorithm>

#include "MeshRegistry.h"
#include "CurrentSimulation.h"
#include "VesselAccess.h"

using host::recordOf;

// ---------------------------------------------------------------- light emitters

LightEmitter::LightEmitter() : intens(1.0), active(true), pos(_V(0, 0, 0)) {}
LightEmitter::~LightEmitter() = default;
void LightEmitter::SetIntensity(double in) {
    intens = in;
}
double LightEmitter::GetIntensity() const {
    return intens;
}
void LightEmitter::Activate(bool act) {
    active = act;
}
bool LightEmitter::IsActive() const {
    return active;
}
const VECTOR3& LightEmitter::GetPosition() const {
    return pos;
}

PointLight::PointLight(const VECTOR3& p, double range, double att0, double att1, double att2, COLOUR4 diffuse,
                       COLOUR4 specular, COLOUR4 ambient)
    : range(range), att{att0, att1, att2}, col_diff(diffuse), col_spec(specular), col_ambi(ambient) {
    pos = p;
}

// ---------------------------------------------------------------- exhausts and streams

namespace {

UINT addExhaust(host::VesselData& v, host::Thruster* t, double lscale, double wscale, bool hasPos, const VECTOR3& pos,
                const VECTOR3& dir, SURFHANDLE tex) {
    if (!t)
        return static_cast<UINT>(-1);
    host::Exhaust e;
    e.thruster = t;
    e.length = lscale;
    e.width = wscale;
    e.hasPos = hasPos;
    e.pos = pos;
    e.dir = dir;
    e.texture = host::textureName(tex);
    v.exhausts.push_back(e);
    return static_cast<UINT>(v.exhausts.size() - 1);
}

// Flames point away from the thrust.
VECTOR3 flameDirection(const host::Thruster& t) {
    double len = length(t.dir);
    return len > 0 ? -(t.dir / len) : _V(0, 0, -1);
}

}  // namespace

UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, SURFHANDLE tex) const {
    auto& v = recordOf(hVessel);
    host::Thruster* t = host::thrusterOf(v, th);
    if (!t)
        return static_cast<UINT>(-1);
    return addExhaust(v, t, lscale, wscale, false, t->pos, flameDirection(*t), tex);
}

UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, double lofs, SURFHANDLE tex) const {
    auto& v = recordOf(hVessel);
    host::Thruster* t = host::thrusterOf(v, th);
    if (!t)
        return static_cast<UINT>(-1);
    VECTOR3 dir = flameDirection(*t);
    return addExhaust(v, t, lscale, wscale, true, t->pos + dir * lofs, dir, tex);
}

UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3& pos, const VECTOR3& dir,
                        SURFHANDLE tex) const {
    auto& v = recordOf(hVessel);
    return addExhaust(v, host::thrusterOf(v, th), lscale, wscale, true, pos, dir, tex);
}

namespace {

PSTREAM_HANDLE addStream(host::VesselData& v, host::Thruster* t, bool hasPos, const VECTOR3& pos,
                         const PARTICLESTREAMSPEC* pss) {
    if (!t)
        return nullptr;
    host::Stream s;
    s.thruster = t;
    s.hasPos = hasPos;
    s.pos = pos;
    if (pss) {
        s.pss = *pss;
        s.texture = host::textureName(pss->tex);
    }
    v.streams.push_back(s);
    // Streams are kept by index; the handle is an opaque token (index + 1).
    return reinterpret_cast<PSTREAM_HANDLE>(static_cast<uintptr_t>(v.streams.size()));
}

}  // namespace

PSTREAM_HANDLE VESSEL::AddExhaustStream(THRUSTER_HANDLE th, PARTICLESTREAMSPEC* pss) const {
    auto& v = recordOf(hVessel);
    host::Thruster* t = host::thrusterOf(v, th);
    return addStream(v, t, false, t ? t->pos : _V(0, 0, 0), pss);
}

PSTREAM_HANDLE VESSEL::AddExhaustStream(THRUSTER_HANDLE th, const VECTOR3& pos, PARTICLESTREAMSPEC* pss) const {
    auto& v = recordOf(hVessel);
    return addStream(v, host::thrusterOf(v, th), true, pos, pss);
}

// ---------------------------------------------------------------- lights

LightEmitter* VESSEL::AddPointLight(const VECTOR3& pos, double range, double att0, double att1, double att2,
                                    COLOUR4 diffuse, COLOUR4 specular, COLOUR4 ambient) const {
    auto& v = recordOf(hVessel);
    v.lights.push_back(std::make_unique<PointLight>(pos, range, att0, att1, att2, diffuse, specular, ambient));
    host::recordFor(v, "light " + std::to_string(v.lights.size() - 1) + " added");
    return v.lights.back().get();
}

bool VESSEL::DelLightEmitter(LightEmitter* le) const {
    auto& v = recordOf(hVessel);
    auto it = std::find_if(v.lights.begin(), v.lights.end(), [&](const auto& l) { return l.get() == le; });
    if (it == v.lights.end())
        return false;
    host::recordFor(v, "light " + std::to_string(it - v.lights.begin()) + " deleted");
    v.lights.erase(it);
    return true;
}

void VESSEL::ClearLightEmitters() const {
    auto& v = recordOf(hVessel);
    if (v.lights.empty())
        return;
    v.lights.clear();
    host::recordFor(v, "lights cleared");
}

DWORD VESSEL::LightEmitterCount() const {
    return static_cast<DWORD>(recordOf(hVessel).lights.size());
}

// ---------------------------------------------------------------- beacons

// The module owns the beacon records and may switch them by pointer at any
// time; the host notices the change when it compares after the frame.
void VESSEL::AddBeacon(BEACONLIGHTSPEC* bs) {
    auto& v = recordOf(hVessel);
    if (!bs || std::find(v.beacons.begin(), v.beacons.end(), bs) != v.beacons.end())
        return;
    v.beacons.push_back(bs);
    v.beaconShown.push_back(bs->active ? 1 : 0);
}

bool VESSEL::DelBeacon(BEACONLIGHTSPEC* bs) {
    auto& v = recordOf(hVessel);
    auto it = std::find(v.beacons.begin(), v.beacons.end(), bs);
    if (it == v.beacons.end())
        return false;
    v.beaconShown.erase(v.beaconShown.begin() + (it - v.beacons.begin()));
    v.beacons.erase(it);
    return true;
}

void VESSEL::ClearBeacons() {
    auto& v = recordOf(hVessel);
    v.beacons.clear();
    v.beaconShown.clear();
}
