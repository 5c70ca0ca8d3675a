// The staging timeline of a manual flight, build by build: what the pilot
// sees happen, when, and what the shed parts do as they leave.
#include <cmath>

#include "MissionFlights.h"

namespace medium_test {
namespace {

constexpr double kFps = 60;

class StagingTimeline : public testing::TestWithParam<Build> {
protected:
    const Build& b = GetParam();
    const MissionRecord& mission = flownMission(GetParam());
    std::string own(const char* suffix) const { return std::string(b.name) + suffix; }

    std::string log() const {
        std::string text;
        for (const std::string& line : mission.eventLines)
            if (line.find(b.name) != std::string::npos)
                text += line + "\n";
        return text;
    }
};

TEST_P(StagingTimeline, PadHoldsTheLauncherDownForHundredStepsAtFullThrust) {
    ASSERT_GE(mission.liftoffStep, 0) << "the launcher never lifted off\n" << log();
    EXPECT_EQ(mission.liftoffStep - mission.throttleStep, 100);
    EXPECT_TRUE(mission.landedUntilLiftoff) << "the launcher left the pad before its release";
    EXPECT_TRUE(mission.airborneAfterLiftoff) << "the launcher stayed on the pad after its release";
}

TEST_P(StagingTimeline, BoostersAreShedNearHundredSeconds) {
    const PartRelease* gem1 = mission.release(own("gem1"));
    const PartRelease* gem4 = mission.release(own("gem4"));
    if (b.boosters == 0) {
        EXPECT_FALSE(gem1 || gem4) << "a launcher without boosters shed one";
        return;
    }
    ASSERT_TRUE(gem1 && gem4) << log();
    EXPECT_EQ(gem1->classKey, "tarvik/gem1");
    EXPECT_EQ(gem4->classKey, "tarvik/gem4");
    for (const PartRelease* gem : {gem1, gem4}) {
        EXPECT_GT(gem->step / kFps, 99.9) << gem->name;
        EXPECT_LT(gem->step / kFps, 100.05) << gem->name;
    }
    const PartRelease* gem2 = mission.release(own("gem2"));
    const PartRelease* gem3 = mission.release(own("gem3"));
    if (b.boosters == 2) {
        EXPECT_FALSE(gem2 || gem3) << "a two-booster launcher shed a second pair";
        return;
    }
    ASSERT_TRUE(gem2 && gem3) << log();
    EXPECT_EQ(gem2->classKey, "tarvik/gem2");
    EXPECT_EQ(gem3->classKey, "tarvik/gem3");
    const double pairGap = (gem2->step - gem1->step) / kFps;
    EXPECT_GT(pairGap, 2.0);
    EXPECT_LT(pairGap, 2.1);
    EXPECT_EQ(gem3->step, gem2->step);
}

TEST_P(StagingTimeline, CoreThrottlesDownAndCutsOffBeforeSeparation) {
    // From 242 s the core engine loses 0.002 (5 m builds) or 0.001 (4 m builds) of thrust per step.
    EXPECT_NEAR(mission.mainLevelAt247, b.fiveMetre ? 0.4 : 0.7, 0.01);
    EXPECT_EQ(mission.mainLevelAt2526, 0.0) << "the core engine still burns after its cut-off";
}

TEST_P(StagingTimeline, CoreSeparatesFiveHundredStepsAfterItsCutOff) {
    const PartRelease* core = mission.release(own("1st"));
    ASSERT_TRUE(core) << log();
    EXPECT_EQ(core->classKey, b.coreStageClass);
    EXPECT_GT(core->step, 253 * kFps + 500);
    EXPECT_LE(core->step, 254 * kFps + 502);
}

TEST_P(StagingTimeline, UpperStageLightsAfterItsIgnitionCount) {
    ASSERT_GE(mission.upperIgnitionStep, 0) << log();
    const long long wait = mission.upperIgnitionStep - mission.coreSeparationStep;
    EXPECT_GE(wait, b.upperIgnitionSteps + 1);
    EXPECT_LE(wait, b.upperIgnitionSteps + 2);
}

TEST_P(StagingTimeline, KeyFDropsTheFairingAndKeyJReleasesThePayload) {
    const PartRelease* right = mission.release(own("fairing1"));
    const PartRelease* left = mission.release(own("fairing2"));
    ASSERT_TRUE(right && left) << log();
    const bool fromCore = !b.fiveMetre;  // the 4 m missions press F while the core stage burns
    EXPECT_EQ(right->classKey, fromCore ? b.fairingRightFromCore : b.fairingRight);
    EXPECT_EQ(left->classKey, fromCore ? b.fairingLeftFromCore : b.fairingLeft);
    EXPECT_NEAR(right->step / kFps, fairingKeyTimes(b).front(), 0.05);

    const PartRelease* payload = mission.release(b.payload);
    ASSERT_TRUE(payload) << "the payload was not released under its class name\n" << log();
    EXPECT_EQ(payload->classKey, b.payload);
    EXPECT_NEAR(payload->step / kFps, 290, 0.05);
    EXPECT_EQ(mission.focusAtEnd, b.payload) << "the pilot should fly the payload after its release";
}

void expectVector(const VECTOR3& actual, const VECTOR3& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6) << what << " x";
    EXPECT_NEAR(actual.y, expected.y, 1e-6) << what << " y";
    EXPECT_NEAR(actual.z, expected.z, 1e-6) << what << " z";
}

TEST_P(StagingTimeline, ShedPartsLeaveWithTheirPushAndSpin) {
    struct Expected {
        std::string suffix;
        VECTOR3 push;
        enum { Same, FairingY, NoTumble } spin;
        double spinY;
    };
    const std::vector<Expected> table = {
        {"gem1", {-10, -7, 0}, Expected::NoTumble, 0},
        {"gem4", {10, 7, 0}, Expected::NoTumble, 0},
        {"gem2", {-10, 7, 0}, Expected::NoTumble, 0},
        {"gem3", {10, -7, 0}, Expected::NoTumble, 0},
        {"fairing1", {6, 0, 0}, Expected::FairingY, -0.1},
        {"fairing2", {-6, 0, 0}, Expected::FairingY, 0.1},
        {"1st", {0, 0, -2}, Expected::Same, 0},
    };
    int checked = 0;
    for (const Expected& e : table) {
        const PartRelease* part = mission.release(own(e.suffix.c_str()));
        if (!part)
            continue;
        ++checked;
        expectVector(part->push, e.push, part->name + " push");
        VECTOR3 spin = part->launcherSpin;
        if (e.spin == Expected::FairingY)
            spin.y = e.spinY;
        if (e.spin == Expected::NoTumble)
            spin.x = spin.y = 0;
        expectVector(part->spin, spin, part->name + " spin");
    }
    const PartRelease* payload = mission.release(b.payload);
    ASSERT_TRUE(payload);
    expectVector(payload->push, _V(0, 0, 1), "payload push");
    expectVector(payload->spin, payload->launcherSpin, "payload spin");
    EXPECT_EQ(checked, 3 + b.boosters);
}

TEST_P(StagingTimeline, EmptyMassCountsThePartsShown) {
    const double upper = b.upperDryMass, payload = b.payloadMass, fairing = b.fairingMass;
    const double fullStack = b.boosters * kBoosterDryMass + kCoreDryMass + upper + payload + fairing;
    // The 5 m missions keep the fairing until the upper stage flies; the 4 m ones shed it from the core.
    const double core = b.boosters == 4   ? 2 * kBoosterDryMass + kCoreDryMass + upper + payload + fairing
                        : b.boosters == 0 ? kCoreDryMass + upper + payload
                                          : kCoreDryMass + upper + payload + fairing;
    const std::map<int, double> expected = {
        {0, fullStack},       {4, fullStack}, {1, core}, {2, upper + payload + (b.fiveMetre ? fairing : 0)},
        {3, upper + payload}, {5, upper},
    };
    for (const auto& [code, mass] : expected) {
        ASSERT_TRUE(mission.configs.count(code)) << "configuration " << code << " never reached";
        EXPECT_NEAR(mission.configs.at(code).emptyMass, mass, 1e-6) << "configuration " << code;
    }
}

TEST_P(StagingTimeline, BoosterJettisonCarriesTheCoreTanksOwnPropellantIntoTheCoreStage) {
    if (b.boosters == 0)
        GTEST_SKIP() << "no booster jettison";
    ASSERT_EQ(mission.tanksAfterBoosterJettison, 1);
    EXPECT_EQ(mission.coreTankMaxAfterBoosterJettison, kCoreTankMax);
    // What the core tank held the step before, less one step's burn of the core engine (about 13 kg).
    EXPECT_LE(mission.coreTankAfterBoosterJettison, mission.coreTankBeforeBoosterJettison);
    EXPECT_GT(mission.coreTankAfterBoosterJettison, mission.coreTankBeforeBoosterJettison - 20);
    EXPECT_LT(mission.coreTankAfterBoosterJettison, mission.propellantBeforeBoosterJettison - b.upperPropellant)
        << "the upper stage's propellant went into the core tank";
}

INSTANTIATE_TEST_SUITE_P(Builds, StagingTimeline, testing::ValuesIn(kBuilds), buildName);

}  // namespace
}  // namespace medium_test

namespace medium_test {
namespace {

TEST_P(StagingTimeline, TheUpperStageKeepsItsOwnTankWhenThePayloadLeaves) {
    const ConfigSnapshot& released = mission.configs.at(5);
    const ConfigSnapshot& before = mission.configs.at(3);
    ASSERT_EQ(released.tanks.size(), 1u) << "a tank out of nothing";
    EXPECT_LT(released.tanks[0], released.tankMax[0]) << "the stage's own tank, part burnt";
    EXPECT_LE(released.tanks[0], before.tanks[0]);
}

// One press of J does one thing: on TarvikM4 with its fairing gone, the core
// separates and the payload stays until J is pressed again.
TEST(StagingKeys, OnePressOfJSeparatesTheCoreWithoutReleasingThePayload) {
    const Build& b = build("TarvikM4");
    const std::string lines = payloadLines(b) + "  CONFIG 0\n  PLDWEIGHT 3000\n  Fairing_attached 1\n  missiontime 0\n";
    auto sim = loadText(scenario(b.name, landedBlock(b.name, b.classKey, lines)), scratchDir());
    sim->setThrottle(1);
    sim->run(150);
    sim->pressKey(OAPI_KEY_F);
    sim->run(60);
    sim->pressKey(OAPI_KEY_J);
    EXPECT_TRUE(sim->vessel("TarvikM41st")) << "the core stays on";
    EXPECT_FALSE(sim->vessel(b.payload)) << "the payload left with the core, on a suborbital path";
    sim->step();
    sim->pressKey(OAPI_KEY_J);
    EXPECT_TRUE(sim->vessel(b.payload));
}

}  // namespace
}  // namespace medium_test
