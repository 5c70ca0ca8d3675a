#include "HeavyTestSupport.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace heavytest {

namespace {

std::string num(double x) {
    std::ostringstream s;
    s.precision(17);
    s << x;
    return s.str();
}

std::string keyLines(const LauncherKeys& k) {
    std::string s = "  PAYLOAD " + k.payload + "\n  MESH " + k.mesh + "\n  Z_OFFSET " + num(k.zOffset) + "\n  CONFIG " +
                    k.config + "\n  PLDWEIGHT " + num(k.payloadMass) + "\n";
    if (!k.fairing.empty())
        s += "  Fairing_attached " + k.fairing + "\n";
    return s + "  missiontime " + num(k.missionTime) + "\n";
}

const char* kPad = "  STATUS Landed Earth\n  POS -120.6256 34.6\n  HEADING 90.00\n";
// A circular orbit 200 km up, nose along the velocity.
const char* kFlight = "  STATUS Orbiting Earth\n  RPOS 6571010 0 0\n  RVEL 0 0 7788.5\n  AROT 0 0 0\n  VROT 0 0 0\n";

}  // namespace

std::string blockWithLines(const std::string& statusLines, const std::string& lines) {
    return "TarvikHP:tarvik/tarvikHP\n" + statusLines + lines + "END\n";
}
std::string padBlock(const LauncherKeys& keys) {
    return blockWithLines(kPad, keyLines(keys));
}
std::string flightBlock(const LauncherKeys& keys) {
    return blockWithLines(kFlight, keyLines(keys));
}

// One folder of scenarios per test program, removed when it ends.
struct ScenarioFolder {
    ScenarioFolder() : path(std::filesystem::temp_directory_path() / ("tarvik-heavy-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~ScenarioFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

std::string writeScenarioText(const std::string& name, const std::string& text) {
    static ScenarioFolder folder;
    const auto path = folder.path / (name + ".scn");
    std::ofstream(path) << text;
    return path.string();
}

std::string writeScenario(const std::string& name, const std::string& shipBlocks) {
    return writeScenarioText(name,
                             "BEGIN_DESC\nheavy launcher test\nEND_DESC\n\nBEGIN_ENVIRONMENT\n  System Sol\n  Date MJD "
                             "55000.5\nEND_ENVIRONMENT\n\nBEGIN_FOCUS\n  Ship TarvikHP\nEND_FOCUS\n\nBEGIN_SHIPS\n" +
                                 shipBlocks + "END_SHIPS\n");
}

host::VesselData& launcher(host::Simulation& sim) {
    return *sim.vessel("TarvikHP");
}

double missionTime(host::Simulation& sim, const host::VesselData& v) {
    for (const auto& a : sim.annotations())
        if (a->owner == &v && a->x1 == 0.075)
            return std::atof(a->text.c_str());
    return -1;
}

double mainLevel(const host::VesselData& v) {
    const host::ThrusterGroup* g = v.group(THGROUP_MAIN);
    if (!g || g->thrusters.empty())
        return -1;
    double sum = 0;
    for (const host::Thruster* t : g->thrusters)
        sum += t->level;
    return sum / g->thrusters.size();
}

host::Thruster* thrusterAt(const host::VesselData& v, const VECTOR3& pos) {
    for (const auto& t : v.thrusters)
        if (near(t->pos, pos, 1e-9))
            return t.get();
    return nullptr;
}

std::vector<std::string> meshNames(const host::VesselData& v) {
    std::vector<std::string> names;
    for (const auto& m : v.meshes)
        if (m.present)
            names.push_back(m.name);
    return names;
}

int countClass(const host::Simulation& sim, const std::string& className) {
    int n = 0;
    for (const auto& v : sim.vessels())
        if (v->className == className && !v->pendingDelete)
            ++n;
    return n;
}

double propellant(const host::VesselData& v) {
    return v.propellantMass();
}

std::vector<double> tankMasses(const host::VesselData& v) {
    std::vector<double> masses;
    for (const auto& p : v.propellants)
        masses.push_back(p->mass);
    return masses;
}

std::string savedValue(const std::string& text, const std::string& key) {
    std::istringstream in(text.substr(text.find("TarvikHP:")));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first, value;
        words >> first;
        if (first == "END")
            break;
        if (first == key) {
            words >> value;
            return value;
        }
    }
    return "(none)";
}

bool near(const VECTOR3& a, const VECTOR3& b, double tol) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol;
}

}  // namespace heavytest
