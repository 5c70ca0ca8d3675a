// One tarvik-sim run: load the scenario, play the script while stepping the
// simulation, and write the events, telemetry, summary and final scenario.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "Script.h"
#include "sim/Dispersions.h"

namespace tarviksim {

// Without --duration a run ends at the script's stop, at most after
// maxDuration when the script has a stop or a waitfor, else after
// defaultDuration [s of simulation time].
constexpr double defaultDuration = 600;

struct Options {
    std::string scenario;
    std::string script;    // empty: no script
    double duration = -1;  // < 0: defaultDurationOf(script), or the script's stop before it
    double fps = 60;
    double telemetryInterval = 1;
    std::string dataDir;
    std::string rootDir;                           // the host's root folder; outputs not given go here
    std::string events, telemetry, summary, save;  // empty: <rootDir>/events.log, ...
    std::optional<host::Dispersion> dispersion;    // a dispersed run's draws (sim/Dispersions.h)
};

// The scenario file a name stands for: as given, else under <data>/Scenarios/
// (with ".scn" added when missing); throws host::InputError when there is none.
std::string findScenario(const std::string& name, const std::string& dataDir);

double defaultDurationOf(const Script& script);

struct RunResult {
    // Empty when the run got what its script waited for; otherwise
    // "FILE:LINE: 'TEXT' not shown within TIMEOUT s" (or "... before the run
    // ended at END s" when the end of the run cut the wait short).
    std::string unmetWait;
};

// Runs the session, writes its outputs (also when a wait is not met) and
// reports where each went and the focus vessel's final orbit on `report`.
// `progress`, when given, gets a line now and then (with '\r', for a
// terminal). Throws host::InputError for bad input (scenario, script, a
// command that cannot be carried out).
RunResult runSession(Options options, std::ostream& report, std::ostream& warnings, std::ostream* progress = nullptr);

}  // namespace tarviksim
