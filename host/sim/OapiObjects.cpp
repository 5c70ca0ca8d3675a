// The simulator's global functions for objects: vessel list, look-ups, focus,
// creation and deletion, propellant by handle. Every handle is checked
// against the live objects before it is used.
#include <cstring>

#include "SimulationImpl.h"
#include "VesselAccess.h"

namespace {

host::Simulation::Impl* sim() {
    return host::currentSim();
}

OBJHANDLE objectOf(host::VesselData* v) {
    return v;
}

// A vessel or the Earth, checked.
HostObject* objectOf(OBJHANDLE h) {
    host::Simulation::Impl* s = sim();
    if (!s || !h)
        return nullptr;
    if (h == &s->earth)
        return &s->earth;
    return host::liveVessel(h);
}

}  // namespace

OBJHANDLE oapiGetVesselByName(char* name) {
    host::Simulation::Impl* s = sim();
    return s && name ? objectOf(s->vesselNamed(name)) : nullptr;
}

OBJHANDLE oapiGetVesselByIndex(int index) {
    host::Simulation::Impl* s = sim();
    if (!s || index < 0 || static_cast<size_t>(index) >= s->vessels.size())
        return nullptr;
    return s->vessels[static_cast<size_t>(index)].get();
}

DWORD oapiGetVesselCount() {
    host::Simulation::Impl* s = sim();
    return s ? static_cast<DWORD>(s->vessels.size()) : 0;
}

OBJHANDLE oapiGetObjectByName(char* name) {
    host::Simulation::Impl* s = sim();
    if (!s || !name)
        return nullptr;
    if (host::VesselData* v = s->vesselNamed(name))
        return v;
    return s->earth.name == name ? &s->earth : nullptr;
}

OBJHANDLE oapiGetGbodyByName(char* name) {
    host::Simulation::Impl* s = sim();
    return s && name && s->earth.name == name ? &s->earth : nullptr;
}

bool oapiIsVessel(OBJHANDLE hVessel) {
    host::Simulation::Impl* s = sim();
    return s && host::liveVessel(hVessel);
}

VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel) {
    host::Simulation::Impl* s = sim();
    host::VesselData* v = s ? host::liveVessel(hVessel) : nullptr;
    return v ? v->iface : nullptr;
}

void oapiGetObjectName(OBJHANDLE hObj, char* name, int n) {
    if (!name || n <= 0)
        return;
    HostObject* obj = objectOf(hObj);
    const std::string text = obj ? obj->name : std::string();
    const size_t count = std::min(text.size(), static_cast<size_t>(n - 1));
    std::memcpy(name, text.data(), count);
    name[count] = '\0';
}

OBJHANDLE oapiGetFocusObject() {
    host::Simulation::Impl* s = sim();
    return s ? objectOf(s->focus) : nullptr;
}

// Delivered even to a vessel that does not take focus from the pilot: a
// launcher signals its launch site this way, and the site hands focus back.
OBJHANDLE oapiSetFocusObject(OBJHANDLE hVessel) {
    host::Simulation::Impl* s = sim();
    host::VesselData* v = s ? host::liveVessel(hVessel) : nullptr;
    if (!v || v->pendingDelete)
        return nullptr;
    host::VesselData* previous = s->focus;
    s->changeFocus(v);
    return previous;
}

OBJHANDLE oapiCreateVesselEx(const char* name, const char* classname, const void* status) {
    host::Simulation::Impl* s = sim();
    if (!s || !name || !classname || !status)
        return nullptr;
    try {
        return s->self.createVessel(name, classname, *static_cast<const VESSELSTATUS2*>(status));
    } catch (const std::exception& e) {
        // A module cannot act on the failure; the log says what went wrong,
        // and so does the warning handler, for what is lost is lost for good.
        const std::string what = std::string("could not create ") + name + " (" + classname + "): " + e.what();
        s->record(s->actorName(), what);
        if (s->warn)
            s->warn(s->events.back().line());
        return nullptr;
    }
}

bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE hAlternativeCameraTarget) {
    host::Simulation::Impl* s = sim();
    host::VesselData* v = s ? host::liveVessel(hVessel) : nullptr;
    if (!v)
        return false;
    if (host::VesselData* alt = host::liveVessel(hAlternativeCameraTarget))
        v->handOverTo = alt->name;
    s->self.deleteVessel(v);
    return true;
}

double oapiGetMass(OBJHANDLE hObj) {
    HostObject* obj = objectOf(hObj);
    if (!obj)
        return 0;
    if (obj->isVessel)
        return static_cast<host::VesselData*>(obj)->mass();
    return static_cast<host::CelestialBody*>(obj)->mass;
}

double oapiGetSize(OBJHANDLE hObj) {
    HostObject* obj = objectOf(hObj);
    if (!obj)
        return 0;
    if (obj->isVessel)
        return static_cast<host::VesselData*>(obj)->caps.size;
    return static_cast<host::CelestialBody*>(obj)->radius;
}

// ---------------------------------------------------------------- propellant by handle

namespace {

host::Propellant* anyPropellant(PROPELLANT_HANDLE ph) {
    host::Simulation::Impl* s = sim();
    if (!s || !ph)
        return nullptr;
    for (const auto& v : s->vessels)
        if (host::Propellant* p = host::propellantOf(*v, ph))
            return p;
    return nullptr;
}

}  // namespace

PROPELLANT_HANDLE oapiGetPropellantHandle(OBJHANDLE hVessel, DWORD idx) {
    host::Simulation::Impl* s = sim();
    host::VesselData* v = s ? host::liveVessel(hVessel) : nullptr;
    if (!v || idx >= v->propellants.size())
        return nullptr;
    return reinterpret_cast<PROPELLANT_HANDLE>(v->propellants[idx].get());
}

double oapiGetPropellantMass(PROPELLANT_HANDLE ph) {
    host::Propellant* p = anyPropellant(ph);
    return p ? p->mass : 0;
}

double oapiGetPropellantMaxMass(PROPELLANT_HANDLE ph) {
    host::Propellant* p = anyPropellant(ph);
    return p ? p->maxMass : 0;
}
