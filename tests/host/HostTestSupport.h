// What the host tests share: a fresh root folder and simulation per test, the
// test data folder, and small readers for saved scenario text.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "sim/Simulation.h"

namespace hosttest {

inline const std::string dataDir = TARVIK_TEST_DIR "/data";

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarvik-host-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

inline VESSELSTATUS2 orbiting(double altitude = 300e3) {
    VESSELSTATUS2 vs{};
    vs.version = 2;
    vs.rpos = _V(6371010 + altitude, 0, 0);
    vs.rvel = _V(0, 0, 7700);
    return vs;
}

class HostTest : public ::testing::Test {
protected:
    std::unique_ptr<host::Simulation> newSimulation() {
        return std::make_unique<host::Simulation>(dataDir, 60, root.path);
    }

    std::string writeFile(const std::string& name, const std::string& text) {
        std::string path = root.path + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    std::string readFile(const std::string& name) {
        std::ifstream in(root.path + "/" + name);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TempDir root;
    std::unique_ptr<host::Simulation> sim = newSimulation();
};

// The value of "  KEY value" in the block of `vessel`, or "<none>".
inline std::string savedValue(const std::string& scenario, const std::string& vessel, const std::string& key) {
    std::istringstream in(scenario);
    std::string line;
    bool inBlock = false;
    while (std::getline(in, line)) {
        if (line.rfind(vessel + ":", 0) == 0)
            inBlock = true;
        else if (line == "END")
            inBlock = false;
        else if (inBlock && line.rfind("  " + key + " ", 0) == 0)
            return line.substr(key.size() + 3);
    }
    return "<none>";
}

inline bool hasEvent(const host::Simulation& sim, const std::string& vessel, const std::string& what) {
    for (const auto& e : sim.events())
        if (e.vessel == vessel && e.what == what)
            return true;
    return false;
}

}  // namespace hosttest
