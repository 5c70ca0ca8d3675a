// Scenario files: what a load builds, what a save writes, that a saved
// scenario loads back to the same state, and that bad files are refused with
// the file, line and reason.
#include <signal.h>
#include <sys/resource.h>

#include <cmath>

#include "HostTestSupport.h"
#include "Orbitersdk.h"

using namespace hosttest;

namespace {

const std::string header = R"(BEGIN_DESC
A test flight
END_DESC

BEGIN_ENVIRONMENT
  System Sol
  Date MJD 55000.5
END_ENVIRONMENT

)";

const std::string ships = R"(BEGIN_SHIPS
Pad:probe/nofocus
  STATUS Landed Earth
  POS -80.5680 28.53429
  HEADING 30.00
END
P1:probe/probeA
  STATUS Landed Earth
  POS -80.5680 28.53429
  HEADING 30.00
  PRPLEVEL 0:0.25
  LABEL hello world
  PHASE 0.1
  COUNTER 7
END
Part:probe/passive
  STATUS Orbiting Earth
  RPOS 6671010 0 0
  RVEL 0 0 7730.5
  AROT 10 20 30
  VROT 0.5 0 -0.25
END
END_SHIPS
)";

const std::string focusP1 = "BEGIN_FOCUS\n  Ship P1\nEND_FOCUS\n\n";

}  // namespace

class Scenario : public HostTest {};

TEST_F(Scenario, LoadBuildsTheVesselsWithTheirHostAndModuleLines) {
    sim->loadScenario(writeFile("a.scn", header + focusP1 + ships));
    ASSERT_EQ(sim->vessels().size(), 3u);
    EXPECT_EQ(sim->vessels()[1]->name, "P1");
    EXPECT_EQ(sim->vessels()[1]->className, "probe/probeA");
    EXPECT_EQ(sim->focus(), sim->vessel("P1"));
    EXPECT_DOUBLE_EQ(sim->mjd(), 55000.5);
    EXPECT_EQ(sim->description(), "A test flight\n");

    const host::VesselData& p1 = *sim->vessel("P1");
    EXPECT_TRUE(p1.state.landed);
    EXPECT_EQ(p1.state.landedLat, 28.53429 * RAD);
    EXPECT_DOUBLE_EQ(p1.propellants[0]->mass, 125);

    const host::VesselData& part = *sim->vessel("Part");
    EXPECT_FALSE(part.state.landed);
    EXPECT_DOUBLE_EQ(part.state.pos.x, 6671010);
    EXPECT_DOUBLE_EQ(part.state.vel.z, 7730.5);
    EXPECT_DOUBLE_EQ(part.state.omega.x, 0.5 * RAD);

    // module keys come back through the module's own save
    const std::string saved = sim->scenarioText();
    EXPECT_EQ(savedValue(saved, "P1", "LABEL"), "hello world");
    EXPECT_EQ(savedValue(saved, "P1", "COUNTER"), "7");
    EXPECT_EQ(savedValue(saved, "P1", "PHASE"), "0.1");
    EXPECT_EQ(savedValue(saved, "P1", "POS"), "-80.568 28.53429");
    EXPECT_EQ(savedValue(saved, "P1", "HEADING"), "30");
}

TEST_F(Scenario, SavedScenarioLoadsBackToTheSameState) {
    sim->loadScenario(writeFile("a.scn", header + focusP1 + ships));
    sim->vessel("P1")->iface->SetThrusterGroupLevel(THGROUP_MAIN, 0.5);
    sim->run(0.5);
    const std::string first = sim->scenarioText();
    const std::string path = writeFile("saved.scn", first);

    auto again = std::make_unique<host::Simulation>(dataDir, 60, root.path + "/again");
    again->loadScenario(path);
    EXPECT_DOUBLE_EQ(again->mjd(), sim->mjd());
    ASSERT_EQ(again->vessels().size(), sim->vessels().size());
    EXPECT_EQ(again->focus()->name, sim->focus()->name);
    for (size_t i = 0; i < sim->vessels().size(); ++i) {
        const host::VesselData& a = *sim->vessels()[i];
        const host::VesselData& b = *again->vessels()[i];
        SCOPED_TRACE(a.name);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.className, b.className);
        EXPECT_EQ(a.state.landed, b.state.landed);
        EXPECT_NEAR(length(a.state.pos - b.state.pos), 0, 1e-6);
        EXPECT_NEAR(length(a.state.vel - b.state.vel), 0, 1e-9);
        EXPECT_NEAR(length(a.state.omega - b.state.omega), 0, 1e-15);
        ASSERT_EQ(a.propellants.size(), b.propellants.size());
        for (size_t k = 0; k < a.propellants.size(); ++k)
            EXPECT_NEAR(a.propellants[k]->mass, b.propellants[k]->mass, 1e-9);
        ASSERT_EQ(a.thrusters.size(), b.thrusters.size());
        for (size_t k = 0; k < a.thrusters.size(); ++k)
            EXPECT_EQ(a.thrusters[k]->level, b.thrusters[k]->level);
    }
    const std::string second = again->scenarioText();
    for (const char* key : {"COUNTER", "PHASE", "LABEL", "THLEVEL", "PRPLEVEL", "POS", "HEADING"})
        EXPECT_EQ(savedValue(second, "P1", key), savedValue(first, "P1", key)) << key;
    for (const char* key : {"RPOS", "RVEL", "VROT"})
        EXPECT_EQ(savedValue(second, "Part", key), savedValue(first, "Part", key)) << key;
}

TEST_F(Scenario, ModuleRebuildingItsTanksWhileLoadingKeepsTheSavedPropellant) {
    std::string text = ships;
    text.replace(text.find("  COUNTER 7"), 11, "  REBUILD_TANKS");
    sim->loadScenario(writeFile("a.scn", header + text));
    const host::VesselData& p1 = *sim->vessel("P1");
    ASSERT_EQ(p1.propellants.size(), 1u);
    EXPECT_DOUBLE_EQ(p1.propellants[0]->mass, 125);
}

TEST_F(Scenario, FocusGoesToTheNamedShipOrElseTheFirstThatTakesIt) {
    sim->loadScenario(writeFile("a.scn", header + ships));  // no focus section; Pad refuses focus
    EXPECT_EQ(sim->focus()->name, "P1");

    auto other = newSimulation();
    other->loadScenario(writeFile("b.scn", header + "BEGIN_FOCUS\n  Ship Part\nEND_FOCUS\n" + ships));
    EXPECT_EQ(other->focus()->name, "Part");
}

TEST_F(Scenario, UnknownSectionsAreSkipped) {
    sim->loadScenario(writeFile("a.scn", header + "BEGIN_HUD\n  TYPE Orbit\nEND_HUD\n" + ships));
    EXPECT_EQ(sim->vessels().size(), 3u);
}

TEST_F(Scenario, BadFilesAreRefusedWithFileLineAndReason) {
    struct Case {
        std::string text;
        int line;
        std::string reason;
    };
    const int shipsLine = 10;  // line of BEGIN_SHIPS after the header
    const Case cases[] = {
        {header + "BEGIN_SHIPS\nP1 probe/probeA\nEND\nEND_SHIPS\n", shipsLine + 1, "NAME:CLASS"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  RPOS 1 x 3\nEND\nEND_SHIPS\n", shipsLine + 2, "bad number 'x'"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  STATUS Landed Mars\nEND\nEND_SHIPS\n", shipsLine + 2, "STATUS"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  PRPLEVEL 0-1\nEND\nEND_SHIPS\n", shipsLine + 2, "PRPLEVEL"},
        {header + "BEGIN_SHIPS\nP:probe/passive\nEND_SHIPS\n", shipsLine + 1, "not closed by END"},
        {header + "BEGIN_SHIPS\nP:probe/passive\nEND\n", shipsLine, "END_SHIPS"},
        {header + "BEGIN_SHIPS\nP:probe/unknown\nEND\nEND_SHIPS\n", shipsLine + 1, "probe/unknown"},
        {header + "BEGIN_SHIPS\nP:probe/passive\nEND\nP:probe/passive\nEND\nEND_SHIPS\n", shipsLine + 3, "exists"},
        {header + "BEGIN_FOCUS\n  Ship Nobody\nEND_FOCUS\n" + ships, shipsLine + 1, "Nobody"},
        {"BEGIN_ENVIRONMENT\n  Date MJD soon\nEND_ENVIRONMENT\n", 2, "bad date"},
        {"BEGIN_DESC\nno end\n", 1, "END_DESC"},
        {"stray words\n", 1, "unexpected line"},
        // Names are ASCII; a scenario without vessels is no scenario.
        {header + "BEGIN_SHIPS\nP\xb3:probe/passive\nEND\nEND_SHIPS\n", shipsLine + 1, "not printable ASCII"},
        {header, 0, "no vessels"},
        {"", 0, "no vessels"},
        // Finite but absurd values, and indices that would wrap.
        {header + "BEGIN_SHIPS\nP:probe/passive\n  STATUS Orbiting Earth\n  RPOS 1e308 0 0\nEND\nEND_SHIPS\n",
         shipsLine + 3, "RPOS"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  RPOS 6671010 0 0\n  RVEL 0 0 3e5\nEND\nEND_SHIPS\n", shipsLine + 3,
         "RVEL"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  VROT 1e9 0 0\nEND\nEND_SHIPS\n", shipsLine + 2, "VROT"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  STATUS Orbiting Earth\nEND\nEND_SHIPS\n", shipsLine + 1, "no RPOS"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  POS 0 1e308\nEND\nEND_SHIPS\n", shipsLine + 2, "latitude"},
        {"BEGIN_ENVIRONMENT\n  Date MJD 1e300\nEND_ENVIRONMENT\n", 2, "bad date"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  PRPLEVEL 4294967296:0\nEND\nEND_SHIPS\n", shipsLine + 2,
         "out of range"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  PRPLEVEL 0:1 3:1\nEND\nEND_SHIPS\n", shipsLine + 2, "no tank 3"},
        {header + "BEGIN_SHIPS\nP:probe/passive\n  THLEVEL 1:1\nEND\nEND_SHIPS\n", shipsLine + 2, "no thruster 1"},
    };
    for (const Case& c : cases) {
        const std::string path = writeFile("bad.scn", c.text);
        try {
            sim->loadScenario(path);
            ADD_FAILURE() << "accepted:\n" << c.text;
        } catch (const host::InputError& e) {
            EXPECT_EQ(e.file, path);
            EXPECT_EQ(e.line, c.line) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        EXPECT_TRUE(sim->vessels().empty()) << "a failed load left vessels behind: " << c.text;
    }
    EXPECT_THROW(sim->loadScenario(root.path + "/missing.scn"), host::InputError);
    EXPECT_THROW(sim->loadScenario(root.path), host::InputError);  // a folder
}

TEST_F(Scenario, MessagesShowWhatTheFileHeldEscapedAndShort) {
    const std::string texts[] = {std::string("x\0\x1b[2Jy\n", 8),
                                 "\xef\xbb\xbf"
                                 "BEGIN_SHIPS\n",
                                 std::string(10 << 20, 'x') + "\n"};
    for (const std::string& text : texts) {
        try {
            sim->loadScenario(writeFile("bad.scn", text));
            ADD_FAILURE() << "accepted";
        } catch (const host::InputError& e) {
            const std::string what = e.what();
            EXPECT_LT(what.size(), root.path.size() + 150) << what;
            for (char c : what)
                ASSERT_TRUE(c >= 0x20 && c <= 0x7e) << what;
            EXPECT_TRUE(what.find("'x\\x00\\x1b[2Jy'") != std::string::npos ||
                        what.find("'\\xef\\xbb\\xbfBEGIN_SHIPS'") != std::string::npos ||
                        what.find("xxxxxxxx...'") != std::string::npos)
                << what;
        }
    }
}

// A save that fails leaves the file as it was, and a value that is not a
// number is never written (as a 0 that puts a vessel at the Earth's centre).
TEST_F(Scenario, ASaveIsWholeOrNothingAndHoldsOnlyFiniteNumbers) {
    std::string text = ships;
    text.replace(text.find("PHASE 0.1"), 9, "PHASE nan");
    sim->loadScenario(writeFile("a.scn", header + ships));
    const std::string path = writeFile("keep.scn", "the last save\n");

    struct rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit small = {100, limit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    bool failed = false;
    try {
        sim->saveScenario(path);
    } catch (const host::InputError&) {
    } catch (const std::runtime_error& e) {
        failed = std::string(e.what()).find("keep.scn") != std::string::npos;
    }
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_TRUE(failed) << "a write cut short was not reported as a write failure";
    EXPECT_EQ(readFile("keep.scn"), "the last save\n");
    for (const auto& entry : std::filesystem::directory_iterator(root.path))
        EXPECT_EQ(entry.path().filename().string().find(".keep.scn"), std::string::npos) << entry.path();
    sim->saveScenario(path);
    EXPECT_EQ(readFile("keep.scn"), sim->scenarioText());

    sim->vessel("Part")->state.vel.x = NAN;
    EXPECT_THROW(sim->scenarioText(), std::runtime_error);

    auto other = newSimulation();
    other->loadScenario(writeFile("b.scn", header + text));  // the probe reads its PHASE as it comes
    try {
        other->scenarioText();
        ADD_FAILURE() << "saved a module value that is not a number";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("'PHASE'"), std::string::npos) << e.what();
    }
}
