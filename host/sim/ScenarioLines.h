// The host's own lines of a vessel block in a scenario: status, position or
// state vectors, attitude, propellant and thruster levels, navigation modes.
// They are written first in every block and read by the host; every other
// line belongs to the vessel's module.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "VesselData.h"

namespace host {

struct ScenarioVesselLines {
    bool landed = true;
    double lng = 0, lat = 0, heading = 0;                  // [rad] while landed
    VECTOR3 rpos{}, rvel{};                                // [m], [m/s] in free flight
    VECTOR3 arot{}, vrot{};                                // [rad], [rad/s]
    std::vector<std::pair<int, double>> propellantLevels;  // tank index, level
    std::vector<std::pair<int, double>> thrusterLevels;
    std::vector<int> navmodes;
    bool changedByModule = false;  // a module handed a host line to ParseScenarioLineEx
};

enum class HostLine { NotHost, Taken, Bad };

// Reads one line if it is a host line; on Bad, `problem` says why.
HostLine parseHostLine(const std::string& line, ScenarioVesselLines& lines, std::string& problem);

// Appends the host lines of v to text ("  STATUS Landed Earth\n" ...).
void writeHostLines(const VesselData& v, double mjd, std::string& text);

// Puts the vessel where the lines say, with their levels and modes.
void applyHostLines(VesselData& v, const ScenarioVesselLines& lines, double mjd, bool withPropellant = true);

// Tank levels by index; the state a module's tank rebuild must not lose.
void applyPropellantLevels(VesselData& v, const ScenarioVesselLines& lines);

}  // namespace host
