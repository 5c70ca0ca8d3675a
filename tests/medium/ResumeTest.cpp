// A flight saved at any moment and loaded again flies on as if it had never
// stopped: the same parts leave under the same names at the same time, and
// the launcher ends where the uninterrupted flight ends.
#include <cmath>

#include "MissionFlights.h"
#include "window/Dialogs.h"

namespace medium_test {
namespace {

#ifdef TARVIK_SANITIZED
constexpr double kSaveEvery = 60;  // the sanitizers are slow: fewer saves, the same checks
#else
constexpr double kSaveEvery = 10;
#endif
constexpr double kFrame = 1.0 / 60;
constexpr double kEnd = 300;  // s of flight time since the pad scenario started

struct Created {
    std::string name;
    double at;  // flight time
};

struct FlightEnd {
    std::vector<Created> created;
    VECTOR3 pos{}, vel{};
    double propellant = 0;
};

// The pilot's manual launch, by flight time: throttle up on the pad, the
// fairing by F (twice on the 4 m builds), the payload by J.
struct Pilot {
    const Build& b;
    void act(host::Simulation& sim, double before, double now) const {
        auto due = [&](double t) { return before < t && t <= now; };
        if (due(kFrame / 2))
            sim.setThrottle(1);
        // Half a frame off the key times keeps both flights on the same side of them.
        for (double f : fairingKeyTimes(b))
            if (due(f + 1.7 + kFrame / 2))
                sim.pressKey(OAPI_KEY_F);
        if (due(291.7 + kFrame / 2))
            sim.pressKey(OAPI_KEY_J);
    }
};

// Flies from the simulation's state to kEnd; calls `at` before every step.
template <class Visit>
FlightEnd flyOn(host::Simulation& sim, const Build& b, double from, Visit at) {
    FlightEnd end;
    const Pilot pilot{b};
    size_t seen = sim.events().size();
    double before = from - kFrame;  // the time of the frame before, as the flight that was saved saw it
    while (sim.elapsedTime() < kEnd - kFrame / 2) {
        pilot.act(sim, before, sim.elapsedTime());
        before = sim.elapsedTime();
        at(sim);
        sim.step();
        for (; seen < sim.events().size(); ++seen) {
            const host::Event& e = sim.events()[seen];
            if (e.vessel == b.name && e.what.rfind("created ", 0) == 0)
                end.created.push_back({e.what.substr(8, e.what.find(" (") - 8), sim.elapsedTime()});
        }
    }
    const host::VesselData* v = sim.vessel(b.name);
    end.pos = v->state.pos;
    end.vel = v->state.vel;
    end.propellant = totalPropellant(*v);
    return end;
}

class Resume : public testing::TestWithParam<Build> {};

TEST_P(Resume, ASaveAtAnyMomentFliesOnAsIfItNeverStopped) {
    const Build& b = GetParam();
    const std::string lines = payloadLines(b) + "  CONFIG 0\n  PLDWEIGHT " + std::to_string(b.payloadMass) +
                              "\n  Fairing_attached 1\n  missiontime 0\n";
    const std::string pad = scenario(b.name, landedBlock(b.name, b.classKey, lines));

    // The whole flight once, saving every kSaveEvery seconds, and a frame before and just after
    // every staging event (a part created, the lift-off).
    std::vector<std::pair<double, std::string>> saves;
    {
        auto sim = loadText(pad, scratchDir());
        const Pilot pilot{b};
        double nextSave = kSaveEvery, before = -kFrame / 4;
        while (sim->elapsedTime() < kEnd - kFrame / 2) {
            const double t = sim->elapsedTime();
            std::string text = sim->scenarioText();
            const size_t seen = sim->events().size();
            const bool wasLanded = sim->vessel(b.name)->state.landed;
            pilot.act(*sim, before, t);
            before = t;
            sim->step();
            bool staged = wasLanded && !sim->vessel(b.name)->state.landed;
            for (size_t i = seen; i < sim->events().size(); ++i)
                staged = staged || sim->events()[i].what.rfind("created ", 0) == 0;
            if (staged) {
                saves.emplace_back(t, std::move(text));
                saves.emplace_back(sim->elapsedTime(), sim->scenarioText());
            } else if (t >= nextSave) {
                saves.emplace_back(t, std::move(text));
                nextSave += kSaveEvery;
            }
        }
    }
    auto whole = loadText(pad, scratchDir(), "whole.scn");
    const FlightEnd reference = flyOn(*whole, b, 0, [](host::Simulation&) {});
    ASSERT_GE(reference.created.size(), 4u) << "the flight shed too little to test";

    for (const auto& [savedAt, text] : saves) {
        SCOPED_TRACE("saved at " + std::to_string(savedAt) + " s");
        auto resumed = loadText(text, scratchDir(), "resumed.scn");
        const FlightEnd end = flyOn(*resumed, b, savedAt, [](host::Simulation&) {});
        std::vector<Created> expected;
        for (const Created& c : reference.created)
            if (c.at > savedAt + kFrame / 2)
                expected.push_back(c);
        ASSERT_EQ(end.created.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(end.created[i].name, expected[i].name);
            EXPECT_NEAR(end.created[i].at, expected[i].at, kFrame * 1.01) << expected[i].name;
        }
        EXPECT_LT(length(end.pos - reference.pos), 1.0);
        EXPECT_LT(length(end.vel - reference.vel), 0.01);
        EXPECT_NEAR(end.propellant, reference.propellant, 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, Resume, testing::ValuesIn(kBuilds), buildName);

// The autopilot's orbit, flown through from the pad or from a save.
struct Orbit {
    bool complete = false;
    double apoapsisKm = 0, periapsisKm = 0, inclinationDeg = 0;
};

#ifdef TARVIK_SANITIZED
constexpr double kAutopilotEnd = 800;  // past the cut-off: the orbit is set, the rest is a long coast
#else
constexpr double kAutopilotEnd = 9000;
#endif

Orbit flyToCompletion(host::Simulation& sim, const std::string& name, std::vector<double> saveAt = {},
                      std::vector<std::string>* saves = nullptr) {
    Orbit o;
    host::VesselData* v = sim.vessel(name);
    while (sim.elapsedTime() < kAutopilotEnd) {
        if (!saveAt.empty() && sim.elapsedTime() >= saveAt.front()) {
            saves->push_back(sim.scenarioText());
            saveAt.erase(saveAt.begin());
        }
        sim.step();
        for (const auto& a : sim.annotations())
            o.complete = o.complete || (a->owner == v && a->text == "Autopilot Complete");
        if (o.complete)
            break;
    }
    double ap = 0, pe = 0;
    v->iface->GetApDist(ap);
    v->iface->GetPeDist(pe);
    ELEMENTS el;
    v->iface->GetElements(nullptr, el, nullptr, 0, FRAME_EQU);
    o.apoapsisKm = ap / 1000 - 6371.01;
    o.periapsisKm = pe / 1000 - 6371.01;
    o.inclinationDeg = el.i * DEG;
    return o;
}

TEST(ResumeAutopilot, ASavedAscentReloadsWithTheAutopilotFlyingOnToTheSameOrbit) {
    const Build& b = build("TarvikM52");
    const std::string lines = payloadLines(b) + "  CONFIG 0\n  PLDWEIGHT 4500\n  Fairing_attached 1\n  missiontime 0\n";
    auto sim = loadText(scenario(b.name, landedBlock(b.name, b.classKey, lines)), scratchDir());
    sim->step();
    sim->pressKey(OAPI_KEY_A);
    sim->step();
    HWND dialog = host::findDialog(b.name, 131);
    host::typeText(dialog, 1049, "350");
    host::typeText(dialog, 1079, "51.6");
    sim->step();
    host::click(dialog, 1075);
#ifdef TARVIK_SANITIZED
    const std::vector<double> moments = {60};
#else
    // On the pad, rolling, pitching over, on the core stage, the upper stage, coasting, circularising.
    const std::vector<double> moments = {1.2, 60, 200, 700, 2500};
#endif
    std::vector<std::string> saves;
    const Orbit reference = flyToCompletion(*sim, b.name, moments, &saves);
#ifndef TARVIK_SANITIZED
    ASSERT_TRUE(reference.complete);
#endif
    ASSERT_EQ(saves.size(), moments.size());
    sim.reset();

    for (size_t i = 0; i < saves.size(); ++i) {
        SCOPED_TRACE("saved at " + std::to_string(moments[i]) + " s");
        auto resumed = loadText(saves[i], scratchDir(), "resumed.scn");
        HWND again = host::findDialog(b.name, 131);
        ASSERT_TRUE(again) << "the autopilot dialog is not back";
        EXPECT_FALSE(IsWindowVisible(again)) << "it comes back hidden";
        EXPECT_DOUBLE_EQ(std::stod(host::controlText(again, 1079)), 51.6);
        const Orbit end = flyToCompletion(*resumed, b.name);
        EXPECT_EQ(end.complete, reference.complete);
        EXPECT_NEAR(end.apoapsisKm, reference.apoapsisKm, 1);
        EXPECT_NEAR(end.periapsisKm, reference.periapsisKm, 1);
        EXPECT_NEAR(end.inclinationDeg, reference.inclinationDeg, 0.01);
    }
}

}  // namespace
}  // namespace medium_test
