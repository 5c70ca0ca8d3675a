// What a report holds beyond one flight's orbit: the plane a launch was
// timed into, and the flights of an aimed mission with the correction they
// found. As JSON (report.json, what `matrix` collects) and as text.
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "LaunchWindow.h"

namespace tarviksim {

// A launch timed into an orbit's plane.
struct PlaneRecord {
    std::string target;       // the vessel whose plane it was; "" for a plane given by its node
    OrbitPlane targetPlane;   // the target's at the end of the flight, or the plane given [deg]
    double passTime = 0;      // s after the scenario start: the pad under the plane
    bool descending = false;  // that pass heads south (the descending node's radio)
    double launchTime = 0;    // s after the scenario start: LAUNCH pressed
    std::string launchUtc;    // the same moment from the scenario's date
    double ascendingNode = 0;        // the launcher's at the end [deg]
    double relativeInclination = 0;  // between the two planes [deg]
};

// One flight of an aimed mission.
struct AimFlight {
    int number = 0;                      // from 1
    std::optional<double> correction;    // typed into "+/-"; none: the field left as the dialog opens
    std::optional<double> launchTime;    // s after the scenario start, for a launch into a plane
    std::string outcome;                 // "complete", "propellant gone", ...
    std::optional<double> cutoffInclination;  // deg, when the cut-off picture appeared
    double inclination = 0, apoapsis = 0, periapsis = 0, propellant = 0;  // at the end: deg, km, km, kg
    std::optional<double> ascendingNode, relativeInclination;            // deg, a launch into a plane
    std::string root;                    // where its outputs are
};

struct AimRecord {
    double tolerance = 0.01;  // deg, the final inclination against the target
    std::vector<AimFlight> flights;
    int chosen = 0;              // the number of the flight the report shows; 0: none completed
    bool within = false;         // that flight is within the tolerance (and the plane's, for a launch into one)
    std::string stop;            // why the flights stopped: "within", "flights used", "not complete", ...
    std::string reason;          // the same for a person, one line
    std::string correctionText;  // what to type into "+/-" for these targets ("" when none completed)
};

nlohmann::ordered_json planeJson(const PlaneRecord& p);
PlaneRecord planeFromJson(const nlohmann::json& j);  // throws std::runtime_error
nlohmann::ordered_json aimJson(const AimRecord& a);
AimRecord aimFromJson(const nlohmann::json& j);  // throws std::runtime_error

// The plane against the target's, and when LAUNCH was pressed.
void printPlane(const PlaneRecord& p, double inclination, std::ostream& out);
// The table of flights, ending with the line the pilot needs: the correction
// to type, and for a launch into a plane when to press LAUNCH.
void printAim(const AimRecord& a, const PlaneRecord* plane, std::ostream& out);

}  // namespace tarviksim
