#include "Propulsion.h"

#include <algorithm>

#include "../sim/ThrusterLevels.h"

namespace host::physics {

namespace {

// Thrust falls with ambient pressure as the specific impulse does.
double pressureFactor(const Thruster& t, double pressure) {
    if (t.ispRef <= 0 || t.ispVac <= 0 || t.pRef <= 0)
        return 1;
    return std::max(0.0, 1 - pressure * (t.ispVac - t.ispRef) / (t.pRef * t.ispVac));
}

// Propellant flow at level 1 [kg/s]. A thruster without a usable specific
// impulse burns nothing rather than an infinite amount.
double fullFlow(const Thruster& t) {
    if (t.ispVac <= 0 || t.maxThrust <= 0 || !t.resource)
        return 0;
    const double efficiency = t.resource->efficiency > 0 ? t.resource->efficiency : 1;
    return t.maxThrust / (efficiency * t.ispVac);
}

bool fed(const Thruster& t) {
    return t.resource && t.resource->mass > 0;
}

}  // namespace

VECTOR3 thrustVector(const Thruster& t, double pressure) {
    return t.dir * (t.maxThrust * pressureFactor(t, pressure));
}

// Only thrusters in use can fire (ThrusterLevels.h); the others acted at
// level 0 already. They are taken in the thrusters' order, as the sums below
// need.
PropulsionLoads runThrusters(VesselData& v, double pressure, double dt) {
    bool firing = false;
    for (Thruster* t : v.thrustersInUse) {
        const double wanted = t->level + t->singleStepLevel;
        // Most thrusters are off: the level is asked before the tank.
        t->effectiveLevel = wanted > 0 && fed(*t) ? std::min(wanted, 1.0) : 0.0;  // NaN reads 0
        firing |= t->effectiveLevel > 0;
    }
    dropIdleThrusters(v);
    PropulsionLoads loads;
    if (!firing)
        return loads;

    // Each tank gives what its thrusters ask for, or shares out what is left.
    // A thruster that does not fire burns nothing, whatever its flow would be.
    // The demands are summed tank by tank in the thrusters' order.
    for (auto& tank : v.propellants)
        tank->demand = 0;
    for (const Thruster* t : v.thrustersInUse)
        if (t->effectiveLevel > 0)
            t->resource->demand += t->effectiveLevel * fullFlow(*t) * dt;
    for (auto& tank : v.propellants) {
        const double demand = tank->demand;
        if (demand <= 0)
            continue;
        if (demand <= tank->mass) {
            tank->mass -= demand;
            continue;
        }
        const double share = tank->mass / demand;
        for (auto& t : v.thrusters)
            if (t->resource == tank.get())
                t->effectiveLevel *= share;
        tank->mass = 0;
    }

    for (const Thruster* t : v.thrustersInUse) {
        if (t->effectiveLevel <= 0)
            continue;
        const VECTOR3 f = thrustVector(*t, pressure) * t->effectiveLevel;
        loads.force += f;
        loads.torque += crossp(f, t->pos);  // F x r: the simulator's left-handed sense
        loads.active = true;
    }
    return loads;
}

VECTOR3 groupTorque(const VesselData& v, THGROUP_TYPE type, double pressure) {
    VECTOR3 torque{};
    if (const ThrusterGroup* g = v.group(type))
        for (const Thruster* t : g->thrusters)
            if (fed(*t))
                torque += crossp(thrustVector(*t, pressure), t->pos);
    return torque;
}

void clearSingleStepLevels(VesselData& v) {
    for (Thruster* t : v.thrustersInUse)
        t->singleStepLevel = 0;
}

bool thrustAsked(const VesselData& v) {
    for (const Thruster* t : v.thrustersInUse)
        if (fed(*t) && t->level + t->singleStepLevel > 0)
            return true;
    return false;
}

void idleThrusters(VesselData& v) {
    for (Thruster* t : v.thrustersInUse) {
        t->effectiveLevel = 0;
        t->singleStepLevel = 0;
    }
    dropIdleThrusters(v);
}

}  // namespace host::physics
