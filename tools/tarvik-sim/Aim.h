// An aimed mission: the mission flown, then flown again with a better "+/-"
// correction (and, for a launch into a plane, a better moment of LAUNCH)
// until the orbit is the one asked for, at most four times, each flight a
// whole `fly` of its own in ROOT/flight-N. The launcher's guidance is left
// as it is: what changes between flights is only what the pilot types and
// when LAUNCH is pressed.
#pragma once

#include <iosfwd>

#include "AimPlanner.h"
#include "Fly.h"

namespace tarviksim {

// A launch into a plane is within its aim once its plane lies this close to
// the target's [deg].
inline constexpr double kPlaneTolerance = 0.01;

// Flies the aimed mission and writes ROOT/report.json: the report of the
// flight kept (the one within the aim, else the closest), with every flight
// and the correction to type in its "aim". That flight's plots are drawn.
// Throws as flyMission does.
FlightReport flyAimed(const FlyOptions& options, std::ostream& warnings, std::ostream* progress,
                      const AimRule& rule = {});

}  // namespace tarviksim
