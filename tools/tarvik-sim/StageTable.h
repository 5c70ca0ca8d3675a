// The stage table of a flight, as flown: for each set of engines the
// launcher burnt (boosters with the core, the core alone, the upper stage)
// its mass at ignition and at burn-out, the propellant it burnt, its vacuum
// specific impulse, the velocity its thrust gave, how long it burnt and its
// thrust-to-weight at ignition. It is read from the host's record of the
// launcher each step: its thrusters, the levels they acted at, its mass.
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sim/VesselData.h"

namespace tarviksim {

struct StageRow {
    std::string name;            // "core and boosters", "core stage", "upper stage", or "stage N"
    double ignitionTime = 0;     // mission time of the first step its engines acted [s]
    double burnoutTime = 0;      // mission time of the last [s]
    double ignitionMass = 0;     // the whole launcher's at ignition [kg]
    double burnoutMass = 0;      // and at burn-out [kg]; less than ignition by the propellant and any part let go
    double propellant = 0;       // burnt from ignition to burn-out, attitude thrusters included [kg]
    double ispVacuum = 0;        // its engines' thrust over their propellant flow, in vacuum [m/s]
    double deltaV = 0;           // its engines' thrust over the launcher's mass, integrated over the burn [m/s]
    double burnTime = 0;         // with the engines lit [s]
    double thrustToWeight = 0;   // thrust at ignition (at the pressure there) over weight (standard gravity)
    int burns = 0;               // times the engines were lit
};

// Follows one vessel through a flight: call before() ahead of each step and
// after() once it is done, with the simulation time at its end.
class StageRecorder {
public:
    void before(const host::VesselData& v);
    void after(const host::VesselData& v, double dt, double simTime);

    // A part the launcher let go of, by kind ("boosters", "core stage",
    // "fairing") and simulation time: the stages are named from them.
    void separated(const std::string& kind, double simTime);

    // The stages that burnt, their times in mission time (from `liftoff`,
    // the simulation time of lift-off).
    std::vector<StageRow> rows(double liftoff) const;

private:
    struct Engines {  // what tells one stage's engines from another's
        int count = 0;
        double thrust = 0, flow = 0;
        bool operator==(const Engines&) const = default;
    };
    Engines engines(const host::VesselData& v);

    double pressure_ = 0;
    bool lit_ = false;
    bool ignited_ = false;
    double sinceIgnition_ = 0;  // propellant burnt since the stage lit
    Engines current_{};
    std::vector<StageRow> stages_;
    std::vector<std::pair<double, std::string>> separations_;
    // The engines as found for the launcher's propulsion layout (the host's
    // stamp), and for each of its thrusters whether an attitude group holds
    // it; with the attitude groups' thrusters, sorted, kept between layouts
    // so that a step allocates nothing.
    bool layoutKnown_ = false;
    uint64_t layout_ = 0;
    Engines engines_{};
    std::vector<const host::Thruster*> grouped_;
    std::vector<char> attitude_;
};

double totalDeltaV(const std::vector<StageRow>& stages);

nlohmann::ordered_json stagesJson(const std::vector<StageRow>& stages);
// Throws std::runtime_error for JSON that is not a stage table.
std::vector<StageRow> stagesFromJson(const nlohmann::json& j);

// The table for a person, with the total.
void printStageTable(const std::vector<StageRow>& stages, std::ostream& out);

}  // namespace tarviksim
