// What `fly` checks before flying a payload: that the autopilot has a
// pitch table for its mass, and that the shipped capacity table
// (DATA/capacity.csv) shows the launcher carrying it to the target orbit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CapacityTable.h"
#include "Missions.h"

namespace tarviksim {

// The shipped capacity table of a data folder, DATA/capacity.csv; empty when
// the folder has none. Throws host::InputError for a table that cannot be read.
std::vector<CapacityRow> shippedCapacity(const std::string& dataDir);
std::string shippedCapacityPath(const std::string& dataDir);

// Why the payload is more than the launcher can carry to the mission's
// orbit, in one line with the numbers (payload, capacity, the case), or none.
// `table` is where the rows came from, for the message.
std::optional<std::string> overCapacity(const CheckedMission& mission, const std::vector<CapacityRow>& rows,
                                        const std::string& table);

}  // namespace tarviksim
