// A mission in one command: the launcher's pad scenario, the autopilot
// dialog filled in and LAUNCH pressed the way a pilot (and a session script)
// does it, the flight stepped to "Autopilot Complete" or to another clear
// end, and the report, outputs and plots written.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "Missions.h"
#include "PlaneLaunch.h"
#include "Report.h"

namespace tarviksim {

struct FlyOptions {
    Mission mission;
    std::string dataDir;
    std::string rootDir = "tarvik-run";  // outputs, and the host's root folder
    double fps = 60;
    double timeLimit = 86400;  // s of simulation time from the scenario's start
    // The pilot's time acceleration while the autopilot coasts after cut-off
    // (1: real time throughout): this far from the apoapsis, at most 10
    // nearer it and once circularising (Fly.cpp). So flown, the whole default
    // matrix reports exactly what it reports in real time.
    double coastWarp = 100;
    bool plots = true;
    // The dialog's pictures before LAUNCH and at the end (a series of
    // hundreds of dispersed runs goes without them; its session scripts
    // still take them when played).
    bool pictures = true;
    // A launch timed into a plane: the pilot waits on the pad and presses
    // LAUNCH at the plan's moment (and picks its target in the orbit list).
    std::optional<LaunchPlan> plan;
    // A dispersed run (sim/Dispersions.h): the host flies it with these
    // draws, and the pilot presses LAUNCH the drawn delay later.
    std::optional<host::Dispersion> dispersion;
    std::string dispersionFile;  // where its distributions came from, for the report
};

// The session script a pilot would play for the mission: key A, the targets
// typed, the node checked, LAUNCH, then a wait for "Autopilot Complete".
// `warps` are (simulation time, factor) pairs the pilot set while flying.
// With a plan the target is picked in the orbit list instead of typed, the
// pass's node checked, and LAUNCH waited for on the pad under time
// acceleration. `launchDelay` seconds more pass before LAUNCH; the
// `replayOptions` (a dispersed run's) are named where the script says how
// it flies again.
std::string pilotScript(const CheckedMission& mission, double timeLimit,
                        const std::vector<std::pair<double, double>>& warps = {},
                        const LaunchPlan* plan = nullptr, double launchDelay = 0,
                        const std::string& replayOptions = "");

// Flies the mission and writes its outputs into the root folder: the
// scenario and session script it flew (so that `tarvik-sim ROOT/scenario.scn
// --script ROOT/session.txt` flies it again), events, telemetry, summary,
// final scenario, report.json and, unless turned off, the plots.
// Throws MissionError for a target that cannot be flown (before anything
// flies) and host::InputError for unusable input; an interrupt ends the
// flight with its outputs written and throws Interrupted. `progress`, when given,
// gets a line now and then (with '\r', for a terminal).
FlightReport flyMission(const FlyOptions& options, std::ostream& warnings, std::ostream* progress);

// Writes report.json into the root folder, replacing any earlier one whole
// (inside `within`, as host::OutputFile takes it).
void writeReportFile(const FlightReport& report, const std::string& path, const std::string& within = "");

// A report for a mission refused before flying (what `matrix` collects).
FlightReport refusedReport(const Mission& mission, const std::string& reason);

}  // namespace tarviksim
