// The physics step: each vessel in turn, the models in their fixed order.
#include "Physics.h"

#include "Aerodynamics.h"
#include "Earth.h"
#include "Ground.h"
#include "Integration.h"
#include "Navmodes.h"
#include "Propulsion.h"

namespace host::physics {

namespace {

void stepVessel(VesselData& v, double dt, double mjdEnd) {
    const double pressure = atmosphereAt(altitudeOf(v.state.pos)).pressure;
    steerByNavmodes(v, pressure, dt);
    const double massStart = v.mass();
    const PropulsionLoads thrust = runThrusters(v, pressure, dt);
    const double massEnd = v.mass();
    if (!v.state.landed || holdOnGround(v, thrust, massStart, mjdEnd)) {
        fly(v, thrust, massStart, massEnd, dt);  // gravity, aerodynamics, attitude, orbit
        v.state.mjd = mjdEnd;
        touchGround(v, mjdEnd);
    }
    clearSingleStepLevels(v);
}

}  // namespace

void step(const std::vector<VesselData*>& vessels, double simt, double dt, double mjd) {
    if (!(dt > 0))
        return;
    const double mjdEnd = mjd + dt / 86400.0;
    for (VesselData* v : vessels)
        if (v)
            stepVessel(*v, dt, mjdEnd);
}

}  // namespace host::physics
