// A launch into an orbit's plane as a pilot plans it: the target picked in
// the autopilot dialog's "Copy Orbital Elements" list (so the dialog types
// its altitude and inclination), the next pass of the pad under the target's
// plane worked out from the scenario, the wait on the pad under time
// acceleration, and LAUNCH pressed early enough for the plane the launcher
// reaches to be the target's.
#pragma once

#include <optional>
#include <string>

#include "LaunchWindow.h"

namespace tarviksim {

// What the scenario tells about a launch into a plane, read at its start.
struct PlaneScene {
    double startMjd = 0;
    TurningPad pad;  // where the launcher stands, turning with the Earth
    // The target vessel's orbit, as the dialog copies it: its altitude to a
    // whole km and its inclination (equatorial frame) to two decimals.
    std::string target;
    OrbitPlane targetPlane;
    double copiedAltitudeKm = 0, copiedInclinationDeg = 0;
};

// Loads the scenario in a simulation of its own (root folder rootDir) and
// reads the launcher's pad and, when `target` is not empty, that vessel's
// orbit. Throws MissionError when the target is missing, not in Earth orbit
// or not one the dialog lists (above 300 km), host::InputError for a
// scenario that does not load.
PlaneScene readPlaneScene(const std::string& scenarioPath, const std::string& dataDir, const std::string& rootDir,
                          const std::string& launcher, const std::string& target);

// The pilot's plan for the moment of launch.
struct LaunchPlan {
    std::string target;    // picked in the "Copy Orbital Elements" list; "" when the targets are typed
    OrbitPlane plane;      // to launch into
    PlanePass pass;        // the pad under the plane
    double launchTime = 0;  // s after the scenario start: LAUNCH
    double startMjd = 0;
    double padWarp = 1000;  // the time acceleration while the launcher waits on the pad
};

// The launcher's plane keeps turning with the Earth for about as long as it
// climbs: LAUNCH this long before the pad passes under a plane puts a
// launcher into it [s] (TarvikM52 to 400 km at 51.6 deg from LC37B lands
// within a few hundredths of a degree of it; `--aim` finds the rest).
inline constexpr double kPlaneLead = 626;
// The pilot's own part before LAUNCH (key A, the targets, the node) [s].
inline constexpr double kEarliestLaunch = 10;
// LAUNCH comes at least this long before the flight's time limit [s].
inline constexpr double kPlaneLaunchRoom = 60;

// The next launch into the plane, of the node asked for or of whichever
// pass comes first; throws MissionError when the plane does not pass over
// the pad or the launch would come after `latestLaunch`.
LaunchPlan planLaunch(const PlaneScene& scene, const OrbitPlane& plane, std::optional<bool> descending,
                      double latestLaunch);

}  // namespace tarviksim
