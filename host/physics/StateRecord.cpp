// The state record (VESSELSTATUS2) as the simulator hands it out and takes it
// back. Handing a filled record straight back changes nothing: positions and
// rates are copied, and an orientation that still matches the vessel's
// rotation leaves that rotation untouched.
#include <cmath>
#include <cstring>

#include "DerivedState.h"
#include "Earth.h"
#include "Frames.h"
#include "Ground.h"
#include "Physics.h"
#include "../sim/ThrusterLevels.h"

namespace host::physics {

namespace {

bool finite(const VECTOR3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool sameBits(const VECTOR3& a, const VECTOR3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

void fillStatus(const VesselData& v, VESSELSTATUS2& status, double mjd, OBJHANDLE earth) {
    const FlightState& s = v.state;
    status.rbody = earth;
    status.base = nullptr;
    status.port = 0;
    status.status = s.landed ? 1 : 0;
    status.rpos = s.pos;
    status.rvel = s.vel;
    status.vrot = s.landed ? _V(0, 0, 0) : s.omega;
    status.arot = arotNow(v);
    if (s.landed) {
        status.surf_lng = s.landedLng;
        status.surf_lat = s.landedLat;
        status.surf_hdg = s.landedHdg;
    } else {  // where it is now, so that a record turned to "landed" stands it here
        const EquatorialPosition e = placeNow(v, s.mjd != 0 ? s.mjd : mjd);
        status.surf_lng = e.lng;
        status.surf_lat = e.lat;
        status.surf_hdg = headingNow(v);
    }

    // Optional lists: filled when asked for; a list the caller left empty is
    // allocated here (the caller frees it with delete[]), as the simulator does.
    if (status.flag & VS_FUELLIST) {
        if (!status.fuel) {
            status.nfuel = static_cast<DWORD>(v.propellants.size());
            status.fuel = status.nfuel ? new VESSELSTATUS2::FUELSPEC[status.nfuel] : nullptr;
        }
        for (DWORD i = 0; i < status.nfuel && status.fuel; ++i) {
            const DWORD idx = i < v.propellants.size() ? i : status.fuel[i].idx;
            status.fuel[i].idx = idx;
            const Propellant* p = idx < v.propellants.size() ? v.propellants[idx].get() : nullptr;
            status.fuel[i].level = p && p->maxMass > 0 ? p->mass / p->maxMass : 0;
        }
    }
    if (status.flag & VS_THRUSTLIST) {
        if (!status.thruster) {
            status.nthruster = static_cast<DWORD>(v.thrusters.size());
            status.thruster = status.nthruster ? new VESSELSTATUS2::THRUSTSPEC[status.nthruster] : nullptr;
        }
        for (DWORD i = 0; i < status.nthruster && status.thruster; ++i) {
            const DWORD idx = i < v.thrusters.size() ? i : status.thruster[i].idx;
            status.thruster[i].idx = idx;
            status.thruster[i].level = idx < v.thrusters.size() ? v.thrusters[idx]->level : 0;
        }
    }
}

void applyStatus(VesselData& v, const VESSELSTATUS2& status, double mjd, const VesselData* reference) {
    settleRest(v);  // a record that sets part of the state sets it on the state as it is now
    FlightState& s = v.state;
    if (status.status == 1) {
        const bool valid =
            std::isfinite(status.surf_lng) && std::isfinite(status.surf_lat) && std::isfinite(status.surf_hdg);
        if (valid)
            setLanded(v, status.surf_lng, status.surf_lat, status.surf_hdg, mjd);
        else if (!s.landed)
            setLanded(v, 0, 0, 0, mjd);
    } else {
        // A position relative to another vessel is made global; values that
        // are not numbers are refused and the old ones kept.
        VECTOR3 origin{}, frame{};
        if (reference) {
            origin = reference->state.pos;
            frame = reference->state.vel;
        }
        if (finite(status.rpos))
            s.pos = origin + status.rpos;
        if (finite(status.rvel))
            s.vel = frame + status.rvel;
        if (finite(status.arot) && !sameBits(status.arot, arotNow(v)))
            s.R = rotationFromArot(status.arot);
        if (finite(status.vrot))
            s.omega = status.vrot;
        s.landed = false;
        s.mjd = mjd;
        s.groundContact = touchesGround(v);  // a vessel set down on its feet touches at once
    }

    if (status.flag & VS_FUELRESET)
        for (auto& p : v.propellants)
            p->mass = 0;
    if ((status.flag & VS_FUELLIST) && status.fuel)
        for (DWORD i = 0; i < status.nfuel; ++i) {
            const auto& f = status.fuel[i];
            if (f.idx < v.propellants.size() && std::isfinite(f.level)) {
                Propellant& p = *v.propellants[f.idx];
                p.mass = p.maxMass * std::fmin(1.0, std::fmax(0.0, f.level));
            }
        }
    if (status.flag & VS_THRUSTRESET)
        for (auto& t : v.thrusters)
            setThrusterLevel(v, *t, 0);
    if ((status.flag & VS_THRUSTLIST) && status.thruster)
        for (DWORD i = 0; i < status.nthruster; ++i) {
            const auto& t = status.thruster[i];
            if (t.idx < v.thrusters.size() && std::isfinite(t.level))
                setThrusterLevel(v, *v.thrusters[t.idx], std::fmin(1.0, std::fmax(0.0, t.level)));
        }
}

void placeLanded(VesselData& v, double lng, double lat, double heading, double mjd) {
    setLanded(v, lng, lat, heading, mjd);
}

}  // namespace host::physics
