// Helpers for the heavy launcher's tests: scenarios written on the fly, and
// what the host records about the launcher read back the way a pilot sees it.
#pragma once

#include <string>
#include <vector>

#include "sim/Simulation.h"

namespace heavytest {

// The launcher's own scenario lines. Payload mass 0 so that empty masses
// read as the bare sums of the parts.
struct LauncherKeys {
    std::string payload = "tarvik/sat2";
    std::string mesh = "Tarvik/sat2";
    double zOffset = 6.512422;
    std::string config = "0";
    double payloadMass = 0;
    std::string fairing = "1";  // empty: no line
    double missionTime = 0;
};

// A launcher named "TarvikHP" standing on LC6, or flying 200 km up.
std::string padBlock(const LauncherKeys& keys);
std::string flightBlock(const LauncherKeys& keys);
// A launcher block with exactly these lines after the host's own.
std::string blockWithLines(const std::string& statusLines, const std::string& lines);

// Writes a scenario holding the given vessel blocks; returns its path.
std::string writeScenario(const std::string& name, const std::string& shipBlocks);
std::string writeScenarioText(const std::string& name, const std::string& text);

host::VesselData& launcher(host::Simulation& sim);
double missionTime(host::Simulation& sim, const host::VesselData& v);  // as shown on screen
double mainLevel(const host::VesselData& v);
host::Thruster* thrusterAt(const host::VesselData& v, const VECTOR3& pos);  // the first one there
std::vector<std::string> meshNames(const host::VesselData& v);
int countClass(const host::Simulation& sim, const std::string& className);
double propellant(const host::VesselData& v);
std::vector<double> tankMasses(const host::VesselData& v);
// The value of a module key in the launcher's block of a saved scenario.
std::string savedValue(const std::string& scenarioText, const std::string& key);

bool near(const VECTOR3& a, const VECTOR3& b, double tol);

}  // namespace heavytest
