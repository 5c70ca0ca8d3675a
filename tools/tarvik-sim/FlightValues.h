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
    double latitude = 0;      // deg, north positive
    double longitude = 0;     // deg, east positive, -180 to 180
    double flightPath = 0;    // deg, the velocity relative to the atmosphere above the local horizon (0 at rest)
    double orbitalSpeed = 0;  // m/s, relative to the Earth's centre, not turning with it
    double apoapsisTime = 0;  // s to the next apoapsis passage
};

FlightValues flightValues(host::Simulation& sim, host::VesselData& v);

}  // namespace tarviksim
