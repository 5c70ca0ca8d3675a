// The VESSEL state and navigation operations and the oapi navigation values:
// thin views of the host's flight state through the physics' frames.
#include <cmath>

#include "../physics/Aerodynamics.h"
#include "../physics/DerivedState.h"
#include "../physics/Earth.h"
#include "../physics/Frames.h"
#include "../physics/Navmodes.h"
#include "../physics/Orbit.h"
#include "../physics/Physics.h"
#include "CurrentSimulation.h"
#include "Simulation.h"
#include "VesselAccess.h"
#include "VesselData.h"

namespace {

using namespace host::physics;

using host::liveVessel;

host::VesselData& data(OBJHANDLE h) {
    return host::dataOf(h);
}

double simulationMjd() {
    host::Simulation* sim = host::Simulation::current();
    return sim ? sim->mjd() : 0;
}

// The date a vessel's state refers to.
double stateMjd(const host::VesselData& v) {
    return v.state.mjd != 0 ? v.state.mjd : simulationMjd();
}

OBJHANDLE earth() {
    return host::currentEarth();
}

// Velocity relative to the air (zero for a vessel standing on the ground).
VECTOR3 airVelocity(const host::FlightState& s) {
    if (s.landed)
        return _V(0, 0, 0);
    return s.vel - corotationVelocity(s.pos);
}

// The vessel's orbit now (kept for every question asked before its state
// changes), the mean longitude for mjdRef (0: now).
Orbit orbitNow(const host::VesselData& v, double mjdRef, int frame = FRAME_EQU) {
    const double now = stateMjd(v);
    return host::physics::orbitNow(v, now, mjdRef != 0 ? mjdRef : now, frame == FRAME_ECL);
}

double groupLevel(const host::VesselData& v, THGROUP_TYPE type) {
    const host::ThrusterGroup* g = v.group(type);
    if (!g || g->thrusters.empty())
        return 0;
    double sum = 0;
    for (const host::Thruster* t : g->thrusters)
        sum += t->level;
    return sum / g->thrusters.size();
}

}  // namespace

// ---------------------------------------------------------------- state records

// The state record in the current simulation: the Earth as the reference
// body, and a reference vessel followed only while it is alive.
void host::physics::fillStatus(const host::VesselData& v, VESSELSTATUS2& status, double mjd) {
    fillStatus(v, status, mjd, earth());
}

void host::physics::applyStatus(host::VesselData& v, const VESSELSTATUS2& status, double mjd) {
    applyStatus(v, status, mjd, liveVessel(status.rbody));
}

void VESSEL::GetStatus(VESSELSTATUS& status) const {
    const host::VesselData& v = data(hVessel);
    VESSELSTATUS2 s2{};
    s2.version = 2;
    fillStatus(v, s2, stateMjd(v));
    status.rpos = s2.rpos;
    status.rvel = s2.rvel;
    status.vrot = s2.vrot;
    status.arot = s2.arot;
    const host::Propellant* first = v.propellants.empty() ? nullptr : v.propellants.front().get();
    status.fuel = first && first->maxMass > 0 ? first->mass / first->maxMass : 0;
    status.eng_main = groupLevel(v, THGROUP_MAIN);
    status.eng_hovr = groupLevel(v, THGROUP_HOVER);
    status.rbody = s2.rbody;
    status.base = nullptr;
    status.port = 0;
    status.status = s2.status;
    status.vdata[0] = _V(s2.surf_lng, s2.surf_lat, s2.surf_hdg);  // where a landed vessel stands
}

void VESSEL::GetStatusEx(void* status) const {
    if (!status)
        return;
    auto* s2 = static_cast<VESSELSTATUS2*>(status);
    if (s2->version != 2)
        return;  // the only version the host knows
    const host::VesselData& v = data(hVessel);
    fillStatus(v, *s2, stateMjd(v));
}

void VESSEL::DefSetStateEx(const void* status) const {
    if (!status)
        return;
    const auto* s2 = static_cast<const VESSELSTATUS2*>(status);
    if (s2->version != 2)
        return;
    host::VesselData& v = data(hVessel);
    applyStatus(v, *s2, stateMjd(v));
}

// ---------------------------------------------------------------- navigation values

double VESSEL::GetAltitude() const {
    return altitudeOf(data(hVessel).state.pos);
}

double VESSEL::GetAirspeed() const {
    return length(airVelocity(data(hVessel).state));
}

bool VESSEL::GetShipAirspeedVector(VECTOR3& v) const {
    const host::FlightState& s = data(hVessel).state;
    v = tmul(s.R, airVelocity(s));
    return true;
}

bool VESSEL::GetHorizonAirspeedVector(VECTOR3& v) const {
    const host::FlightState& s = data(hVessel).state;
    v = tmul(horizonBasis(s.pos), airVelocity(s));
    return true;
}

double VESSEL::GetPitch() const {
    return pitchNow(data(hVessel));
}

double VESSEL::GetBank() const {
    const host::FlightState& s = data(hVessel).state;
    return bankOf(s.R, s.pos);
}

// The heading as a signed angle (-pi, pi].
double VESSEL::GetYaw() const {
    const double h = headingNow(data(hVessel));
    return h > PI ? h - PI2 : h;
}

// The simulator's elements are ecliptic unless the equatorial frame is asked for.
bool VESSEL::GetElements(ELEMENTS& el, double& mjd_ref) const {
    const host::VesselData& v = data(hVessel);
    mjd_ref = stateMjd(v);
    el = orbitNow(v, mjd_ref, FRAME_ECL).el;
    return true;
}

// Always relative to the Earth, the only body, whatever hRef says.
bool VESSEL::GetElements(OBJHANDLE hRef, ELEMENTS& el, ORBITPARAM* prm, double mjd_ref, int frame) const {
    const Orbit o = orbitNow(data(hVessel), mjd_ref, frame);
    el = o.el;
    if (prm)
        *prm = o.prm;
    return true;
}

OBJHANDLE VESSEL::GetApDist(double& apdist) const {
    apdist = orbitNow(data(hVessel), 0).prm.ApD;
    return earth();
}

OBJHANDLE VESSEL::GetPeDist(double& pedist) const {
    pedist = orbitNow(data(hVessel), 0).prm.PeD;
    return earth();
}

bool VESSEL::GroundContact() const {
    const host::FlightState& s = data(hVessel).state;
    return s.landed || s.groundContact;
}

// ---------------------------------------------------------------- frames

void VESSEL::GetGlobalPos(VECTOR3& pos) const {
    pos = data(hVessel).state.pos;
}
void VESSEL::GetGlobalVel(VECTOR3& vel) const {
    vel = data(hVessel).state.vel;
}

void VESSEL::GetRelativePos(OBJHANDLE hRef, VECTOR3& pos) const {
    pos = data(hVessel).state.pos;
    if (const host::VesselData* ref = liveVessel(hRef))
        pos -= ref->state.pos;
}

void VESSEL::GetRelativeVel(OBJHANDLE hRef, VECTOR3& vel) const {
    vel = data(hVessel).state.vel;
    if (const host::VesselData* ref = liveVessel(hRef))
        vel -= ref->state.vel;
}

void VESSEL::GetRotationMatrix(MATRIX3& R) const {
    R = data(hVessel).state.R;
}

void VESSEL::GlobalRot(const VECTOR3& rloc, VECTOR3& rglob) const {
    rglob = mul(data(hVessel).state.R, rloc);
}

void VESSEL::Local2Global(const VECTOR3& local, VECTOR3& global) const {
    const host::FlightState& s = data(hVessel).state;
    global = mul(s.R, local) + s.pos;
}

void VESSEL::Global2Local(const VECTOR3& global, VECTOR3& local) const {
    const host::FlightState& s = data(hVessel).state;
    local = tmul(s.R, global - s.pos);
}

// The global frame is centred on the Earth, the vessel's reference body.
void VESSEL::Local2Rel(const VECTOR3& local, VECTOR3& rel) const {
    Local2Global(local, rel);
}

void VESSEL::HorizonRot(const VECTOR3& rloc, VECTOR3& rhorizon) const {
    const host::FlightState& s = data(hVessel).state;
    rhorizon = tmul(horizonBasis(s.pos), mul(s.R, rloc));
}

void VESSEL::HorizonInvRot(const VECTOR3& rhorizon, VECTOR3& rloc) const {
    const host::FlightState& s = data(hVessel).state;
    rloc = tmul(s.R, mul(horizonBasis(s.pos), rhorizon));
}

void VESSEL::GetAngularVel(VECTOR3& avel) const {
    const host::FlightState& s = data(hVessel).state;
    avel = s.landed ? _V(0, 0, 0) : s.omega;
}

void VESSEL::SetAngularVel(const VECTOR3& avel) const {
    host::FlightState& s = data(hVessel).state;
    if (!s.landed && std::isfinite(avel.x) && std::isfinite(avel.y) && std::isfinite(avel.z))
        s.omega = avel;
}

// ---------------------------------------------------------------- navigation modes

bool VESSEL::ActivateNavmode(int mode) {
    return activateNavmode(data(hVessel).state, mode);
}
bool VESSEL::DeactivateNavmode(int mode) {
    return deactivateNavmode(data(hVessel).state, mode);
}

bool VESSEL::ToggleNavmode(int mode) {
    host::FlightState& s = data(hVessel).state;
    return navmodeActive(s, mode) ? deactivateNavmode(s, mode) : activateNavmode(s, mode);
}

bool VESSEL::GetNavmodeState(int mode) {
    return navmodeActive(data(hVessel).state, mode);
}

// ---------------------------------------------------------------- centre of mass

// The centre of mass (the vessel's origin) moves by shift; a free vessel's
// global position follows it. Meshes and thrusters keep their coordinates.
void VESSEL::ShiftCentreOfMass(const VECTOR3& shift) {
    host::FlightState& s = data(hVessel).state;
    if (!s.landed)
        s.pos += mul(s.R, shift);
}

// Moves the centre of mass and everything defined relative to it, so that the
// vessel's parts stay where they are in space.
void VESSEL::ShiftCG(const VECTOR3& shift) {
    host::VesselData& v = data(hVessel);
    for (auto& m : v.meshes)
        m.offset -= shift;
    for (auto& t : v.thrusters)
        t->pos -= shift;
    for (auto& e : v.exhausts)
        if (e.hasPos)
            e.pos -= shift;
    for (auto& st : v.streams)
        if (st.hasPos)
            st.pos -= shift;
    for (auto& p : v.caps.touchdown)
        p -= shift;
    v.caps.cameraOffset -= shift;
    ShiftCentreOfMass(shift);
}

// ---------------------------------------------------------------- oapi navigation values

bool oapiGetAltitude(OBJHANDLE hVessel, double* alt) {
    const host::VesselData* v = liveVessel(hVessel);
    if (!v || !alt)
        return false;
    *alt = altitudeOf(v->state.pos);
    return true;
}

bool oapiGetPitch(OBJHANDLE hVessel, double* pitch) {
    const host::VesselData* v = liveVessel(hVessel);
    if (!v || !pitch)
        return false;
    *pitch = pitchNow(*v);
    return true;
}

bool oapiGetBank(OBJHANDLE hVessel, double* bank) {
    const host::VesselData* v = liveVessel(hVessel);
    if (!v || !bank)
        return false;
    *bank = bankOf(v->state.R, v->state.pos);
    return true;
}

bool oapiGetHeading(OBJHANDLE hVessel, double* heading) {
    const host::VesselData* v = liveVessel(hVessel);
    if (!v || !heading)
        return false;
    *heading = headingNow(*v);
    return true;
}

bool oapiGetAirspeed(OBJHANDLE hVessel, double* airspeed) {
    const host::VesselData* v = liveVessel(hVessel);
    if (!v || !airspeed)
        return false;
    *airspeed = length(airVelocity(v->state));
    return true;
}

bool oapiGetEquPos(OBJHANDLE hVessel, double* longitude, double* latitude, double* radius) {
    const host::VesselData* v = liveVessel(hVessel);
    if (!v)
        return false;
    const host::FlightState& s = v->state;
    const EquatorialPosition e = placeNow(*v, stateMjd(*v));
    // A vessel on the ground reports the very coordinates it was placed at.
    if (longitude)
        *longitude = s.landed ? s.landedLng : e.lng;
    if (latitude)
        *latitude = s.landed ? s.landedLat : e.lat;
    if (radius)
        *radius = e.radius;
    return true;
}
