// Two Medium builds flown in one scenario keep their own module-wide state:
// payload, mission clock and engines of one never leak into the other.
#include "MediumTestSupport.h"
#include "window/Dialogs.h"

namespace medium_test {
namespace {

TEST(ModuleState, TwoBuildsInOneScenarioKeepTheirOwnState) {
    const std::string m52 = landedBlock("TarvikM52", "tarvik/tarvikM52",
                                        "  PAYLOAD tarvik/sat1\n  MESH tarvik/sat1\n  Z_OFFSET 3.985958\n  CONFIG 0\n"
                                        "  PLDWEIGHT 4500\n  Fairing_attached 1\n  missiontime 0\n");
    std::string m42 = landedBlock("TarvikM42", "tarvik/tarvikM42",
                                  "  PAYLOAD carina\n  MESH carina\n  Z_OFFSET 0.6663311\n  CONFIG 0\n"
                                  "  PLDWEIGHT 6000\n  Fairing_attached 0\n  missiontime 0\n");
    m42.replace(m42.find("-80.5680 28.53429"), 17, "-120.6256 34.6");
    auto sim = loadText(scenario("TarvikM52", m52 + m42), scratchDir());

    sim->setThrottle(1);  // only the focus launcher, TarvikM52, is launched
    sim->run(20);

    const std::string text = sim->scenarioText();
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM52", "CONFIG")), 4);
    EXPECT_GT(std::stod(scenarioValue(text, "TarvikM52", "missiontime")), 15);
    EXPECT_EQ(scenarioValue(text, "TarvikM52", "PAYLOAD"), "tarvik/sat1");
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM42", "CONFIG")), 0);
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM42", "missiontime")), 0);
    EXPECT_EQ(scenarioValue(text, "TarvikM42", "PAYLOAD"), "carina");
    EXPECT_EQ(scenarioValue(text, "TarvikM42", "Fairing_attached"), "0");

    const host::VesselData* waiting = sim->vessel("TarvikM42");
    EXPECT_TRUE(waiting->state.landed);
    EXPECT_EQ(waiting->meshes[0].name, "tarvik/Tarvik1stA");
    EXPECT_TRUE(hasMesh(*waiting, "carina"));
    EXPECT_NEAR(waiting->caps.emptyMass, 2 * 3250 + 26767 + 2850 + 6000, 1e-6);
}

// Two launchers of one build, one on each pad with a payload of its own: each
// keeps its payload, its clock and its autopilot dialog, and a save taken
// while one flies reloads both as they were.
TEST(ModuleState, TwoLaunchersOfOneBuildFlyAndSaveEachAsItself) {
    const std::string first = landedBlock("TarvikM52", "tarvik/tarvikM52",
                                          "  PAYLOAD tarvik/sat1\n  MESH tarvik/sat1\n  Z_OFFSET 3.985958\n  CONFIG 0\n"
                                          "  PLDWEIGHT 4500\n  Fairing_attached 1\n  missiontime 0\n");
    std::string second = landedBlock("TarvikM52-2", "tarvik/tarvikM52-2",
                                     "  PAYLOAD tarvik/sat3\n  MESH tarvik/sat3\n  Z_OFFSET 2\n  CONFIG 0\n"
                                     "  PLDWEIGHT 3000\n  Fairing_attached 0\n  missiontime 0\n");
    second.replace(second.find("-80.5680 28.53429"), 17, "-120.6256 34.6");
    const std::filesystem::path dir = scratchDir();
    auto sim = loadText(scenario("TarvikM52", first + second), dir);
    auto payloadOf = [](const std::string& text, const char* name) {
        return scenarioValue(text, name, "PAYLOAD") + " " + scenarioValue(text, name, "PLDWEIGHT");
    };
    std::string text = sim->scenarioText();
    EXPECT_EQ(payloadOf(text, "TarvikM52"), "tarvik/sat1 4500");
    EXPECT_EQ(payloadOf(text, "TarvikM52-2"), "tarvik/sat3 3000") << "one launcher's payload was lost";

    // The first launches under its autopilot; the second opens its own dialog on its pad.
    sim->step();
    sim->pressKey(OAPI_KEY_A);
    HWND firstDialog = host::findDialog(131);
    ASSERT_TRUE(firstDialog);
    ASSERT_EQ(host::typeText(firstDialog, 1079, "51.6"), host::InputResult::Done);
    ASSERT_EQ(host::click(firstDialog, 1075), host::InputResult::Done);
    sim->run(30);
    // The module has one autopilot dialog: the first launcher's, while it flies.
    sim->setFocus(sim->vessel("TarvikM52-2"));
    sim->pressKey(OAPI_KEY_A);
    EXPECT_EQ(host::openDialogs().size(), 1u);
    sim->step();
    EXPECT_EQ(host::controlText(firstDialog, 1094), "4500.00") << "the second launcher took the first one's dialog";

    text = sim->scenarioText();
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM52", "CONFIG")), 4);
    EXPECT_GT(std::stod(scenarioValue(text, "TarvikM52", "missiontime")), 25);
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM52-2", "CONFIG")), 0);
    EXPECT_EQ(std::stod(scenarioValue(text, "TarvikM52-2", "missiontime")), 0);
    EXPECT_TRUE(sim->vessel("TarvikM52-2")->state.landed);
    const double firstMass = sim->vessel("TarvikM52")->caps.emptyMass;

    // Once the first lets its dialog go, the second opens one of its own.
    ASSERT_EQ(host::click(firstDialog, 1033), host::InputResult::Done);  // Autopilot OFF
    sim->pressKey(OAPI_KEY_A);
    HWND secondDialog = host::findDialog(131);
    ASSERT_TRUE(secondDialog);
    sim->step();
    EXPECT_EQ(host::controlText(secondDialog, 1094), "3000.00");
    EXPECT_EQ(host::controlText(secondDialog, 1058), "TarvikM52-2");

    // Saved with one in the air and one on the pad, both come back as they were.
    auto reloaded = loadText(text, scratchDir(), "mid.scn");
    const std::string again = reloaded->scenarioText();
    for (const char* name : {"TarvikM52", "TarvikM52-2"})
        for (const char* key : {"PAYLOAD", "PLDWEIGHT", "CONFIG", "Fairing_attached", "missiontime", "STAGING"})
            EXPECT_EQ(scenarioValue(again, name, key), scenarioValue(text, name, key)) << name << " " << key;
    EXPECT_NEAR(reloaded->vessel("TarvikM52")->caps.emptyMass, firstMass, 1e-6);
    EXPECT_NEAR(reloaded->vessel("TarvikM52-2")->caps.emptyMass, 2 * 3250 + 26767 + 3490 + 3000, 1e-6);
}

}  // namespace
}  // namespace medium_test
