// How the host's VESSEL code reaches its record, and checks on the handles a
// module passes back: a handle that is not (or no longer) the vessel's own is
// ignored instead of being followed.
#pragma once

#include <algorithm>
#include <cmath>

#include "VesselData.h"

namespace host {

inline VesselData& dataOf(OBJHANDLE h) {
    return settled(*static_cast<VesselData*>(h));
}

// The record as the last step left it, rest pending or not: for the calls
// that neither read the pose nor change what it is worked out from
// (thrusters, tanks, animations, effects, meshes). A pad switching its lights
// every frame is then not stood on the turning Earth every frame.
inline VesselData& recordOf(OBJHANDLE h) {
    return *static_cast<VesselData*>(h);
}

// The live vessel a handle from a module names, or null: a handle of a vessel
// that has been deleted is never followed.
VesselData* liveVessel(OBJHANDLE h);

Thruster* thrusterOf(const VesselData& v, THRUSTER_HANDLE th);
Propellant* propellantOf(const VesselData& v, PROPELLANT_HANDLE ph);
ThrusterGroup* groupOf(const VesselData& v, THGROUP_HANDLE thg);

// The level a thruster shows and acts with: its level (plus a single-step
// level), clamped to [0, 1], and 0 without propellant. Asked of every
// thruster every frame, so inline.
inline double effectiveThrusterLevel(const Thruster& t) {
    if (!t.resource || !(t.resource->mass > 0))
        return 0;
    const double level = t.level + t.singleStepLevel;
    return std::isnan(level) ? 0 : std::clamp(level, 0.0, 1.0);
}

// effectiveThrusterLevel(t) > 0, without the clamp, the level asked first
// (most thrusters are off).
inline bool thrusterLit(const Thruster& t) {
    return t.level + t.singleStepLevel > 0 && t.resource && t.resource->mass > 0;
}

}  // namespace host
