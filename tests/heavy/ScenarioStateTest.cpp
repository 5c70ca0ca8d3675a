// The heavy launcher's scenario lines read from hand-written scenarios: the
// layout each configuration code rebuilds, the key matching, and payload
// words of any length.
#include <gtest/gtest.h>

#include "HeavyTestSupport.h"

using namespace heavytest;

namespace {

const char* kOrbit = "  STATUS Orbiting Earth\n  RPOS 6571010 0 0\n  RVEL 0 0 7788.5\n";

struct Loaded {
    Loaded(const std::string& name, const std::string& block) : sim(TARVIK_DATA_DIR) {
        sim.loadScenario(writeScenario(name, block));
    }
    host::VesselData& hp() { return launcher(sim); }
    host::Simulation sim;
};

}  // namespace

TEST(HeavyScenario, WithoutItsOwnLinesTheLauncherStandsOnThePadFullyStacked) {
    Loaded l("bare-pad", blockWithLines("  STATUS Landed Earth\n  POS -120.6256 34.6\n  HEADING 90.00\n", ""));
    const std::vector<std::string> meshes = meshNames(l.hp());
    ASSERT_EQ(meshes.size(), 3u + 6 + 2 + 2);
    EXPECT_EQ(meshes[0], "tarvik/Tarvik1stA");
    EXPECT_EQ(meshes[3], "tarvik/GEM1SH");
    EXPECT_EQ(meshes[11], "tarvik/FairHPR");
    EXPECT_EQ(l.hp().caps.emptyMass, 117181);
    EXPECT_EQ(propellant(l.hp()), 626140 + 2 * 199640 + 27220);
    EXPECT_EQ(savedValue(l.sim.scenarioText(), "CONFIG"), "0");
    EXPECT_EQ(savedValue(l.sim.scenarioText(), "Fairing_attached"), "1");
}

TEST(HeavyScenario, UpperStageWithoutFairingWeighsOnlyStageAndPayload) {
    Loaded l("no-fairing", blockWithLines(kOrbit,
                                          "  PAYLOAD tarvik/sat2\n  MESH Tarvik/sat2\n  CONFIG 2\n"
                                          "  PLDWEIGHT 13000\n  Fairing_attached 0\n"));
    EXPECT_EQ(meshNames(l.hp()), (std::vector<std::string>{"tarvik/SHstage2", "Tarvik/sat2"}));
    EXPECT_EQ(l.hp().caps.emptyMass, 6490 + 13000);
    EXPECT_EQ(l.hp().caps.size, 6.85);
    EXPECT_EQ(savedValue(l.sim.scenarioText(), "Fairing_attached"), "0");
}

TEST(HeavyScenario, UnknownConfigurationCodeStandsAsLaidOutOnThePad) {
    for (const char* code : {"9", "7", "2.5"}) {
        Loaded l("config-unknown", blockWithLines(kOrbit, std::string("  CONFIG ") + code + "\n"));
        ASSERT_FALSE(meshNames(l.hp()).empty()) << "an invisible launcher";
        EXPECT_EQ(meshNames(l.hp())[0], "tarvik/Tarvik1stA");
        EXPECT_EQ(l.hp().propellants.size(), 4u);
        EXPECT_EQ(mainLevel(l.hp()), 0);
        EXPECT_EQ(savedValue(l.sim.scenarioText(), "CONFIG"), "0") << code;
    }
}

// A negative payload mass or mission clock, a fairing flag other than 0 or 1
// and numbers that are not finite are refused: the field keeps its value.
TEST(HeavyScenario, ValuesALauncherCannotHaveAreRefused) {
    Loaded l("refused", blockWithLines(kOrbit,
                                       "  PLDWEIGHT 2000\n  PLDWEIGHT -5000\n  PLDWEIGHT inf\n  Fairing_attached 2\n"
                                       "  Fairing_attached nan\n  missiontime 50\n  missiontime -1\n  missiontime nan\n"
                                       "  CONFIG 4\n  CONFIG -1\n"));
    EXPECT_EQ(l.hp().caps.emptyMass, 117181 + 2000);
    const std::string saved = l.sim.scenarioText();
    EXPECT_EQ(savedValue(saved, "PLDWEIGHT"), "2000");
    EXPECT_EQ(savedValue(saved, "Fairing_attached"), "1");
    EXPECT_EQ(savedValue(saved, "missiontime"), "50");
    EXPECT_EQ(savedValue(saved, "CONFIG"), "4");
}

// A staging history no flight can have, or one that does not lead to the
// configuration code, is set aside: the code alone decides.
TEST(HeavyScenario, AStagingHistoryIsTakenOnlyWhereAFlightCouldHaveIt) {
    const char* oneBoosterPair = "  CONFIG 1\n  STAGING pad liftoff pair1\n";
    EXPECT_EQ(Loaded("history-pair", blockWithLines(kOrbit, oneBoosterPair)).hp().caps.emptyMass, 110681);
    for (const char* impossible :
         {"  CONFIG 1\n  STAGING pad liftoff pair2\n", "  CONFIG 1\n  STAGING pad liftoff core\n",
          "  CONFIG 1\n  STAGING pad liftoff pair1 pair1\n", "  CONFIG 1\n  STAGING pad liftoff\n",
          "  CONFIG 1\n  STAGING pad liftoff pair1 somersault\n"}) {
        Loaded l("history-impossible", blockWithLines(kOrbit, impossible));
        EXPECT_EQ(l.hp().caps.emptyMass, 44147) << impossible;
        EXPECT_NE(l.sim.scenarioText().find("  STAGING pad liftoff pair1 pair2 pair3 sidecores\n"), std::string::npos)
            << impossible;
    }
}

TEST(HeavyScenario, KeysMatchByPrefixWithoutRegardToCase) {
    Loaded l("lower-case", blockWithLines(kOrbit,
                                          "  payload tarvik/sat3\n  mesh tarvik/sat3\n  z_offset 2.5\n"
                                          "  config 3\n  pldweight 3000\n  MissionTime 412.5\n"));
    const host::VesselData& v = l.hp();
    ASSERT_EQ(meshNames(v), (std::vector<std::string>{"tarvik/SHstage2", "tarvik/sat3"}));
    EXPECT_NEAR(v.meshes[1].offset.z, 4.94, 1e-12) << "payload mesh follows the Z offset";
    EXPECT_EQ(v.caps.emptyMass, 6490 + 3000);
    const std::string saved = l.sim.scenarioText();
    EXPECT_EQ(savedValue(saved, "PAYLOAD"), "tarvik/sat3");
    EXPECT_EQ(std::stod(savedValue(saved, "missiontime")), 412.5);
}

TEST(HeavyScenario, PayloadAndMeshWordsOfAnyLengthAreKeptWholeWithoutHarmToTheirNeighbours) {
    const std::string payload = "vessels/a-payload-class-of-forty-chars-x";  // longer than any field once held
    const std::string mesh = "meshes/a-payload-mesh-name-of-forty-five-chars";
    Loaded l("long-words", blockWithLines(kOrbit, "  PAYLOAD " + payload + "\n  MESH " + mesh +
                                                      "\n  Z_OFFSET 1.25\n  CONFIG 3\n  PLDWEIGHT 2000\n"));
    EXPECT_EQ(meshNames(l.hp()), (std::vector<std::string>{"tarvik/SHstage2", mesh}));
    EXPECT_EQ(l.hp().caps.emptyMass, 6490 + 2000);
    const std::string saved = l.sim.scenarioText();
    EXPECT_EQ(savedValue(saved, "PAYLOAD"), payload);
    EXPECT_EQ(savedValue(saved, "MESH"), mesh);
    EXPECT_EQ(std::stod(savedValue(saved, "Z_OFFSET")), 1.25);
    EXPECT_EQ(savedValue(saved, "CONFIG"), "3");
}

TEST(HeavyScenario, UnreadableNumbersLeaveTheirFieldsAsTheyWere) {
    Loaded l("bad-numbers", blockWithLines(kOrbit, "  PLDWEIGHT 2000\n  PLDWEIGHT heavy\n  CONFIG 3\n  CONFIG x\n"));
    EXPECT_EQ(l.hp().caps.emptyMass, 6490 + 2000);
    EXPECT_EQ(savedValue(l.sim.scenarioText(), "CONFIG"), "3");
}

// As the payload release left it: the spent-stage mesh, one tank.
TEST(HeavyScenario, ASpentStageReloadsWithItsOneTankHoweverManyLinesFollow) {
    Loaded l("spent", blockWithLines(kOrbit, "  CONFIG 5\n  PLDWEIGHT 0\n  missiontime 900\n  SOMETHING else\n"));
    EXPECT_EQ(l.hp().propellants.size(), 1u);
    EXPECT_EQ(meshNames(l.hp()), std::vector<std::string>{"tarvik/2nd"});
    EXPECT_EQ(l.hp().caps.emptyMass, 3490);
    EXPECT_EQ(savedValue(l.sim.scenarioText(), "Fairing_attached"), "(none)");
}

TEST(HeavyScenario, WithoutFairingThePadStackIsLighterButTheFlightLayoutCountsItAllTheSame) {
    LauncherKeys keys;
    keys.fairing = "0";
    {
        Loaded pad("pad-no-fairing", padBlock(keys));
        EXPECT_EQ(pad.hp().caps.emptyMass, 117181 - 1400);
        for (const std::string& mesh : meshNames(pad.hp()))
            EXPECT_EQ(mesh.find("FairHP"), std::string::npos) << mesh;
    }

    keys.config = "4";
    Loaded flight("flight-no-fairing", flightBlock(keys));
    EXPECT_EQ(flight.hp().caps.emptyMass, 117181);
}
