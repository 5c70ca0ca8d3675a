// The launcher's scenario lines: saving in any configuration and loading
// the file again gives back the configuration, the payload and the
// propellant; odd input loads safely.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "MissionFlights.h"

namespace medium_test {
namespace {

const char* const kModuleKeys[] = {"PAYLOAD",     "MESH",    "Z_OFFSET", "CONFIG",     "PLDWEIGHT", "Fairing_attached",
                                   "missiontime", "STAGING", "STAGE",    "STAGETIMER", "BOOSTERS",  "ENGINES"};

class ScenarioRoundTrip : public testing::TestWithParam<Build> {
protected:
    const Build& b = GetParam();

    // Loads a saved scenario in a fresh simulation and compares the launcher with what was saved.
    void expectRestored(const ConfigSnapshot& saved, int code, const std::string& label) {
        SCOPED_TRACE(label);
        auto sim = loadText(saved.scenario, scratchDir(), label + ".scn");
        const host::VesselData* v = sim->vessel(b.name);
        ASSERT_TRUE(v);
        const std::string again = sim->scenarioText();
        for (const char* key : kModuleKeys)
            EXPECT_EQ(scenarioValue(again, b.name, key), scenarioValue(saved.scenario, b.name, key)) << key;

        // The launcher comes back as it flew: the same meshes where they were, the same mass.
        EXPECT_EQ(meshList(*v), saved.meshes);
        EXPECT_NEAR(v->caps.emptyMass, saved.emptyMass, 1e-6);

        if (code == 0) {
            for (const auto& p : v->propellants)
                EXPECT_EQ(p->mass, p->maxMass) << "a pad tank is not full";
            return;
        }
        ASSERT_EQ(v->propellants.size(), saved.tanks.size()) << "the tanks differ from the saved launcher's";
        for (size_t i = 0; i < saved.tanks.size(); ++i) {
            EXPECT_NEAR(v->propellants[i]->mass, saved.tanks[i], 1e-6 * saved.tankMax[i] + 1e-9) << "tank " << i;
            EXPECT_EQ(v->propellants[i]->maxMass, saved.tankMax[i]) << "tank " << i;
        }
    }
};

TEST_P(ScenarioRoundTrip, EveryConfigurationReloadsAsSaved) {
    const MissionRecord& mission = flownMission(b);
    for (int code : {0, 4, 1, 2, 3, 5}) {
        ASSERT_TRUE(mission.configs.count(code)) << "configuration " << code << " never reached";
        expectRestored(mission.configs.at(code), code, "config" + std::to_string(code));
    }
}

TEST_P(ScenarioRoundTrip, PropellantInFlightSurvivesAReload) {
    const ConfigSnapshot& boosting = flownMission(b).boosting;
    ASSERT_FALSE(boosting.scenario.empty());
    ASSERT_LT(boosting.tanks[0], boosting.tankMax[0]) << "the core should have burnt for 50 s";
    expectRestored(boosting, 4, "boosting");
}

TEST_P(ScenarioRoundTrip, FairingShedFromTheUpperStageIsSavedAsGone) {
    const MissionRecord& mission = flownMission(b);
    EXPECT_EQ(scenarioValue(mission.configs.at(3).scenario, b.name, "Fairing_attached"), "0");
    // The 5 m missions shed the fairing from the upper stage, which leaves the flag set: after the
    // payload release there is then no fairing line at all. The 4 m missions cleared it on the core.
    EXPECT_EQ(scenarioValue(mission.configs.at(5).scenario, b.name, "Fairing_attached"), b.fiveMetre ? "" : "0");
}

INSTANTIATE_TEST_SUITE_P(Builds, ScenarioRoundTrip, testing::ValuesIn(kBuilds), buildName);

// What a reload must give back of a launcher: its shape and mass, its tanks,
// and the engines that can burn (those fed by a tank), with their groups.
std::string launcherAsBuilt(const host::VesselData& v) {
    std::ostringstream out;
    out.precision(12);
    out << "size " << v.caps.size << ", empty mass " << v.caps.emptyMass << "\n";
    for (const std::string& m : meshList(v))
        out << "mesh " << m << "\n";
    std::vector<const host::Propellant*> tanks;
    for (const auto& p : v.propellants) {
        tanks.push_back(p.get());
        out << "tank " << p->maxMass << " holding " << p->mass << "\n";
    }
    auto tankIndex = [&](const host::Propellant* p) {
        return std::find(tanks.begin(), tanks.end(), p) - tanks.begin();
    };
    std::vector<const host::Thruster*> engines;
    for (const auto& t : v.thrusters)
        if (t->resource) {
            engines.push_back(t.get());
            out << "engine on tank " << tankIndex(t->resource) << ": " << t->maxThrust << " N, Isp " << t->ispVac
                << "/" << t->ispRef << ", level " << t->level << ", at " << t->pos.x << " " << t->pos.y << " "
                << t->pos.z << "\n";
        }
    for (const auto& g : v.groups) {
        out << "group " << g->type << ":";
        for (const host::Thruster* t : g->thrusters)
            out << " " << std::find(engines.begin(), engines.end(), t) - engines.begin();
        out << "\n";
    }
    return out.str();
}

std::string withoutThrusterLevels(const std::string& text) {
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("  THLEVEL ", 0) != 0)
            out += line + "\n";
    return out;
}

// A scenario written by hand, or by an older version, names the launcher's
// configuration by its code alone. Its save must reload to that launcher,
// not to one standing on the pad.
TEST_P(ScenarioRoundTrip, ALauncherNamedByItsConfigurationAloneSavesAsItself) {
    for (int code : {4, 1, 2, 3, 5}) {
        for (int fairing : {0, 1}) {
            const std::string label = "config" + std::to_string(code) + "-fairing" + std::to_string(fairing);
            SCOPED_TRACE(label);
            std::string block = landedBlock(b.name, b.classKey,
                                            payloadLines(b) + "  CONFIG " + std::to_string(code) +
                                                "\n  PLDWEIGHT 2500\n  Fairing_attached " +
                                                std::to_string(fairing) + "\n  missiontime 400\n");
            // In flight, as such a launcher would be.
            block.replace(block.find("  STATUS Landed Earth\n  POS -80.5680 28.53429\n  HEADING 30.00\n"), 60,
                          "  STATUS Orbiting Earth\n  RPOS 6800000 0 0\n  RVEL 0 7600 0\n");
            auto loaded = loadText(scenario(b.name, block), scratchDir(), label + ".scn");
            const std::string saved = loaded->scenarioText();
            auto reloaded = loadText(saved, scratchDir(), label + "-saved.scn");
            ASSERT_EQ(reloaded->vessels().size(), loaded->vessels().size());
            EXPECT_EQ(launcherAsBuilt(*reloaded->vessel(b.name)), launcherAsBuilt(*loaded->vessel(b.name)));
            // The hand-written block set the stage up once per line after CONFIG, which leaves
            // engines without a tank behind and moves the index of the lit one; from the first
            // reload on the launcher is built once and every save is the same.
            const std::string again = reloaded->scenarioText();
            EXPECT_EQ(withoutThrusterLevels(again), withoutThrusterLevels(saved));
            EXPECT_EQ(loadText(again, scratchDir(), label + "-again.scn")->scenarioText(), again);
        }
    }
}

// When a block names two configurations the later one stands, also when it
// is the pad's (or a code that names none): the launcher is the one a block
// naming the pad alone gives, and its save reloads to it.
TEST_P(ScenarioRoundTrip, ALaterConfigurationLineNamingThePadWins) {
    auto blockWith = [&](const std::string& configLines) {
        return scenario(b.name, landedBlock(b.name, b.classKey,
                                            payloadLines(b) + configLines + "  PLDWEIGHT 2500\n"));
    };
    const std::string onThePad = launcherAsBuilt(*loadText(blockWith("  CONFIG 0\n"), scratchDir(), "pad.scn")
                                                      ->vessel(b.name));
    for (int first : {1, 2, 3, 4, 5}) {
        for (int last : {0, 9}) {
            const std::string label = "config" + std::to_string(first) + "-then-" + std::to_string(last);
            SCOPED_TRACE(label);
            auto loaded = loadText(blockWith("  CONFIG " + std::to_string(first) + "\n  CONFIG " +
                                             std::to_string(last) + "\n"),
                                   scratchDir(), label + ".scn");
            EXPECT_EQ(launcherAsBuilt(*loaded->vessel(b.name)), onThePad);
            auto reloaded = loadText(loaded->scenarioText(), scratchDir(), label + "-saved.scn");
            EXPECT_EQ(launcherAsBuilt(*reloaded->vessel(b.name)), onThePad);
        }
    }
}

std::unique_ptr<host::Simulation> loadM52(const std::string& lines) {
    return loadText(scenario("TarvikM52", landedBlock("TarvikM52", "tarvik/tarvikM52", lines)), scratchDir());
}

TEST(ScenarioLines, KeysAreReadInAnyLetterCase) {
    auto sim = loadM52(
        "  payload tarvik/sat3\n  Mesh tarvik/sat3\n  z_offset 2\n  Config 3\n  pldweight 3000\n"
        "  FAIRING_ATTACHED 0\n  MissionTime 300\n");
    const std::string text = sim->scenarioText();
    EXPECT_EQ(scenarioValue(text, "TarvikM52", "PAYLOAD"), "tarvik/sat3");
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM52", "CONFIG")), 3);
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM52", "PLDWEIGHT")), 3000);
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM52", "missiontime")), 300);
    const host::VesselData* v = sim->vessel("TarvikM52");
    EXPECT_EQ(meshList(*v), (std::vector<std::string>{"tarvik/2nd (0, 0, -4.25)", "tarvik/sat3 (0, 0, 4.44)"}));
    EXPECT_NEAR(v->caps.emptyMass, 3490 + 3000, 1e-6);
}

TEST(ScenarioLines, UnknownConfigurationLoadsAsThePad) {
    auto sim = loadM52("  PAYLOAD tarvik/sat1\n  MESH tarvik/sat1\n  CONFIG 9\n  PLDWEIGHT 4500\n");
    const host::VesselData* v = sim->vessel("TarvikM52");
    ASSERT_FALSE(v->meshes.empty());
    EXPECT_EQ(v->meshes[0].name, "tarvik/Tarvik1stA");
    EXPECT_TRUE(hasMesh(*v, "tarvik/fairRM"));
    EXPECT_EQ(std::stod(scenarioValue(sim->scenarioText(), "TarvikM52", "CONFIG")), 0)
        << "the launcher should be saved as standing on the pad";

    // And it launches like any launcher on the pad: full thrust, lift-off after 100 steps.
    sim->setThrottle(1);
    for (int i = 0; i < 100; ++i)
        sim->step();
    EXPECT_EQ(v->meshes[0].name, "tarvik/Tarvik1st");
}

// A value the launcher cannot have is not taken, and the run is told where it
// stood; the save then holds what the launcher has.
TEST(ScenarioLines, ValuesALauncherCannotHaveAreRefusedWithTheirLine) {
    const std::filesystem::path dir = scratchDir();
    auto sim = std::make_unique<host::Simulation>(TARVIK_DATA_DIR, 60, dir.string());
    sim->setModuleDir(TARVIK_MODULE_DIR);
    std::vector<std::string> warnings;
    sim->setWarningHandler([&](const std::string& w) { warnings.push_back(w); });
    const std::string text = scenario(
        "TarvikM42", landedBlock("TarvikM42", "tarvik/tarvikM42",
                                 "  PAYLOAD tarvik/sat3\n  MESH tarvik/sat3\n  Z_OFFSET 2\n  CONFIG 0\n"
                                 "  PLDWEIGHT -3000\n  Fairing_attached 2\n  missiontime -5\n"));
    const std::filesystem::path path = dir / "odd.scn";
    {
        std::FILE* f = std::fopen(path.c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
    sim->loadScenario(path.string());
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find("odd.scn:19"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("PLDWEIGHT -3000"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("odd.scn:20"), std::string::npos) << warnings[1];
    EXPECT_NE(warnings[2].find("missiontime -5"), std::string::npos) << warnings[2];

    const host::VesselData* v = sim->vessel("TarvikM42");
    const double mass = v->caps.emptyMass;
    EXPECT_NEAR(mass, 2 * 3250 + 26767 + 2850 + 700, 1e-6) << "no payload mass, the fairing on";
    const std::string saved = sim->scenarioText();
    EXPECT_EQ(scenarioValue(saved, "TarvikM42", "Fairing_attached"), "1");
    auto reloaded = loadText(saved, scratchDir(), "again.scn");
    EXPECT_NEAR(reloaded->vessel("TarvikM42")->caps.emptyMass, mass, 1e-6) << "a reload changed the launcher's mass";
}

TEST(ScenarioLines, LongPayloadNamesRoundTripWhole) {
    const std::string payload = "vessels/a_payload_class_of_forty_chars_x";
    const std::string mesh = "meshes/a_payload_mesh_name_of_forty_char";
    ASSERT_EQ(payload.size(), 40u);
    ASSERT_EQ(mesh.size(), 40u);
    auto sim = loadM52("  PAYLOAD " + payload + "\n  MESH " + mesh + "\n  Z_OFFSET 1\n  CONFIG 0\n" +
                       "  PLDWEIGHT 2000\n  Fairing_attached 0\n");
    EXPECT_TRUE(hasMesh(*sim->vessel("TarvikM52"), mesh)) << "the payload mesh name was cut or corrupted";
    const std::string saved = sim->scenarioText();
    EXPECT_EQ(scenarioValue(saved, "TarvikM52", "PAYLOAD"), payload);
    EXPECT_EQ(scenarioValue(saved, "TarvikM52", "MESH"), mesh);
    EXPECT_EQ(std::stod(scenarioValue(saved, "TarvikM52", "PLDWEIGHT")), 2000)
        << "a neighbouring value was overwritten";

    auto reloaded = loadText(saved, scratchDir(), "again.scn");
    EXPECT_EQ(scenarioValue(reloaded->scenarioText(), "TarvikM52", "PAYLOAD"), payload);
}

}  // namespace
}  // namespace medium_test
