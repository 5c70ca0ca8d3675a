// What the Medium launcher tests share: the four builds as a pilot knows
// them, scenarios written on the fly, and a simulation with its own root
// folder so that no hand-off file from elsewhere leaks in.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sim/Simulation.h"

namespace medium_test {

struct Build {
    const char* name;  // module and vessel name
    const char* classKey;
    int boosters;
    int upperIgnitionSteps;  // steps from core separation to upper-stage ignition
    double upperDryMass;
    double fairingMass;
    double upperPropellant;
    const char* payload;  // default payload class and mesh
    double payloadZ;
    double payloadMass;
    const char* coreStageClass;
    const char* fairingRight;  // halves shed from the upper stage
    const char* fairingLeft;
    const char* fairingRightFromCore;  // halves shed while the core stage flies
    const char* fairingLeftFromCore;
    bool fiveMetre;
};

constexpr double kCoreDryMass = 26767;
constexpr double kBoosterDryMass = 3250;
constexpr double kCoreTankMax = 199640;

// clang-format off
inline const Build kBuilds[] = {
    {"TarvikM52", "tarvik/tarvikM52", 2, 500, 3490, 1000, 27220, "tarvik/sat1", 3.985958, 4500, "tarvik/1st",
     "tarvik/fairRM", "tarvik/fairLM", "tarvik/fairRMB", "tarvik/fairLMB", true},
    {"TarvikM42", "tarvik/tarvikM42", 2, 700, 2850, 700, 21320, "tarvik/sat3", 2, 3000, "tarvik/1stS",
     "tarvik/fairRS", "tarvik/fairLS", "tarvik/fairRSB2", "tarvik/fairLSB2", false},
    {"TarvikM54", "tarvik/tarvikM54", 4, 700, 3490, 1000, 27220, "tarvik/sat1", 3.985958, 4500, "tarvik/1st",
     "tarvik/fairRM", "tarvik/fairLM", "tarvik/fairRMB", "tarvik/fairLMB", true},
    {"TarvikM4", "tarvik/tarvikM4", 0, 500, 2850, 700, 21320, "tarvik/sat3", 2, 3000, "tarvik/1stS",
     "tarvik/fairRS", "tarvik/fairLS", "tarvik/fairRSB", "tarvik/fairLSB", false},
};
// clang-format on

inline const Build& build(const std::string& name) {
    for (const Build& b : kBuilds)
        if (name == b.name)
            return b;
    throw std::invalid_argument("no build " + name);
}

inline void PrintTo(const Build& b, std::ostream* os) {
    *os << b.name;
}

inline std::string buildName(const testing::TestParamInfo<Build>& info) {
    return info.param.name;
}

// The module's own lines for a launcher with the build's default payload.
inline std::string payloadLines(const Build& b) {
    return std::string("  PAYLOAD ") + b.payload + "\n  MESH " + b.payload + "\n  Z_OFFSET " +
           std::to_string(b.payloadZ) + "\n";
}

// A vessel block standing at LC37B's position.
inline std::string landedBlock(const std::string& name, const std::string& classKey, const std::string& lines) {
    return name + ":" + classKey + "\n  STATUS Landed Earth\n  POS -80.5680 28.53429\n  HEADING 30.00\n" + lines +
           "END\n";
}

inline std::string scenario(const std::string& focus, const std::string& blocks) {
    return "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 55000.6\nEND_ENVIRONMENT\n\nBEGIN_FOCUS\n  Ship " + focus +
           "\nEND_FOCUS\n\nBEGIN_SHIPS\n" + blocks + "END_SHIPS\n";
}

// A private folder per test for scenarios and the host's root files.
inline std::filesystem::path scratchDir() {
    const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(t->test_suite_name()) + "_" + t->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "tarvik-medium-tests" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// A simulation loaded from scenario text.
inline std::unique_ptr<host::Simulation> loadText(const std::string& text, const std::filesystem::path& dir,
                                                  const std::string& file = "test.scn") {
    auto sim = std::make_unique<host::Simulation>(TARVIK_DATA_DIR, 60, dir.string());
    sim->setModuleDir(TARVIK_MODULE_DIR);
    const std::filesystem::path path = dir / file;
    {
        std::FILE* f = std::fopen(path.c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
    sim->loadScenario(path.string());
    return sim;
}

// The value the launcher's block gives a key in scenario text ("" when the key is absent).
inline std::string scenarioValue(const std::string& text, const std::string& vessel, const std::string& key) {
    const size_t block = text.find("\n" + vessel + ":");
    if (block == std::string::npos)
        return "";
    const size_t end = text.find("\nEND\n", block);
    size_t at = text.find("\n  " + key + " ", block);
    if (at == std::string::npos || at > end)
        return "";
    at += 4 + key.size();
    return text.substr(at, text.find('\n', at) - at);
}

inline double totalPropellant(const host::VesselData& v) {
    double sum = 0;
    for (const auto& p : v.propellants)
        sum += p->mass;
    return sum;
}

// Present meshes as "name (x, y, z)".
inline std::vector<std::string> meshList(const host::VesselData& v) {
    std::vector<std::string> out;
    for (const host::MeshEntry& m : v.meshes)
        if (m.present) {
            char text[200];
            std::snprintf(text, sizeof text, "%s (%g, %g, %g)", m.name.c_str(), m.offset.x, m.offset.y, m.offset.z);
            out.push_back(text);
        }
    return out;
}

inline bool hasMesh(const host::VesselData& v, const std::string& name) {
    for (const host::MeshEntry& m : v.meshes)
        if (m.present && m.name == name)
            return true;
    return false;
}

}  // namespace medium_test
