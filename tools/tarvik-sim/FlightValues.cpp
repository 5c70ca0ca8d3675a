#include "FlightValues.h"

#include <cmath>

namespace tarviksim {

FlightValues flightValues(host::Simulation& sim, host::VesselData& v) {
    FlightValues f;
    VESSEL* vessel = v.iface;
    if (!vessel)
        return f;
    const double radius = sim.earth()->radius;
    OBJHANDLE handle = vessel->GetHandle();

    f.landed = v.state.landed;
    f.altitude = vessel->GetAltitude();
    f.airspeed = vessel->GetAirspeed();
    oapiGetPitch(handle, &f.pitch);
    oapiGetHeading(handle, &f.heading);
    f.pitch *= DEG;
    f.heading *= DEG;

    double apoapsis = 0, periapsis = 0;
    vessel->GetApDist(apoapsis);
    vessel->GetPeDist(periapsis);
    f.apoapsisAlt = (apoapsis - radius) / 1000;
    f.periapsisAlt = (periapsis - radius) / 1000;
    ELEMENTS el{};
    ORBITPARAM prm{};
    if (vessel->GetElements(sim.earth(), el, &prm, 0, FRAME_EQU)) {
        f.inclination = el.i * DEG;
        f.apoapsisTime = prm.ApT;
    }

    double longitude = 0, latitude = 0, distance = 0;
    oapiGetEquPos(handle, &longitude, &latitude, &distance);
    f.latitude = latitude * DEG;
    f.longitude = std::remainder(longitude * DEG, 360.0);
    VECTOR3 air{};
    vessel->GetHorizonAirspeedVector(air);  // east, up, north
    const double horizontal = std::hypot(air.x, air.z);
    if (horizontal > 0 || air.y != 0)
        f.flightPath = std::atan2(air.y, horizontal) * DEG;
    VECTOR3 velocity{};
    vessel->GetRelativeVel(sim.earth(), velocity);
    f.orbitalSpeed = std::sqrt(velocity.x * velocity.x + velocity.y * velocity.y + velocity.z * velocity.z);

    f.mass = vessel->GetMass();
    f.propellant = vessel->GetTotalPropellantMass();
    f.mainLevel = vessel->GetThrusterGroupLevel(THGROUP_MAIN);
    return f;
}

}  // namespace tarviksim
