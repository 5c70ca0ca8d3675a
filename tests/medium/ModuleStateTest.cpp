// Two Medium builds flown in one scenario keep their own module-wide state:
// payload, mission clock and engines of one never leak into the other.
#include "MediumTestSupport.h"

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

}  // namespace
}  // namespace medium_test
