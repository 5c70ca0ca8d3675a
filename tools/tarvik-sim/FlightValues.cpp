#include "FlightValues.h"

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
    if (vessel->GetElements(sim.earth(), el, nullptr, 0, FRAME_EQU))
        f.inclination = el.i * DEG;

    f.mass = vessel->GetMass();
    f.propellant = vessel->GetTotalPropellantMass();
    f.mainLevel = vessel->GetThrusterGroupLevel(THGROUP_MAIN);
    return f;
}

}  // namespace tarviksim
