// The missions `fly` and `matrix` fly: a Medium launcher on one of its pads,
// the target orbit typed into its autopilot dialog, and the payload it
// carries. Targets the autopilot cannot fly are refused here, before
// anything flies, with the reason in one line.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarviksim {

// A target or argument that cannot be flown; what() is the one-line reason.
struct MissionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct LauncherInfo {
    const char* name;  // also the vessel's name in its pad scenarios
    double ceilingKm;  // the autopilot has a rule for every target altitude below this
    // The heaviest payload the autopilot's pitch tables cover: heavier, it
    // has no pitch programme at all (TarvikM4 above 3000 kg).
    double pitchTableLimitKg;
};
const std::vector<LauncherInfo>& mediumLaunchers();  // TarvikM4, TarvikM42, TarvikM52, TarvikM54

const std::vector<std::string>& padNames();  // LC37B, LC6

// A launcher by name in any letter case; null for none of them.
const LauncherInfo* findLauncher(const std::string& name);

// The pad a scenario holds (a vessel named LC37B or LC6); "" when it holds
// neither or both.
std::string padInScenario(const std::string& scenarioText);

// The payloads of the configuration dialog, with what it writes for each.
struct PayloadInfo {
    const char* name;       // as the pilot names it: "SAT1", "DeltaGlider"
    const char* className;  // vessel class, the scenario's PAYLOAD
    const char* mesh;       // the scenario's MESH
    double massKg;          // the scenario's PLDWEIGHT
    double zOffset;         // the scenario's Z_OFFSET: where the mesh sits on the stack
    bool fairing;           // flown under the fairing, on launchers it is not too large for
    std::vector<std::string> tooLargeFor;  // launchers that fly it without a fairing
};
const std::vector<PayloadInfo>& payloadChoices();

struct Payload {
    bool given = false;     // false: the pad scenario's payload, as it stands
    std::string name;       // a choice's name; "" for a payload given by its mass alone
    std::string className;  // "" (a mass alone) keeps the scenario's class, mesh, offset and fairing
    std::string mesh;
    double massKg = 0;
    double zOffset = 0;
    bool fairing = true;
    std::vector<std::string> tooLargeFor;
    // Under the fairing on this launcher? (A mass alone: as the scenario has it.)
    bool fairingOn(const std::string& launcher) const;
};

// A payload by name (any letter case) or by mass in kg; empty text is the
// pad scenario's own payload. Throws MissionError.
Payload parsePayload(const std::string& text);

struct Mission {
    std::string launcher;  // as in mediumLaunchers()
    std::string pad;       // as in padNames()
    double altitudeKm = 0;
    double inclinationDeg = 0;
    bool descending = false;
    std::string payload;                  // as given to parsePayload
    std::optional<double> correctionDeg;  // typed into "+/-" when given
    std::string scenario;                 // flown instead of the pad scenario when given
};

// "ascending" or "descending"; throws MissionError for anything else.
bool parseNode(const std::string& text);

// What the autopilot dialog's fields get typed: the shortest text that reads
// back as the number.
std::string fieldText(double value);

// The pad scenario of a mission: DATA/Scenarios/LAUNCHER-PAD.scn.
std::string padScenarioPath(const std::string& dataDir, const std::string& launcher, const std::string& pad);

// The launcher's latitude in a scenario, from the POS line of its block [deg].
// Throws MissionError when the block or the line is missing.
double launcherLatitude(const std::string& scenarioText, const std::string& launcher);

// The scenario text with the payload written into the launcher's block as
// the configuration dialog leaves it: PAYLOAD, MESH, Z_OFFSET, PLDWEIGHT and
// Fairing_attached (0 for a payload too large for the launcher's fairing).
// A mass alone changes PLDWEIGHT only; a payload not given nothing.
std::string withPayload(const std::string& scenarioText, const std::string& launcher, const Payload& payload);

// A mission checked against its pad scenario (or the scenario it names) and the autopilot's rules:
// launcher and pad names made canonical, the pad's latitude and scenario
// text read. Throws MissionError with the reason when it cannot be flown.
struct CheckedMission {
    Mission mission;
    Payload payload;  // all filled in, from the scenario when not given
    double padLatitudeDeg = 0;
    std::string scenarioPath;
    std::string scenarioText;  // with the payload written in
};
CheckedMission checkMission(const Mission& mission, const std::string& dataDir);

// "TarvikM52 from LC37B to 350 km at 28.6 deg, ascending node, payload SAT1 (4500 kg)"
std::string describe(const CheckedMission& mission);

}  // namespace tarviksim
