// A dispersed run's draws as the run's records hold them: the summary and
// report.json carry {"seed": S, "thrust": 1.0042, ...}, every name of the
// dispersion file's table with its drawn value (1, or 0 s for the delay,
// where the file gives none).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "sim/Dispersions.h"

namespace tarviksim {

nlohmann::ordered_json dispersionJson(const host::Dispersion& d);
// Throws std::runtime_error for JSON that is not such a record.
host::Dispersion dispersionFromJson(const nlohmann::json& j);

// For a person: "seed 42 (data/dispersions/default.txt): thrust.main 1.00421,
// ..., launch.delay 12.3 s", the values off nominal only; dispersionValues
// is the part after the colon.
std::string dispersionLine(const host::Dispersion& d, const std::string& file);
std::string dispersionValues(const host::Dispersion& d);

}  // namespace tarviksim
