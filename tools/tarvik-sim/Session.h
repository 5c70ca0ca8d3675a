// One tarvik-sim run: load the scenario, play the script while stepping the
// simulation, and write the events, telemetry, summary and final scenario.
#pragma once

#include <iosfwd>
#include <string>

#include "Script.h"

namespace tarviksim {

constexpr double defaultDuration = 600;  // s of simulation time when neither --duration nor stop ends the run

struct Options {
    std::string scenario;
    std::string script;    // empty: no script
    double duration = -1;  // < 0: until the script's stop, at most defaultDuration
    double fps = 60;
    double telemetryInterval = 1;
    std::string dataDir;
    std::string rootDir;                           // the host's root folder; outputs not given go here
    std::string events, telemetry, summary, save;  // empty: <rootDir>/events.log, ...
};

// The scenario file a name stands for: as given, else under <data>/Scenarios/
// (with ".scn" added when missing); throws host::InputError when there is none.
std::string findScenario(const std::string& name, const std::string& dataDir);

// Runs the session and reports where each output went on `report`. Throws
// host::InputError for bad input (scenario, script, a command that cannot be
// carried out).
void runSession(Options options, std::ostream& report, std::ostream& warnings);

}  // namespace tarviksim
