// A vessel has many thrusters (a launcher's attitude jets, a pad's vents) and
// few of them fire at once. Each vessel keeps a list of those in use: every
// thruster whose level or single-step level was set to anything but 0, or
// that the event log shows lit, in the thrusters' order. The physics and the
// event check look at those only, so a thruster not in use is off, has no
// single-step level, acted at level 0 in the last step and is shown out.
// Every write of a level goes through here.
#pragma once

#include "VesselData.h"

namespace host {

// t.level = level (already clamped).
void setThrusterLevel(VesselData& v, Thruster& t, double level);

// t.singleStepLevel += level, for this step only.
void addSingleStepLevel(VesselData& v, Thruster& t, double level);

// After a thruster was added or went: the places renumbered, and the list
// holding only thrusters that are still there, with room for all of them.
void thrustersRenumbered(VesselData& v);

// Takes out of use the thrusters that are off, have no single-step level and
// are shown out: called where the step has just set their acting level to 0.
void dropIdleThrusters(VesselData& v);

}  // namespace host
