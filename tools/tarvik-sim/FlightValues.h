// What tarvik-sim reports about a vessel, read through the simulator's own
// vessel interface as a pilot's instruments would read it.
#pragma once

#include "sim/Simulation.h"

namespace tarviksim {

struct FlightValues {
    bool landed = false;
    double altitude = 0;      // m
    double airspeed = 0;      // m/s
    double pitch = 0;         // deg
    double heading = 0;       // deg
    double apoapsisAlt = 0;   // km above the surface
    double periapsisAlt = 0;  // km above the surface
    double inclination = 0;   // deg, equatorial frame
    double mass = 0;          // kg
    double propellant = 0;    // kg
    double mainLevel = 0;     // main thruster group level
};

FlightValues flightValues(host::Simulation& sim, host::VesselData& v);

}  // namespace tarviksim
