// What a `fly` mission reports: the target and the orbit reached, the
// suggested correction, the propellant left and the timeline of the flight,
// for a person to read or as JSON (report.json, what `matrix` collects).
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "AimRecord.h"
#include "sim/Dispersions.h"
#include "StageTable.h"

namespace tarviksim {

// How a flight ended. Only Complete reached the target orbit; Refused never
// lit the engines; OutOfReach could no longer complete when it was ended.
enum class Outcome { Complete, Refused, NoLiftoff, Crashed, PropellantGone, LauncherLost, TimeLimit, OutOfReach };
const char* outcomeName(Outcome o);                // "complete", "refused", "no lift-off", ...
std::optional<Outcome> outcomeNamed(const std::string& name);

struct TimelineEvent {
    double missionTime = 0;  // s since lift-off (negative on the pad)
    std::string what;        // "lift-off", "boosters separated (TarvikM52gem1, TarvikM52gem4)", ...
    std::string kind;        // for plots: "liftoff", "separation", "cutoff", "planechange", "circularisation", "end", "note"
    double latitude = 0, longitude = 0;  // deg, where it happened
};

struct FlightReport {
    // the mission as flown
    std::string launcher, pad;
    double padLatitude = 0;
    double targetAltitude = 0;  // km
    double targetInclination = 0;
    bool descending = false;
    std::string payloadName, payloadClass;
    double payloadMass = 0;
    std::optional<double> correction;  // typed into "+/-" before LAUNCH

    Outcome outcome = Outcome::TimeLimit;
    std::string reason;  // one line: why the flight ended

    // at the end, rounded as in the summary (3 decimals)
    double apoapsis = 0, periapsis = 0, inclination = 0;  // km above the surface, deg
    double propellant = 0;                                 // kg
    std::string correctionText;                            // the "+/-" field as the dialog shows it
    std::optional<double> suggestedCorrection;             // that text as a number, when it is one
    std::optional<double> cutoffInclination;               // deg, when the cut-off picture appeared

    bool liftedOff = false;
    double liftoffTime = 0;  // s of simulation time
    double endTime = 0;      // s of simulation time
    double coastWarp = 1;    // the time acceleration the pilot used while the autopilot coasted
    std::vector<TimelineEvent> timeline;
    std::vector<StageRow> stages;  // as flown

    std::optional<PlaneRecord> plane;  // a launch timed into an orbit's plane
    std::optional<AimRecord> aim;      // an aimed mission: its flights, and the correction they found
    // A dispersed run: the file its distributions came from and its draws.
    std::optional<host::Dispersion> dispersion;
    std::string dispersionFile;

    // where things went (paths as given, relative to where fly ran)
    std::string root;
    std::vector<std::pair<std::string, std::string>> outputs;  // ("events", "ROOT/events.log"), ...
    std::vector<std::string> plots;

    double missionTime() const { return liftedOff ? endTime - liftoffTime : 0; }
};

// Rounded to 3 decimals as the summary rounds, without "-0".
double rounded3(double value);

nlohmann::ordered_json reportJson(const FlightReport& r);
// reportJson as the file holds it; texts that are not UTF-8 (a dialog's
// field) show with U+FFFD in place of their bad bytes.
std::string reportText(const FlightReport& r);
// Throws std::runtime_error for JSON that is not a report.
FlightReport reportFromJson(const nlohmann::json& j);

// The report for a person: the target against what was reached, the
// correction, the propellant, the timeline and where the outputs went.
void printReport(const FlightReport& r, std::ostream& out);

// Errors against the target [km, km, deg].
double apoapsisError(const FlightReport& r);
double periapsisError(const FlightReport& r);
double inclinationError(const FlightReport& r);

// "SAT1" or the class, for tables.
std::string payloadLabel(const FlightReport& r);

}  // namespace tarviksim
