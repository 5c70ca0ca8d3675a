// The run's summary as JSON: time, date, focus, every vessel's state and the
// texts on screen. Numbers are rounded (3 decimals, the date 6) so that a
// scenario saved at the end and loaded again gives the same summary.
#pragma once

#include <nlohmann/json.hpp>

#include "sim/Simulation.h"

namespace tarviksim {

nlohmann::ordered_json summary(host::Simulation& sim);

}  // namespace tarviksim
