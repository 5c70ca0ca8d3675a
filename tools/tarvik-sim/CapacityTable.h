// What a launcher carries, as `tarvik-sim capacity` measured it: one row
// per launcher, pad, inclination, node and altitude with the heaviest
// payload that completed there. The same table, shipped as
// data/capacity.csv, is what `fly` checks a payload against before flying.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarviksim {

// Where a row's capacity comes from.
enum class CapacityLimit {
    Flights,     // the heaviest payload that completed; one step heavier did not
    PitchTables, // the heaviest payload the autopilot has a pitch table for completed
    NoneFlies,   // not even the lightest payload completed: the capacity is 0
    Unsettled,   // the search did not finish (interrupted, or a flight that did not run)
};
const char* limitName(CapacityLimit l);  // "flights", "pitch tables", "none completes", "unsettled"
std::optional<CapacityLimit> limitNamed(const std::string& name);

struct CapacityRow {
    std::string launcher, pad;
    double inclinationDeg = 0;
    bool descending = false;
    double altitudeKm = 0;
    double capacityKg = 0;
    std::optional<double> lightestFailingKg;  // the lightest payload flown that did not complete
    CapacityLimit limit = CapacityLimit::Flights;
    int flights = 0;
    std::string note;  // what the search saw that a reader should know (a contradiction)
};

// The CSV form, a header line then a row a line:
//   launcher,pad,inclination_deg,node,altitude_km,capacity_kg,limit,lightest_failing_kg,flights,note
std::string capacityCsv(const std::vector<CapacityRow>& rows);
// Throws host::InputError naming the line for a bad one.
std::vector<CapacityRow> parseCapacityCsv(const std::string& text, const std::string& path);

// A curve of capacity against altitude: (altitude km, capacity kg), in
// rising altitude.
using CapacityCurve = std::vector<std::pair<double, double>>;

// The capacity at `altitude` on the curve, straight between its points;
// none outside the curve's altitudes.
std::optional<double> interpolate(const CapacityCurve& curve, double altitude);

// The highest altitude at which the curve still carries `mass`, straight
// between its points: where it crosses `mass` for the last time before
// falling below it for good. None when even its lowest point carries less;
// the curve's top altitude when its top point still carries it.
std::optional<double> reachWith(const CapacityCurve& curve, double mass);

// What the table says about one mission.
struct CapacityEstimate {
    bool covered = false;       // the table has the case (the pad and node, the inclination within its range)
    bool aboveTable = false;    // the altitude is above the table's highest for the case
    double capacityKg = 0;      // at the altitude (at the table's highest altitude when above it)
    double tableTopKm = 0;      // the table's highest altitude for the case
    std::optional<double> reachKm;  // the highest altitude the table shows the mass carried to
    bool pitchTableLimit = false;  // the capacity is the pitch tables' limit, not the flights'
    std::string caseText;       // "TarvikM52 from LC37B at 28.6 deg (ascending node)"
};

// The estimate for a mission: the curves of the case's inclinations each
// read at the altitude, then straight between the two inclinations around
// the mission's. A mission above the table's altitudes reads the highest
// one (capacity only falls with altitude).
CapacityEstimate estimateCapacity(const std::vector<CapacityRow>& rows, const std::string& launcher,
                                  const std::string& pad, double inclinationDeg, bool descending,
                                  double altitudeKm, double massKg);

}  // namespace tarviksim
