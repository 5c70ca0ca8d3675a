// The flight physics the step loop runs, and the state conversions the
// vessel interface needs. Earth is spherical, its frame inertial, equatorial
// and left-handed, y toward the north pole (see Earth.h for its constants and
// the rotation angle at a date).
#pragma once

#include <vector>

#include "../sim/VesselData.h"

namespace host::physics {

// One physics update of every vessel over dt seconds of simulation time,
// after the pre-step callbacks and before the post-step ones. simt and mjd are
// the time at the start of the step; afterwards each state refers to
// mjd + dt / 86400. Landed vessels stay where they stand until their thrust
// lifts them; the single-step thruster levels are cleared.
void step(const std::vector<VesselData*>& vessels, double simt, double dt, double mjd);

// Stand a vessel on the ground at (lng, lat) with the given heading [rad],
// resting on its touchdown points, fixed to the rotating Earth.
void placeLanded(VesselData& v, double lng, double lat, double heading, double mjd);

// The state record as the simulator hands it out and takes it back. Status 1
// stands the vessel at surf_lng/surf_lat/surf_hdg; the fuel and thruster lists
// apply levels when their flags are set. fillStatus names `earth` as the
// reference body; applyStatus takes a position and velocity relative to
// `reference`, the live vessel the record's rbody names (null when it names
// the Earth, or nothing that is alive: the record is then global).
void fillStatus(const VesselData& v, VESSELSTATUS2& status, double mjd, OBJHANDLE earth);
void applyStatus(VesselData& v, const VESSELSTATUS2& status, double mjd, const VesselData* reference);

// The same within the current simulation: its Earth, and rbody checked
// against its live vessels (defined by the simulation, host/sim/VesselState.cpp).
void fillStatus(const VesselData& v, VESSELSTATUS2& status, double mjd);
void applyStatus(VesselData& v, const VESSELSTATUS2& status, double mjd);

}  // namespace host::physics
