// One manual launch from the pad at real time, recorded step by step: the
// pad hold-down, the throttle and staging timeline, the shed parts, the empty
// masses of every layout, and scenarios saved on the way and loaded again.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "HeavyTestSupport.h"

using namespace heavytest;

namespace {

struct Sample {
    double mt;     // seconds since lift-off, summed here as the launcher's clock sums them
    double shown;  // mission time on screen
    double main, left, right;
    int boosters;
    int vessels;
    double emptyMass;
    double fuel;
    double firstTank;  // the default propellant resource
    size_t tanks;
};

struct ShedRecord {
    std::string name, className;
    size_t step;
    host::FlightState part, launcher;
};

struct Snapshot {
    std::string block;  // the launcher's own block of the saved scenario
    std::vector<double> tanks;
    std::vector<std::string> meshes;
    double emptyMass;
    double main;
    size_t sample;  // the last sample before it was taken
};

std::string launcherBlock(const std::string& scenario) {
    const size_t from = scenario.find("TarvikHP:");
    return scenario.substr(from, scenario.find("\nEND\n", from) + 5 - from);
}

}  // namespace

class HeavyLaunch : public ::testing::Test {
protected:
    static inline std::vector<Sample> samples;
    static inline std::vector<ShedRecord> shed;
    static inline std::map<std::string, Snapshot> saved;
    static inline int padSteps = 0;  // steps on the ground with the throttle open
    static inline double warpAfterThrottle = 0;
    static inline double mtBeforeThrottle = -1;
    static inline size_t padThrusters = 0, liftoffThrusters = 0;
    static inline host::FlightState beforePayload;

    static void SetUpTestSuite() {
        if (!samples.empty())
            return;  // flown once for the whole program
        host::Simulation sim(TARVIK_DATA_DIR);
        sim.loadScenario(writeScenario("launch", padBlock({})));
        host::VesselData& hp = launcher(sim);
        std::set<const host::VesselData*> known;
        for (const auto& v : sim.vessels())
            known.insert(v.get());
        padThrusters = hp.thrusters.size();

        for (int i = 0; i < 30; ++i)
            sim.step();  // throttle closed: nothing moves
        mtBeforeThrottle = missionTime(sim, hp);
        sim.setTimeAcceleration(10);
        sim.setThrottle(0.05);

        double mt = 0;
        auto step = [&] {
            const bool airborne = !(hp.state.landed || hp.state.groundContact);
            sim.step();
            if (airborne)
                mt += sim.simStep();
        };
        auto record = [&] {
            for (const auto& v : sim.vessels())
                if (known.insert(v.get()).second)
                    shed.push_back({v->name, v->className, samples.size(), v->state, hp.state});
            const host::Thruster* left = thrusterAt(hp, _V(6.2, 0, -22));
            const host::Thruster* right = thrusterAt(hp, _V(-6.2, 0, -22));
            samples.push_back({mt, missionTime(sim, hp), mainLevel(hp), left ? left->level : -1,
                               right ? right->level : -1, countClass(sim, "tarvik/gem1SH"),
                               static_cast<int>(sim.vessels().size()), hp.caps.emptyMass, propellant(hp),
                               hp.propellants.empty() ? 0 : hp.propellants[0]->mass, hp.propellants.size()});
        };
        auto save = [&](const std::string& name) {
            saved[name] = {launcherBlock(sim.scenarioText()),
                           tankMasses(hp),
                           meshNames(hp),
                           hp.caps.emptyMass,
                           mainLevel(hp),
                           samples.size() - 1};
        };

        step();
        warpAfterThrottle = sim.timeAcceleration();
        record();
        while (hp.state.groundContact || samples.back().mt <= 0) {
            step();
            record();
            if (hp.thrusters.size() != padThrusters && liftoffThrusters == 0) {
                liftoffThrusters = hp.thrusters.size();
                padSteps = static_cast<int>(samples.size());
            }
            ASSERT_LT(samples.size(), 200u) << "the launcher never left the pad";
        }
        const std::pair<double, const char*> saveAt[] = {
            {50, "config4"}, {101, "config1-boosters"}, {260, "config1-core"}, {333, "countdown"}};
        size_t nextSave = 0;
        while (countClass(sim, "tarvik/1st") == 0 && samples.back().mt < 400) {
            step();
            record();
            if (nextSave < 4 && samples.back().mt > saveAt[nextSave].first)
                save(saveAt[nextSave++].second);
        }
        for (int i = 0; i < 760; ++i) {  // upper stage lit after 700 steps
            step();
            record();
        }
        save("config2");
        sim.pressKey(OAPI_KEY_F);
        record();
        save("config3");
        for (int i = 0; i < 60; ++i) {
            step();
            record();
        }
        beforePayload = hp.state;
        sim.pressKey(OAPI_KEY_J);
        record();
        save("config5");
    }

    // The first sample past mission time t.
    static size_t firstAfter(double t) {
        for (size_t i = 0; i < samples.size(); ++i)
            if (samples[i].mt > t)
                return i;
        return samples.size();
    }
    static const ShedRecord* shedNamed(const std::string& name, int nth = 0) {
        for (const ShedRecord& r : shed)
            if (r.name == name && nth-- == 0)
                return &r;
        return nullptr;
    }
};

TEST_F(HeavyLaunch, PadHoldsTheStackForAHundredStepsAtRealTime) {
    EXPECT_EQ(mtBeforeThrottle, 0) << "the clock ran on the pad with the throttle closed";
    EXPECT_EQ(warpAfterThrottle, 1) << "opening the throttle must bring the simulation to real time";
    EXPECT_EQ(samples.front().main, 1) << "the open throttle goes to full";
    EXPECT_EQ(padSteps, 100) << "lift-off propulsion must replace the pad set-up on the 100th step";
    EXPECT_GT(liftoffThrusters, padThrusters);
    const Sample& late = samples[firstAfter(123.4)];
    EXPECT_NEAR(late.shown, late.mt, 0.005) << "the screen must show the mission clock to 5 digits";
}

TEST_F(HeavyLaunch, CentreCoreThrottlesBackFrom56SecondsWhileSideCoresStayFull) {
    const size_t from = firstAfter(56), to = firstAfter(70);
    EXPECT_EQ(samples[from - 1].main, 1);
    EXPECT_NEAR(samples[from].main, 1 - 0.0017, 1e-12);
    size_t i = from + 1;
    for (; i < to && samples[i - 1].main > 0.6; ++i)
        EXPECT_NEAR(samples[i].main, samples[i - 1].main - 0.0017, 1e-12);
    EXPECT_LT(i, to) << "the ramp never reached 0.6";
    EXPECT_GT(samples[to].main, 0.598);
    EXPECT_LE(samples[to].main, 0.6);
    EXPECT_EQ(samples[to].left, 1);
    EXPECT_EQ(samples[to].right, 1);
}

TEST_F(HeavyLaunch, BoosterPairsLeaveOnceEachAt100_102And104Seconds) {
    const double edges[3] = {100, 102, 104};
    for (int pair = 0; pair < 3; ++pair) {
        const size_t at = firstAfter(edges[pair]);
        EXPECT_EQ(samples[at - 1].boosters, 2 * pair) << "pair " << pair + 1 << " left early";
        EXPECT_EQ(samples[at].boosters, 2 * pair + 2) << "pair " << pair + 1 << " did not leave at " << edges[pair];
        EXPECT_EQ(samples[firstAfter(edges[pair] + 1.9)].boosters, 2 * pair + 2)
            << "pair " << pair + 1 << " left twice";
    }
    int gems = 0;
    for (const ShedRecord& r : shed)
        gems += r.className == "tarvik/gem1SH" && r.name.rfind("TarvikHPgem1", 0) == 0;
    EXPECT_EQ(gems, 6);
}

TEST_F(HeavyLaunch, SideCoresThrottleDownFrom238AndSeparateAt251) {
    const size_t ramp = firstAfter(238), fast = firstAfter(246), sep = firstAfter(251);
    EXPECT_EQ(samples[ramp - 1].left, 1);
    EXPECT_NEAR(samples[ramp].left, 0.999, 1e-12);
    EXPECT_NEAR(samples[ramp].right, 0.999, 1e-12);
    EXPECT_NEAR(samples[fast - 1].left, 0.6, 0.0011);
    EXPECT_NEAR(samples[fast].left, samples[fast - 1].left - 0.01, 1e-12);
    EXPECT_LE(samples[sep - 1].left, 0.1 + 1e-9);
    EXPECT_GT(samples[sep - 1].left, 0.09 - 1e-9);

    const ShedRecord* right = shedNamed("TarvikHPbooster1");
    const ShedRecord* left = shedNamed("TarvikHPbooster2");
    ASSERT_TRUE(right && left);
    EXPECT_EQ(right->className, "tarvik/rightbooster");
    EXPECT_EQ(left->className, "tarvik/leftbooster");
    EXPECT_EQ(right->step, sep);
    EXPECT_EQ(samples[sep].main, 0.6) << "a centre-core set-up after 251 s keeps the main group at 0.6";
}

TEST_F(HeavyLaunch, CentreCoreFuelIsCarriedOverIntoOneTankAtSideCoreSeparation) {
    const size_t sep = firstAfter(251);
    EXPECT_EQ(samples[sep].tanks, 1u);
    // The two set-ups in a row keep what the centre core's tank held, less one step's burn.
    EXPECT_LT(samples[sep].fuel, samples[sep - 1].firstTank);
    EXPECT_GT(samples[sep].fuel, samples[sep - 1].firstTank - 60);
}

TEST_F(HeavyLaunch, CentreCoreRampsUpFrom257AndIsCutOffAt327) {
    const size_t up = firstAfter(257);
    EXPECT_EQ(samples[up - 1].main, 0.6);
    EXPECT_NEAR(samples[up].main, 0.6015, 1e-12);
    EXPECT_EQ(samples[firstAfter(300)].main, 1);
    EXPECT_EQ(samples[firstAfter(327) - 1].main, 1);
    EXPECT_EQ(samples[firstAfter(327)].main, 0);
}

TEST_F(HeavyLaunch, CoreSeparatesAfter500StepsAndTheUpperStageLights700StepsLater) {
    const size_t timer = firstAfter(332);
    const ShedRecord* core = shedNamed("TarvikHP1st");
    ASSERT_TRUE(core);
    EXPECT_EQ(core->className, "tarvik/1st");
    EXPECT_EQ(core->step, timer + 501) << "held 500 steps, separated on the next";
    for (size_t i = timer; i < core->step; ++i)
        ASSERT_EQ(samples[i].main, 0) << "main group not held at 0";
    EXPECT_EQ(samples[core->step + 700].main, 0);
    EXPECT_EQ(samples[core->step + 701].main, 1) << "upper stage not lit 700 steps after the separation";
}

TEST_F(HeavyLaunch, EveryLayoutWeighsTheSumOfItsParts) {
    EXPECT_EQ(samples[firstAfter(99)].emptyMass, 117181);
    EXPECT_EQ(samples[firstAfter(101)].emptyMass, 110681);
    EXPECT_EQ(samples[firstAfter(103)].emptyMass, 104181);
    EXPECT_EQ(samples[firstAfter(105)].emptyMass, 97681);
    EXPECT_EQ(samples[firstAfter(252)].emptyMass, 44147);
    EXPECT_EQ(saved.at("config2").emptyMass, 7890);
    EXPECT_EQ(saved.at("config3").emptyMass, 6490);
    EXPECT_EQ(saved.at("config5").emptyMass, 3490);
}

TEST_F(HeavyLaunch, ShedPartsStartAtTheirPlacesPushedAndSpinning) {
    struct Expect {
        const char* name;
        int nth;
        VECTOR3 pos, push;
        bool setX, setY;
        double spinX, spinY;
    };
    const Expect parts[] = {
        {"TarvikHPgem1", 0, {{-0.9, 3.5, -8.4}}, {{-1, 20, 0}}, true, true, 0.4, 0.1},
        {"TarvikHPgem1", 1, {{0.9, 3.5, -8.4}}, {{1, 20, 0}}, true, true, 0.4, -0.1},
        {"TarvikHPgem1", 2, {{-5.121, 3.5, -8.4}}, {{0, 20, 0}}, true, true, 0.4, 0.3},
        {"TarvikHPgem1", 3, {{5.121, 3.5, -8.4}}, {{0, 20, 0}}, true, true, 0.4, -0.3},
        {"TarvikHPgem1", 4, {{6.921, 3.5, -8.4}}, {{0, 20, 0}}, true, true, 0.4, -0.3},
        {"TarvikHPgem1", 5, {{-6.921, 3.5, -8.4}}, {{0, 20, 0}}, true, true, 0.4, 0.3},
        {"TarvikHPbooster1", 0, {{0, 0, 0}}, {{-7, 0, 0}}, false, true, 0, 0.14},
        {"TarvikHPbooster2", 0, {{0, 0, 0}}, {{7, 0, 0}}, false, true, 0, -0.14},
        {"TarvikHP1st", 0, {{0, 0, 0}}, {{0, 0, -2}}, false, false, 0, 0},
        {"TarvikHPfairing1", 0, {{0, 0, 0}}, {{6, 0, 0}}, false, true, 0, -0.1},
        {"TarvikHPfairing2", 0, {{0, 0, 0}}, {{-6, 0, 0}}, false, true, 0, 0.1},
    };
    for (const Expect& e : parts) {
        SCOPED_TRACE(std::string(e.name) + " #" + std::to_string(e.nth));
        // Duplicate names may be made unique by the host: match by prefix.
        const ShedRecord* r = nullptr;
        int nth = e.nth;
        for (const ShedRecord& s : shed)
            if (s.name.rfind(e.name, 0) == 0 && nth-- == 0) {
                r = &s;
                break;
            }
        if (!r) {
            ADD_FAILURE() << "not created";
            continue;
        }
        const host::FlightState& l = r->launcher;
        EXPECT_TRUE(near(r->part.pos, l.pos + mul(l.R, e.pos), 1e-3));
        EXPECT_TRUE(near(r->part.vel, l.vel + mul(l.R, e.push), 1e-6));
        EXPECT_NEAR(r->part.omega.x, e.setX ? e.spinX : l.omega.x, 1e-12);
        EXPECT_NEAR(r->part.omega.y, e.setY ? e.spinY : l.omega.y, 1e-12);
        EXPECT_NEAR(r->part.omega.z, l.omega.z, 1e-12);
        EXPECT_FALSE(r->part.landed);
    }
}

TEST_F(HeavyLaunch, PayloadLeavesWithThePilotsFocusAndTheSpentStageRemains) {
    const ShedRecord* payload = shedNamed("tarvik/sat2");
    ASSERT_TRUE(payload) << "payload vessel not created (is the class tarvik/sat2 configured?)";
    EXPECT_EQ(payload->className, "tarvik/sat2");
    EXPECT_TRUE(near(payload->part.pos, beforePayload.pos + mul(beforePayload.R, _V(0, 0, 6.512422 + 2.44)), 1e-3));
    EXPECT_TRUE(near(payload->part.vel, beforePayload.vel + mul(beforePayload.R, _V(0, 0, 1)), 1e-6));
    EXPECT_EQ(saved.at("config5").meshes, std::vector<std::string>{"tarvik/2nd"});
}

// ---------------------------------------------------------------- saved on the way, loaded again

class HeavyReload : public HeavyLaunch {
protected:
    host::VesselData& reload(const std::string& which) {
        sim = std::make_unique<host::Simulation>(TARVIK_DATA_DIR);
        sim->loadScenario(writeScenario("reload-" + which, saved.at(which).block));
        return launcher(*sim);
    }
    // Saved again straight after loading, the launcher writes what it was
    // loaded from: the same place and motion, the same keys.
    void expectKeysKept(const std::string& which) {
        const std::string again = launcherBlock(sim->scenarioText());
        for (const char* key : {"PAYLOAD", "MESH", "Z_OFFSET", "CONFIG", "PLDWEIGHT", "Fairing_attached", "missiontime",
                                "STAGING", "STAGE", "STAGETIMER"})
            EXPECT_EQ(savedValue(again, key), savedValue(saved.at(which).block, key)) << key;
        for (const char* key : {"RPOS", "RVEL"})
            EXPECT_EQ(lineOf(again, key), lineOf(saved.at(which).block, key));
    }
    static std::string lineOf(const std::string& block, const std::string& key) {
        const size_t at = block.find("  " + key + " ");
        return at == std::string::npos ? "(none)" : block.substr(at, block.find('\n', at) - at);
    }
    void expectTanksKept(const host::VesselData& v, const std::string& which) {
        const std::vector<double>& before = saved.at(which).tanks;
        ASSERT_EQ(v.propellants.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_NEAR(v.propellants[i]->mass, before[i], 0.5) << "tank " << i;
    }
    std::unique_ptr<host::Simulation> sim;
};

TEST_F(HeavyReload, FullStackInFlightComesBackWithItsBoostersEnginesAndPropellant) {
    host::VesselData& v = reload("config4");
    EXPECT_EQ(savedValue(saved.at("config4").block, "CONFIG"), "4");
    EXPECT_EQ(meshNames(v), saved.at("config4").meshes);
    EXPECT_EQ(v.caps.emptyMass, 117181);
    expectTanksKept(v, "config4");
    EXPECT_EQ(mainLevel(v), 1);
    EXPECT_EQ(thrusterAt(v, _V(6.2, 0, -22))->level, 1);
    EXPECT_EQ(thrusterAt(v, _V(-6.921, 0, -17))->level, 1);
    expectKeysKept("config4");
}

// The configuration code reads 1 from the first booster pair on: the stack
// comes back with its side cores and the boosters it still carries.
TEST_F(HeavyReload, AfterTheFirstBoosterPairTheStackReloadsWithItsSideCoresAndRemainingBoosters) {
    host::VesselData& v = reload("config1-boosters");
    EXPECT_EQ(savedValue(saved.at("config1-boosters").block, "CONFIG"), "1");
    EXPECT_EQ(meshNames(v), saved.at("config1-boosters").meshes);
    EXPECT_EQ(v.caps.emptyMass, 110681);
    expectTanksKept(v, "config1-boosters");
    EXPECT_EQ(thrusterAt(v, _V(6.2, 0, -22))->level, 1);
    expectKeysKept("config1-boosters");
}

TEST_F(HeavyReload, CoreAloneKeepsItsLayoutAndPropellant) {
    host::VesselData& v = reload("config1-core");
    EXPECT_EQ(meshNames(v), saved.at("config1-core").meshes);
    EXPECT_EQ(v.caps.emptyMass, 44147);
    expectTanksKept(v, "config1-core");
    EXPECT_EQ(mainLevel(v), saved.at("config1-core").main) << "the core comes back at the level it had";
    expectKeysKept("config1-core");
}

// Saved in the core's separation countdown: the core stays off and separates
// when the countdown would have ended.
TEST_F(HeavyReload, CoreInItsSeparationCountdownSeparatesOnTime) {
    host::VesselData& v = reload("countdown");
    EXPECT_EQ(savedValue(saved.at("countdown").block, "CONFIG"), "1");
    EXPECT_EQ(meshNames(v), saved.at("countdown").meshes);
    expectKeysKept("countdown");
    const ShedRecord* core = shedNamed("TarvikHP1st");
    ASSERT_TRUE(core);
    size_t steps = 0;
    while (countClass(*sim, "tarvik/1st") == 0 && steps < 1000) {
        sim->step();
        ++steps;
        ASSERT_EQ(mainLevel(launcher(*sim)), 0) << "the core lit again after " << steps << " steps";
    }
    EXPECT_EQ(steps, core->step - saved.at("countdown").sample);
}

TEST_F(HeavyReload, UpperStageKeepsFairingPayloadPropellantAndItsBurn) {
    host::VesselData& v = reload("config2");
    EXPECT_EQ(meshNames(v), saved.at("config2").meshes);
    EXPECT_EQ(v.caps.emptyMass, 7890);
    expectTanksKept(v, "config2");
    expectKeysKept("config2");
    EXPECT_EQ(saved.at("config2").main, 1);
    sim->step();
    EXPECT_EQ(mainLevel(v), 1) << "the burning upper stage went dark";
}

TEST_F(HeavyReload, BareUpperStageIsSavedWithoutItsFairing) {
    EXPECT_EQ(savedValue(saved.at("config3").block, "Fairing_attached"), "0");
    host::VesselData& v = reload("config3");
    EXPECT_EQ(meshNames(v), (std::vector<std::string>{"tarvik/SHstage2", "Tarvik/sat2"}));
    EXPECT_EQ(v.caps.emptyMass, 6490);
    expectTanksKept(v, "config3");
    expectKeysKept("config3");
}

TEST_F(HeavyReload, SpentStageReloadsAsThePayloadReleaseLeftItWithThePropellantItHad) {
    EXPECT_EQ(savedValue(saved.at("config5").block, "Fairing_attached"), "(none)");
    host::VesselData& v = reload("config5");
    EXPECT_EQ(meshNames(v), std::vector<std::string>{"tarvik/2nd"});
    EXPECT_EQ(v.caps.emptyMass, 3490);
    EXPECT_EQ(v.caps.size, 5.5);
    EXPECT_EQ(v.propellants.size(), 1u);
    expectTanksKept(v, "config5");
    expectKeysKept("config5");
}
