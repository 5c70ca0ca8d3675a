// The run's summary as JSON: time, date, focus, every vessel's state, the
// texts on screen and the open dialogs. Numbers are rounded (3 decimals, the
// date 6) so that a scenario saved at the end and loaded again gives the same
// summary (dialogs aside: a scenario does not keep them open).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "sim/Simulation.h"

namespace tarviksim {

nlohmann::ordered_json summary(host::Simulation& sim);

// The summary as the file holds it. A text that is not UTF-8 (a module's
// note in another encoding) shows with U+FFFD in place of its bad bytes
// rather than stopping the summary.
std::string summaryText(host::Simulation& sim);

// The open dialogs in opening order, each with its id, module, caption and
// its controls' texts by id (ascending; a drop-down list's is its selected
// entry), the entries of its drop-down lists and the ids of its checked
// buttons. Controls without an id are left out.
nlohmann::ordered_json dialogSummary();

// The focus vessel's orbit for a person to read, from the summary's values:
// "TarvikM52: apoapsis 350.2 km, periapsis 349.8 km, inclination 28.60 deg,
// propellant 1234 kg" (a landed vessel "stands on the ground").
std::string orbitLine(host::Simulation& sim);

}  // namespace tarviksim
