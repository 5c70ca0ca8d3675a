// The pilot's side of the heavy launcher in flight: the throttle-back rows at
// higher time acceleration, thrust vectoring from the attitude controls, a
// manual core cut-off, and keys F and J.
#include <gtest/gtest.h>

#include "HeavyTestSupport.h"

using namespace heavytest;

namespace {

struct Flight {
    explicit Flight(const LauncherKeys& keys, const char* name) : sim(TARVIK_DATA_DIR) {
        sim.loadScenario(writeScenario(name, flightBlock(keys)));
    }
    host::VesselData& hp() { return launcher(sim); }
    VESSEL& iface() { return *hp().iface; }
    void stepUntil(double mt) {
        for (int guard = 0; missionTime(sim, hp()) <= mt; ++guard) {
            ASSERT_LT(guard, 100000);
            sim.step();
        }
    }
    host::Simulation sim;
};

LauncherKeys inFlight(const char* config, double mt) {
    LauncherKeys k;
    k.config = config;
    k.missionTime = mt;
    return k;
}

}  // namespace

TEST(HeavyFlight, AboveRealTimeTheCentreCoreDropsStraightTo06At56Seconds) {
    for (double warp : {1.5, 2.0, 10.0}) {
        SCOPED_TRACE("time acceleration " + std::to_string(warp));
        Flight f(inFlight("4", 55.9), "warp");
        f.sim.setTimeAcceleration(warp);
        f.stepUntil(56);
        EXPECT_EQ(mainLevel(f.hp()), 0.6);
    }
    Flight f(inFlight("4", 55.9), "realtime");
    f.stepUntil(56);
    EXPECT_NEAR(mainLevel(f.hp()), 1 - 0.0017, 1e-12);
}

TEST(HeavyFlight, EachBoosterPairsTanksAreEmptiedAsThePairGoes) {
    Flight f(inFlight("4", 99.9), "booster-tanks");  // reloaded with full tanks
    // Booster tanks follow the cores' four, by x: -0.9, 0.9, -5.121, -6.921, 5.121, 6.921.
    const int pairs[3][2] = {{4, 5}, {6, 8}, {9, 7}};
    const double edges[3] = {100, 102, 104};
    for (int pair = 0; pair < 3; ++pair) {
        f.stepUntil(edges[pair]);
        const std::vector<double> tanks = tankMasses(f.hp());
        ASSERT_EQ(tanks.size(), 10u);
        for (int p = 0; p <= pair; ++p) {
            EXPECT_EQ(tanks[pairs[p][0]], 0) << "pair " << p + 1;
            EXPECT_EQ(tanks[pairs[p][1]], 0) << "pair " << p + 1;
        }
        for (int p = pair + 1; p < 3; ++p)
            EXPECT_GT(tanks[pairs[p][0]] + tanks[pairs[p][1]], 50000) << "pair " << p + 1;
    }
}

TEST(HeavyFlight, AttitudeControlsSwingTheCoreEnginesOnlyWithTheFullStack) {
    Flight f(inFlight("4", 10), "vectoring");
    host::VesselData& v = f.hp();
    host::Thruster* centre = thrusterAt(v, _V(0, 0, -22));
    host::Thruster* left = thrusterAt(v, _V(6.2, 0, -22));
    host::Thruster* right = thrusterAt(v, _V(-6.2, 0, -22));
    ASSERT_TRUE(centre && left && right);

    f.iface().SetThrusterGroupLevel(THGROUP_ATT_PITCHDOWN, 0.3);
    f.iface().SetThrusterGroupLevel(THGROUP_ATT_PITCHUP, 0.1);
    f.iface().SetThrusterGroupLevel(THGROUP_ATT_YAWLEFT, 0.2);
    f.sim.step();
    EXPECT_TRUE(near(centre->dir, _V(0.01, 0.005, 1), 1e-12)) << centre->dir.x << " " << centre->dir.y;
    EXPECT_TRUE(near(left->dir, _V(0, 0, 1), 1e-12));

    for (THGROUP_TYPE g : {THGROUP_ATT_PITCHDOWN, THGROUP_ATT_PITCHUP, THGROUP_ATT_YAWLEFT})
        f.iface().SetThrusterGroupLevel(g, 0);
    f.iface().SetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT, 0.3);
    f.sim.step();
    EXPECT_TRUE(near(centre->dir, _V(0, 0, 1), 1e-12));
    EXPECT_TRUE(near(left->dir, _V(0, -0.01, 1), 1e-12)) << left->dir.y;
    EXPECT_TRUE(near(right->dir, _V(0, 0.01, 1), 1e-12)) << right->dir.y;
}

TEST(HeavyFlight, AttitudeControlsLeaveTheCoreEngineAloneWithoutTheFullStack) {
    Flight core(inFlight("1", 280), "no-vectoring");
    core.iface().SetThrusterGroupLevel(THGROUP_ATT_PITCHDOWN, 0.3);
    core.sim.step();
    EXPECT_TRUE(near(core.hp().group(THGROUP_MAIN)->thrusters[0]->dir, _V(0, 0, 1), 0));
}

// A single step at time acceleration 1000 spans more than 16 s, more than any
// staging window: each event still fires on the first step past its start.
TEST(HeavyFlight, AStepThatJumpsAWholeWindowStillStages) {
    Flight stack(inFlight("4", 95), "warp-boosters");
    stack.sim.setTimeAcceleration(1000);
    stack.stepUntil(262);
    EXPECT_EQ(countClass(stack.sim, "tarvik/gem1SH"), 6);
    EXPECT_EQ(countClass(stack.sim, "tarvik/rightbooster"), 1);
    EXPECT_EQ(countClass(stack.sim, "tarvik/leftbooster"), 1);
    EXPECT_EQ(stack.sim.timeAcceleration(), 1) << "the side-core separation brings the simulation to real time";

    Flight core(inFlight("1", 320), "warp-core");
    core.sim.setTimeAcceleration(1000);
    core.sim.step();
    ASSERT_GT(missionTime(core.sim, core.hp()), 334);
    for (int i = 0; i < 510 && countClass(core.sim, "tarvik/1st") == 0; ++i)
        core.sim.step();
    EXPECT_EQ(countClass(core.sim, "tarvik/1st"), 1) << "the core never separated";
}

// A deflection commanded on the last step of the full stack does not stay on
// the engines that fly on after the first booster pair.
TEST(HeavyFlight, CoreEnginesPointStraightAftOnceTheFullStackIsGone) {
    Flight f(inFlight("4", 99.9), "vectoring-after-pair");
    f.iface().SetThrusterGroupLevel(THGROUP_ATT_PITCHDOWN, 0.3);
    f.iface().SetThrusterGroupLevel(THGROUP_ATT_BANKLEFT, 0.3);
    f.stepUntil(100.1);
    ASSERT_EQ(countClass(f.sim, "tarvik/gem1SH"), 2);
    for (const VECTOR3& pos : {_V(0, 0, -22), _V(6.2, 0, -22), _V(-6.2, 0, -22)})
        EXPECT_TRUE(near(thrusterAt(f.hp(), pos)->dir, _V(0, 0, 1), 0)) << pos.x;
}

// Saved while the attitude controls swing the engines, the stack reloads
// with them swung, before its first step.
TEST(HeavyFlight, ReloadedFullStackKeepsItsEngineDeflection) {
    Flight f(inFlight("4", 10), "vectoring-saved");
    f.iface().SetThrusterGroupLevel(THGROUP_ATT_PITCHDOWN, 0.3);
    f.sim.step();
    const std::string text = f.sim.scenarioText();
    host::Simulation again(TARVIK_DATA_DIR);
    again.loadScenario(writeScenarioText("vectoring-reloaded", text));
    EXPECT_TRUE(near(thrusterAt(launcher(again), _V(0, 0, -22))->dir, _V(0, 0.0075, 1), 1e-12));
}

// As the payload leaves, the spent stage's engine is cut, and an ignition
// still waiting no longer lights it: the stage falls behind its payload.
TEST(HeavyFlight, ThePayloadReleaseCutsTheSpentStagesEngine) {
    LauncherKeys k = inFlight("2", 400);
    k.fairing = "0";
    Flight burning(k, "release-burning");
    for (int i = 0; i < 702; ++i)
        burning.sim.step();
    ASSERT_EQ(mainLevel(burning.hp()), 1);
    burning.sim.pressKey(OAPI_KEY_J);
    EXPECT_EQ(mainLevel(burning.hp()), 0);
    burning.sim.run(5);
    const host::VesselData* payload = burning.sim.vessel("tarvik/sat2");
    ASSERT_NE(payload, nullptr);
    EXPECT_LT(length(burning.hp().state.vel), length(payload->state.vel)) << "the spent stage overtakes its payload";

    Flight waiting(k, "release-waiting");
    waiting.sim.step();
    waiting.sim.pressKey(OAPI_KEY_J);
    for (int i = 0; i < 720; ++i)
        waiting.sim.step();
    EXPECT_EQ(mainLevel(waiting.hp()), 0) << "the upper-stage ignition lit the spent stage";
}

TEST(HeavyFlight, CoreSetUpKeepsFullThrottleOnlyBefore251Seconds) {
    EXPECT_EQ(mainLevel(Flight(inFlight("1", 200), "core-200").hp()), 1);
    EXPECT_EQ(mainLevel(Flight(inFlight("1", 251), "core-251").hp()), 0.6);
}

// A launcher saved after its first booster pair reloads as the core alone; the
// booster windows still ahead of its clock must not shed boosters it no longer
// has nor bring the side cores back.
TEST(HeavyFlight, TheCoreAloneReloadedBeforeTheLastBoosterPairShedsNothingMore) {
    Flight f(inFlight("1", 100.5), "core-among-booster-windows");
    const std::vector<std::string> coreAlone = meshNames(f.hp());
    f.stepUntil(107);
    EXPECT_EQ(countClass(f.sim, "tarvik/gem1SH"), 0);
    EXPECT_EQ(meshNames(f.hp()), coreAlone);
    EXPECT_EQ(f.hp().caps.emptyMass, 44147);
}

TEST(HeavyFlight, ManualCoreCutOffHoldsBackTheAutomaticRowsUntilJ) {
    Flight f(inFlight("1", 295), "manual-cutoff");
    f.stepUntil(300);
    f.sim.setThrottle(0);
    f.stepUntil(336);
    EXPECT_EQ(countClass(f.sim, "tarvik/1st"), 0) << "core separated after a manual cut-off";
    EXPECT_EQ(meshNames(f.hp()).front(), "tarvik/Tarvik1st");

    EXPECT_FALSE(f.sim.pressKey(OAPI_KEY_J));
    for (int i = 0; i < 500; ++i)
        f.sim.step();
    EXPECT_EQ(countClass(f.sim, "tarvik/1st"), 0);
    f.sim.step();
    EXPECT_EQ(countClass(f.sim, "tarvik/1st"), 1) << "J must start the 500-step core-separation countdown";
}

TEST(HeavyFlight, KeysActOnlyInTheirStageAndAreNeverConsumed) {
    host::Simulation pad(TARVIK_DATA_DIR);
    pad.loadScenario(writeScenario("keys-pad", padBlock({})));
    const std::vector<std::string> padMeshes = meshNames(launcher(pad));
    EXPECT_FALSE(pad.pressKey(OAPI_KEY_J));
    EXPECT_FALSE(pad.pressKey(OAPI_KEY_F));
    EXPECT_EQ(pad.vessels().size(), 1u);
    EXPECT_EQ(meshNames(launcher(pad)), padMeshes);
}

TEST(HeavyFlight, WithoutFairingThePayloadGoesStraightFromTheUpperStage) {
    LauncherKeys k = inFlight("2", 400);
    k.fairing = "0";
    Flight f(k, "no-fairing");
    EXPECT_FALSE(f.sim.pressKey(OAPI_KEY_F));
    EXPECT_EQ(countClass(f.sim, "tarvik/fair1"), 0) << "no fairing halves without a fairing";
    EXPECT_FALSE(f.sim.pressKey(OAPI_KEY_J));
    EXPECT_NE(f.sim.vessel("tarvik/sat2"), nullptr);
    const size_t vessels = f.sim.vessels().size();
    EXPECT_FALSE(f.sim.pressKey(OAPI_KEY_J));
    EXPECT_EQ(f.sim.vessels().size(), vessels) << "a second J released another payload";
}

// From 332 s the core counts down to its separation while still attached:
// dropping the fairing or the payload then would leave the core's meshes and
// mass behind and let the separation bring them back for a second drop.
TEST(HeavyFlight, FairingAndPayloadKeysWaitForTheCoreToSeparate) {
    Flight f(inFlight("1", 331.9), "keys-in-countdown");
    f.stepUntil(333);
    const std::vector<std::string> withCore = meshNames(f.hp());
    f.sim.pressKey(OAPI_KEY_F);
    f.sim.pressKey(OAPI_KEY_J);
    EXPECT_EQ(countClass(f.sim, "tarvik/fair1"), 0);
    EXPECT_EQ(f.sim.vessel("tarvik/sat2"), nullptr);
    EXPECT_EQ(meshNames(f.hp()), withCore);

    for (int i = 0; i < 501 && countClass(f.sim, "tarvik/1st") == 0; ++i)
        f.sim.step();
    ASSERT_EQ(countClass(f.sim, "tarvik/1st"), 1);
    f.sim.pressKey(OAPI_KEY_F);
    f.sim.pressKey(OAPI_KEY_F);
    EXPECT_EQ(countClass(f.sim, "tarvik/fair1"), 1);
}

TEST(HeavyFlight, FairingKeyDropsTheHalvesOnceOnly) {
    Flight g(inFlight("2", 400), "fairing-twice");
    g.sim.pressKey(OAPI_KEY_F);
    EXPECT_EQ(countClass(g.sim, "tarvik/fair1"), 1);
    g.sim.pressKey(OAPI_KEY_F);
    EXPECT_EQ(countClass(g.sim, "tarvik/fair1"), 1);
}
