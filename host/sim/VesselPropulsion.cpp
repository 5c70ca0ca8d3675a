// Propellant resources, thrusters and thruster groups. Handles are checked
// against the vessel's own lists, so a module-wide handle that outlived its
// thruster (after ClearThrusterDefinitions) or belongs to another vessel of
// the same module does nothing instead of touching freed memory.
#include <algorithm>
#include <atomic>
#include <cmath>

#include "CurrentSimulation.h"
#include "ThrusterLevels.h"
#include "VesselAccess.h"

using host::recordOf;

namespace host {

Thruster* thrusterOf(const VesselData& v, THRUSTER_HANDLE th) {
    for (const auto& t : v.thrusters)
        if (reinterpret_cast<THRUSTER_HANDLE>(t.get()) == th)
            return t.get();
    return nullptr;
}

Propellant* propellantOf(const VesselData& v, PROPELLANT_HANDLE ph) {
    for (const auto& p : v.propellants)
        if (reinterpret_cast<PROPELLANT_HANDLE>(p.get()) == ph)
            return p.get();
    return nullptr;
}

ThrusterGroup* groupOf(const VesselData& v, THGROUP_HANDLE thg) {
    for (const auto& g : v.groups)
        if (reinterpret_cast<THGROUP_HANDLE>(g.get()) == thg)
            return g.get();
    return nullptr;
}

}  // namespace host

namespace {

double clampLevel(double level) {
    return std::isnan(level) ? 0 : std::clamp(level, 0.0, 1.0);
}

PROPELLANT_HANDLE handleOf(host::Propellant* p) {
    return reinterpret_cast<PROPELLANT_HANDLE>(p);
}
THRUSTER_HANDLE handleOf(host::Thruster* t) {
    return reinterpret_cast<THRUSTER_HANDLE>(t);
}
THGROUP_HANDLE handleOf(host::ThrusterGroup* g) {
    return reinterpret_cast<THGROUP_HANDLE>(g);
}

// A new propulsion layout stamp: one count for all vessels, so that no two
// layouts share a stamp.
void propulsionChanged(host::VesselData& v) {
    static std::atomic<uint64_t> layouts{0};
    v.propulsionLayout = ++layouts;
}

// Everything that refers to a thruster goes with it.
void forgetThruster(host::VesselData& v, const host::Thruster* t) {
    propulsionChanged(v);
    for (auto& g : v.groups)
        std::erase(g->thrusters, t);
    std::erase_if(v.exhausts, [&](const host::Exhaust& e) { return e.thruster == t; });
    std::erase_if(v.streams, [&](const host::Stream& s) { return s.thruster == t; });
}

void eraseThruster(host::VesselData& v, host::Thruster* t) {
    forgetThruster(v, t);
    std::erase_if(v.thrusters, [&](const auto& p) { return p.get() == t; });
    host::thrustersRenumbered(v);
}

void eraseGroup(host::VesselData& v, host::ThrusterGroup* g, bool withThrusters) {
    propulsionChanged(v);
    std::vector<host::Thruster*> members = g->thrusters;
    std::erase_if(v.groups, [&](const auto& p) { return p.get() == g; });
    if (withThrusters)
        for (host::Thruster* t : members)
            eraseThruster(v, t);
}

// A dispersed run's engines: those of the main group fly with the main
// factors, those in no group (solid boosters, side cores) with the
// boosters', those of any other group (attitude, hover) as set. An engine
// takes its factors from what the module set whenever its group changes,
// so a factor is never applied twice.
void disperseEngines(host::VesselData& v) {
    propulsionChanged(v);  // called whenever a thruster or a group is added or goes
    const host::Dispersion* dispersion = host::currentDispersion();
    if (!dispersion)
        return;
    const host::Dispersion& d = *dispersion;
    for (auto& t : v.thrusters) {
        bool main = false, grouped = false;
        for (const auto& g : v.groups)
            if (std::find(g->thrusters.begin(), g->thrusters.end(), t.get()) != g->thrusters.end()) {
                grouped = true;
                main = main || g->type == THGROUP_MAIN;
            }
        const double thrust = main ? d.thrustMain() : grouped ? 1 : d.thrustBoosters();
        const double isp = main ? d.ispMain() : grouped ? 1 : d.ispBoosters();
        t->maxThrust = t->setThrust * thrust;
        t->ispVac = t->setIspVac * isp;
        t->ispRef = t->setIspRef * isp;
    }
}

}  // namespace

// ---------------------------------------------------------------- propellant

PROPELLANT_HANDLE VESSEL::CreatePropellantResource(double maxmass, double mass, double efficiency) const {
    auto& v = recordOf(hVessel);
    // A dispersed run loads each tank it creates by the load factor. A stage
    // set-up that carries propellant over into a new tank sets its content
    // afterwards (SetPropellantMass, not scaled), so it is not scaled twice.
    const double load = host::dispersed(&host::Dispersion::propellantLoad);
    auto p = std::make_unique<host::Propellant>();
    p->maxMass = std::max(0.0, maxmass * load);
    p->mass = mass < 0 ? p->maxMass : std::min(mass * load, p->maxMass);
    p->efficiency = efficiency;
    v.propellants.push_back(std::move(p));
    return handleOf(v.propellants.back().get());
}

void VESSEL::DelPropellantResource(PROPELLANT_HANDLE& ph) const {
    auto& v = recordOf(hVessel);
    host::Propellant* p = host::propellantOf(v, ph);
    if (!p)
        return;
    propulsionChanged(v);
    for (auto& t : v.thrusters)
        if (t->resource == p)
            t->resource = nullptr;
    std::erase_if(v.propellants, [&](const auto& q) { return q.get() == p; });
    ph = nullptr;
}

void VESSEL::ClearPropellantResources() const {
    auto& v = recordOf(hVessel);
    propulsionChanged(v);
    for (auto& t : v.thrusters)
        t->resource = nullptr;
    v.propellants.clear();
}

void VESSEL::SetPropellantMass(PROPELLANT_HANDLE ph, double mass) const {
    if (host::Propellant* p = host::propellantOf(recordOf(hVessel), ph))
        if (!std::isnan(mass))
            p->mass = std::clamp(mass, 0.0, p->maxMass);
}

void VESSEL::SetPropellantMaxMass(PROPELLANT_HANDLE ph, double maxmass) const {
    if (host::Propellant* p = host::propellantOf(recordOf(hVessel), ph)) {
        if (std::isnan(maxmass))
            return;
        p->maxMass = std::max(0.0, maxmass * host::dispersed(&host::Dispersion::propellantLoad));
        p->mass = std::min(p->mass, p->maxMass);
    }
}

double VESSEL::GetPropellantMass(PROPELLANT_HANDLE ph) const {
    host::Propellant* p = host::propellantOf(recordOf(hVessel), ph);
    return p ? p->mass : 0;
}

double VESSEL::GetPropellantMaxMass(PROPELLANT_HANDLE ph) const {
    host::Propellant* p = host::propellantOf(recordOf(hVessel), ph);
    return p ? p->maxMass : 0;
}

PROPELLANT_HANDLE VESSEL::GetPropellantHandleByIndex(DWORD idx) const {
    auto& v = recordOf(hVessel);
    return idx < v.propellants.size() ? handleOf(v.propellants[idx].get()) : nullptr;
}

DWORD VESSEL::GetPropellantCount() const {
    return static_cast<DWORD>(recordOf(hVessel).propellants.size());
}

// The default propellant resource is the first one created, as in the
// simulator: a stage set-up that carries "the fuel mass" into a new tank
// carries that tank's content only.
double VESSEL::GetFuelMass() const {
    auto& v = recordOf(hVessel);
    return v.propellants.empty() ? 0 : v.propellants.front()->mass;
}
double VESSEL::GetMaxFuelMass() const {
    auto& v = recordOf(hVessel);
    return v.propellants.empty() ? 0 : v.propellants.front()->maxMass;
}
double VESSEL::GetTotalPropellantMass() const {
    return recordOf(hVessel).propellantMass();
}

// ---------------------------------------------------------------- thrusters

THRUSTER_HANDLE VESSEL::CreateThruster(const VECTOR3& pos, const VECTOR3& dir, double maxth0, PROPELLANT_HANDLE hp,
                                       double isp0, double isp_ref, double p_ref) const {
    auto& v = recordOf(hVessel);
    auto t = std::make_unique<host::Thruster>();
    t->pos = pos;
    t->dir = dir;
    t->maxThrust = t->setThrust = maxth0;
    t->resource = host::propellantOf(v, hp);
    t->ispVac = t->setIspVac = isp0;
    t->ispRef = t->setIspRef = isp_ref;
    t->pRef = p_ref;
    v.thrusters.push_back(std::move(t));
    host::thrustersRenumbered(v);
    disperseEngines(v);
    return handleOf(v.thrusters.back().get());
}

bool VESSEL::DelThruster(THRUSTER_HANDLE& th) const {
    auto& v = recordOf(hVessel);
    host::Thruster* t = host::thrusterOf(v, th);
    if (!t)
        return false;
    eraseThruster(v, t);
    th = nullptr;
    return true;
}

void VESSEL::ClearThrusterDefinitions() const {
    auto& v = recordOf(hVessel);
    propulsionChanged(v);
    v.exhausts.clear();
    v.streams.clear();
    v.groups.clear();
    v.thrusters.clear();
    host::thrustersRenumbered(v);
}

DWORD VESSEL::GetThrusterCount() const {
    return static_cast<DWORD>(recordOf(hVessel).thrusters.size());
}

THRUSTER_HANDLE VESSEL::GetThrusterHandleByIndex(DWORD idx) const {
    auto& v = recordOf(hVessel);
    return idx < v.thrusters.size() ? handleOf(v.thrusters[idx].get()) : nullptr;
}

void VESSEL::SetThrusterLevel(THRUSTER_HANDLE th, double level) const {
    auto& v = recordOf(hVessel);
    if (host::Thruster* t = host::thrusterOf(v, th))
        host::setThrusterLevel(v, *t, clampLevel(level));
}

double VESSEL::GetThrusterLevel(THRUSTER_HANDLE th) const {
    host::Thruster* t = host::thrusterOf(recordOf(hVessel), th);
    return t ? host::effectiveThrusterLevel(*t) : 0;
}

void VESSEL::SetThrusterDir(THRUSTER_HANDLE th, const VECTOR3& dir) const {
    if (host::Thruster* t = host::thrusterOf(recordOf(hVessel), th))
        t->dir = dir;
}

void VESSEL::GetThrusterDir(THRUSTER_HANDLE th, VECTOR3& dir) const {
    host::Thruster* t = host::thrusterOf(recordOf(hVessel), th);
    dir = t ? t->dir : _V(0, 0, 0);
}

void VESSEL::SetThrusterRef(THRUSTER_HANDLE th, const VECTOR3& pos) const {
    if (host::Thruster* t = host::thrusterOf(recordOf(hVessel), th))
        t->pos = pos;
}

void VESSEL::GetThrusterRef(THRUSTER_HANDLE th, VECTOR3& pos) const {
    host::Thruster* t = host::thrusterOf(recordOf(hVessel), th);
    pos = t ? t->pos : _V(0, 0, 0);
}

double VESSEL::GetThrusterMax0(THRUSTER_HANDLE th) const {
    host::Thruster* t = host::thrusterOf(recordOf(hVessel), th);
    return t ? t->maxThrust : 0;
}

PROPELLANT_HANDLE VESSEL::GetThrusterResource(THRUSTER_HANDLE th) const {
    host::Thruster* t = host::thrusterOf(recordOf(hVessel), th);
    return t ? handleOf(t->resource) : nullptr;
}

void VESSEL::SetThrusterResource(THRUSTER_HANDLE th, PROPELLANT_HANDLE ph) const {
    auto& v = recordOf(hVessel);
    if (host::Thruster* t = host::thrusterOf(v, th)) {
        t->resource = host::propellantOf(v, ph);
        propulsionChanged(v);
    }
}

// ---------------------------------------------------------------- groups

THGROUP_HANDLE VESSEL::CreateThrusterGroup(THRUSTER_HANDLE* th, int nth, THGROUP_TYPE thgt) const {
    auto& v = recordOf(hVessel);
    // One group per standard type: a new definition replaces the old one.
    if (thgt != THGROUP_USER)
        if (host::ThrusterGroup* old = v.group(thgt))
            eraseGroup(v, old, false);
    auto g = std::make_unique<host::ThrusterGroup>();
    g->type = thgt;
    for (int i = 0; th && i < nth; ++i)
        if (host::Thruster* t = host::thrusterOf(v, th[i]))
            g->thrusters.push_back(t);
    v.groups.push_back(std::move(g));
    disperseEngines(v);
    return handleOf(v.groups.back().get());
}

bool VESSEL::DelThrusterGroup(THGROUP_HANDLE& thg, THGROUP_TYPE thgt, bool delth) const {
    auto& v = recordOf(hVessel);
    host::ThrusterGroup* g = host::groupOf(v, thg);
    if (!g)
        return false;
    eraseGroup(v, g, delth);
    disperseEngines(v);
    thg = nullptr;
    return true;
}

bool VESSEL::DelThrusterGroup(THGROUP_TYPE thgt, bool delth) const {
    auto& v = recordOf(hVessel);
    host::ThrusterGroup* g = v.group(thgt);
    if (!g)
        return false;
    eraseGroup(v, g, delth);
    disperseEngines(v);
    return true;
}

THGROUP_HANDLE VESSEL::GetThrusterGroupHandle(THGROUP_TYPE thgt) const {
    return handleOf(recordOf(hVessel).group(thgt));
}

void VESSEL::SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const {
    auto& v = recordOf(hVessel);
    if (host::ThrusterGroup* g = v.group(thgt))
        for (host::Thruster* t : g->thrusters)
            host::setThrusterLevel(v, *t, clampLevel(level));
}

void VESSEL::SetThrusterGroupLevel(THGROUP_HANDLE thg, double level) const {
    auto& v = recordOf(hVessel);
    if (host::ThrusterGroup* g = host::groupOf(v, thg))
        for (host::Thruster* t : g->thrusters)
            host::setThrusterLevel(v, *t, clampLevel(level));
}

namespace {

double meanLevel(const host::ThrusterGroup* g) {
    if (!g || g->thrusters.empty())
        return 0;
    // A group of one (a main engine) is that thruster's level: x / 1 is x,
    // without the division's wait.
    if (g->thrusters.size() == 1)
        return host::effectiveThrusterLevel(*g->thrusters.front());
    double sum = 0;
    for (const host::Thruster* t : g->thrusters)
        sum += host::effectiveThrusterLevel(*t);
    return sum / static_cast<double>(g->thrusters.size());
}

}  // namespace

double VESSEL::GetThrusterGroupLevel(THGROUP_TYPE thgt) const {
    return meanLevel(recordOf(hVessel).group(thgt));
}

double VESSEL::GetThrusterGroupLevel(THGROUP_HANDLE thg) const {
    return meanLevel(host::groupOf(recordOf(hVessel), thg));
}
