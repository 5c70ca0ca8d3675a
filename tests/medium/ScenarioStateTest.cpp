// The launcher's scenario lines: saving in any configuration and loading
// the file again gives back the configuration, the payload and the
// propellant; odd input loads safely.
#include <algorithm>
#include <cmath>

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
