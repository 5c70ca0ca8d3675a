// The autopilot as a pilot meets it: key A and the autopilot dialog on the
// pad, LAUNCH, the inputs locked after lift-off, the orbit list, the screen
// texts, the launch glow and the hold on time acceleration.
#include <cmath>

#include "MediumTestSupport.h"
#include "window/Dialogs.h"

namespace medium_test {
namespace {

constexpr int kAutopilot = 131;

// A launcher of the build standing on LC37B (or at the given latitude), with
// its module's autopilot dialog driven as a pilot would.
class Pad {
public:
    explicit Pad(const Build& b, const std::string& extraBlocks = "", double latitude = 28.53429) : build_(b) {
        const std::string lines = payloadLines(b) + "  CONFIG 0\n  PLDWEIGHT " + std::to_string(b.payloadMass) +
                                  "\n  Fairing_attached 1\n  missiontime 0\n";
        std::string block = landedBlock(b.name, b.classKey, lines);
        char pos[64];
        std::snprintf(pos, sizeof pos, "-80.5680 %.5f", latitude);
        block.replace(block.find("-80.5680 28.53429"), 17, pos);
        sim = loadText(scenario(b.name, block + extraBlocks), scratchDir());
        launcher = sim->vessel(b.name);
        sim->step();  // the launcher's first step: its name and its pad
    }

    HWND dialog() const { return host::findDialog(kAutopilot); }
    std::string text(int id) const { return host::controlText(dialog(), id); }

    void openAutopilot(const std::string& altitude = "350", const std::string& inclination = "51.6") {
        sim->pressKey(OAPI_KEY_A);
        sim->step();
        ASSERT_TRUE(dialog());
        host::typeText(dialog(), 1049, altitude);
        host::typeText(dialog(), 1079, inclination);
    }

    // Runs until `seconds` after lift-off (the launcher leaves the ground 100 steps after ignition).
    void flyUntil(double seconds) {
        while (liftoff_ < 0 || sim->simTime() < liftoff_ + seconds) {
            sim->step();
            if (liftoff_ < 0 && !launcher->state.landed)
                liftoff_ = sim->simTime();
            ASSERT_LT(sim->simTime(), 20000) << "never got there";
        }
    }

    // The launcher's screen texts: mission label, mission time, autopilot.
    std::string annotation(int i) const {
        int n = 0;
        for (const auto& a : sim->annotations())
            if (a->owner == launcher && n++ == i)
                return a->text;
        return "?";
    }

    double mainLevel() const {
        const host::ThrusterGroup* g = launcher->group(THGROUP_MAIN);
        return g && !g->thrusters.empty() ? g->thrusters[0]->level : -1;
    }

    std::unique_ptr<host::Simulation> sim;
    host::VesselData* launcher = nullptr;

private:
    const Build& build_;
    double liftoff_ = -1;
};

bool blank(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

// A passive vessel in a circular equatorial orbit at `altitude` km.
std::string orbitingBlock(const std::string& name, double altitudeKm) {
    const double r = 6371010 + altitudeKm * 1000;
    char text[256];
    std::snprintf(text, sizeof text, "%s:ShuttlePB\n  STATUS Orbiting Earth\n  RPOS %.3f 0 0\n  RVEL 0 0 %.6f\nEND\n",
                  name.c_str(), r, std::sqrt(3.986004e14 / r));
    return text;
}

const Build& m52() {
    return build("TarvikM52");
}

TEST(AutopilotKey, OnThePadOpensTheDialogWithTheAscendingNodeAndTheTargetAltitude) {
    Pad pad(m52());
    pad.sim->pressKey(OAPI_KEY_A);
    HWND d = pad.dialog();
    ASSERT_TRUE(d);
    EXPECT_EQ(host::dialogCaption(d), "Tarvik Medium 5m2");
    EXPECT_TRUE(host::controlChecked(d, 1085));
    EXPECT_EQ(pad.text(1049), "350");
    EXPECT_EQ(pad.text(1100), "0");
}

TEST(AutopilotKey, HideThenKeyABringsTheSameWindowBack) {
    Pad pad(m52());
    pad.openAutopilot();
    HWND d = pad.dialog();
    host::click(d, 1054);  // HIDE
    EXPECT_FALSE(IsWindowVisible(d));
    pad.sim->pressKey(OAPI_KEY_A);
    EXPECT_EQ(pad.dialog(), d);
    EXPECT_TRUE(IsWindowVisible(d));
}

TEST(AutopilotKey, AfterLiftOffAClosedDialogStaysClosed) {
    Pad pad(m52());
    pad.openAutopilot();
    host::click(pad.dialog(), 1075);
    pad.flyUntil(2);
    host::click(pad.dialog(), 1033);  // Autopilot OFF
    EXPECT_FALSE(pad.dialog());
    pad.sim->pressKey(OAPI_KEY_A);
    EXPECT_FALSE(pad.dialog());
}

TEST(LaunchButton, LightsTheEnginesOnceAndLocksTheInputsAfterLiftOff) {
    Pad pad(m52());
    pad.openAutopilot();
    host::click(pad.dialog(), 1075);
    EXPECT_EQ(pad.mainLevel(), 1);
    EXPECT_FALSE(host::controlEnabled(pad.dialog(), 1075));
    EXPECT_EQ(host::click(pad.dialog(), 1075), host::InputResult::Disabled);
    pad.flyUntil(0.5);
    EXPECT_TRUE(host::controlEnabled(pad.dialog(), 1049));
    pad.flyUntil(2.5);
    for (int id : {1085, 1086, 1041, 1049, 1079, 1100, 1083})
        EXPECT_FALSE(host::controlEnabled(pad.dialog(), id)) << "control " << id;
    // The azimuth for 51.6 degrees from LC37B, fixed between 1 and 2 s.
    EXPECT_EQ(pad.text(1041), "44.64");
}

TEST(LaunchButton, RefusesTargetsTheAutopilotCannotFly) {
    Pad pad(m52());
    pad.openAutopilot("350", "20");
    host::click(pad.dialog(), 1075);
    EXPECT_EQ(pad.mainLevel(), 0);
    EXPECT_NE(pad.text(1035).find("out of reach"), std::string::npos) << pad.text(1035);
    EXPECT_TRUE(host::controlEnabled(pad.dialog(), 1075));

    host::typeText(pad.dialog(), 1079, "51.6");
    host::typeText(pad.dialog(), 1049, "1100");
    pad.sim->step();
    host::click(pad.dialog(), 1075);
    EXPECT_EQ(pad.mainLevel(), 0);
    EXPECT_NE(pad.text(1035).find("1049 km"), std::string::npos) << pad.text(1035);

    host::typeText(pad.dialog(), 1049, "1049");
    host::click(pad.dialog(), 1075);
    EXPECT_EQ(pad.mainLevel(), 1);
    EXPECT_EQ(pad.text(1035), "");
}

// TarvikM4 has no pitch table above 3000 kg: such a payload is refused on the pad.
TEST(LaunchButton, RefusesAPayloadThePitchTableHasNoClassFor) {
    Build heavy = build("TarvikM4");
    heavy.payloadMass = 3200;
    Pad pad(heavy);
    pad.openAutopilot("350", "51.6");
    host::click(pad.dialog(), 1075);
    EXPECT_EQ(pad.mainLevel(), 0);
    EXPECT_NE(pad.text(1035).find("at most 3000 kg"), std::string::npos) << pad.text(1035);
    EXPECT_TRUE(host::controlEnabled(pad.dialog(), 1075));
}

TEST(OrbitList, OffersOrbitsAbove300KilometresOnceAndCopiesThePickedOne) {
    Pad pad(m52(), orbitingBlock("Low", 300.4) + orbitingBlock("High", 300.6));
    pad.openAutopilot();
    pad.sim->step();
    EXPECT_EQ(host::comboItems(pad.dialog(), 1083), std::vector<std::string>{"High"});
    host::click(pad.dialog(), 1054);
    pad.sim->pressKey(OAPI_KEY_A);  // shown again: the list is filled anew, not doubled
    pad.sim->step();
    EXPECT_EQ(host::comboItems(pad.dialog(), 1083), std::vector<std::string>{"High"});

    host::select(pad.dialog(), 1083, "High");
    pad.sim->step();
    EXPECT_EQ(pad.text(1049), "301");
    EXPECT_EQ(pad.text(1079), "0.00");
    host::typeText(pad.dialog(), 1049, "400");
    pad.sim->step();
    EXPECT_EQ(pad.text(1049), "400") << "the same pick copies once";
}

TEST(ScreenTexts, ShowTheClockAndTheAutopilotOnlyForTheFocusOutsideTheCockpit) {
    Pad pad(m52(), orbitingBlock("Other", 400));
    EXPECT_EQ(pad.annotation(0), "Mission time:");
    EXPECT_EQ(pad.annotation(1), "0");
    EXPECT_TRUE(blank(pad.annotation(2))) << "autopilot off";

    pad.openAutopilot();
    EXPECT_EQ(pad.annotation(2), "Autopilot ON");
    host::click(pad.dialog(), 1075);
    pad.flyUntil(123.6);
    EXPECT_EQ(pad.annotation(1), "124");

    oapiCameraAttach(pad.launcher, 0);  // cockpit view
    pad.sim->step();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(blank(pad.annotation(i)));
    oapiCameraAttach(pad.launcher, 1);
    pad.sim->step();
    EXPECT_EQ(pad.annotation(0), "Mission time:");
    pad.sim->setFocus(pad.sim->vessel("Other"));
    pad.sim->step();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(blank(pad.annotation(i)));
}

TEST(LaunchGlow, BuildsUpOnThePadHoldsThenFadesAndGoes) {
    Pad pad(m52());
    pad.openAutopilot();
    host::click(pad.dialog(), 1075);
    pad.sim->step();
    ASSERT_EQ(pad.launcher->lights.size(), 1u);
    const LightEmitter* glow = pad.launcher->lights[0].get();
    EXPECT_GT(glow->GetIntensity(), 0);
    EXPECT_LE(glow->GetIntensity(), 0.1 + 1.0 / 3 + 1e-9);
    pad.flyUntil(2.5);
    const double held = glow->GetIntensity();
    pad.flyUntil(2.9);
    EXPECT_EQ(glow->GetIntensity(), held) << "between 2 and 3 s the glow holds";
    pad.flyUntil(5);
    EXPECT_LT(glow->GetIntensity(), 1);
    pad.flyUntil(14.5);
    EXPECT_TRUE(pad.launcher->lights.empty());
}

TEST(TimeAcceleration, PoweredFlightUnderTheAutopilotStaysInRealTime) {
    Pad pad(m52());
    pad.openAutopilot();
    host::click(pad.dialog(), 1075);
    pad.flyUntil(20);
    pad.sim->setTimeAcceleration(100);
    pad.sim->step();
    EXPECT_EQ(pad.sim->timeAcceleration(), 1);
}

// One whole flight to orbit, shared by the tests that look at its end. Only
// its record is kept: a live simulation would keep the module loaded, with
// its state, for the tests after it.
// The thrust column of the gauge (x 46 to 90 of picture 1129), row by row.
std::vector<uint8_t> thrustColumn(HWND dialog) {
    std::vector<uint8_t> column;
    const host::Surface* s = host::pictureSurface(dialog, 1129);
    if (!s)
        return column;
    for (int y = 0; y < s->height(); ++y)
        for (int x = 46; x < 91; ++x) {
            const host::Rgb c = s->pixel(x, y);
            column.insert(column.end(), {c.r, c.g, c.b});
        }
    return column;
}

struct Flight {
    std::vector<uint8_t> thrustWhileCoasting, thrustAtTheEnd;
    double completedAt = -1;
    double warpAfterCutoff = 0;
    std::string correction;
    std::string orbitalNode;
    double apoapsisKm = 0, periapsisKm = 0, inclinationDeg = 0;
    double mainLevel = -1;
};

const Flight& flownToOrbit() {
    static Flight f = [] {
        Flight f;
        Pad p(m52());
        p.openAutopilot("350", "51.6");
        host::click(p.dialog(), 1075);
        bool warped = false;
        double onInclinationSince = -1;
        while (p.sim->simTime() < 8000) {
            p.sim->step();
            if (f.correction.empty() && p.text(1100) != "0")  // cut-off: the suggested correction is written
                f.correction = p.text(1100);
            if (onInclinationSince < 0 && !f.correction.empty() && p.text(1080) == "51.60")
                onInclinationSince = p.sim->simTime();
            // Coasting well after the plane change and its apoapsis trim, long before the
            // apoapsis: the pilot may speed time up.
            if (!warped && onInclinationSince > 0 && p.sim->simTime() > onInclinationSince + 150 &&
                p.mainLevel() == 0 && std::atof(p.text(1046).c_str()) > 200) {
                f.thrustWhileCoasting = thrustColumn(p.dialog());
                p.sim->setTimeAcceleration(10);
                p.sim->step();
                f.warpAfterCutoff = p.sim->timeAcceleration();
                warped = true;
                p.sim->setTimeAcceleration(1);
            }
            if (p.annotation(2) == "Autopilot Complete") {
                f.completedAt = p.sim->simTime();
                f.thrustAtTheEnd = thrustColumn(p.dialog());
                break;
            }
        }
        host::VesselData& v = *p.launcher;
        double ap = 0, pe = 0;
        v.iface->GetApDist(ap);
        v.iface->GetPeDist(pe);
        ELEMENTS el;
        v.iface->GetElements(nullptr, el, nullptr, 0, FRAME_EQU);
        f.apoapsisKm = ap / 1000 - 6371.01;
        f.periapsisKm = pe / 1000 - 6371.01;
        f.inclinationDeg = el.i * DEG;
        f.mainLevel = p.mainLevel();
        f.orbitalNode = p.text(1098);
        return f;
    }();
    return f;
}

TEST(FlightToOrbit, ReachesTheTargetAndSaysSo) {
    const Flight& f = flownToOrbit();
    ASSERT_GT(f.completedAt, 0) << "the autopilot never completed";
    EXPECT_NEAR(f.apoapsisKm, 350, 5);
    EXPECT_NEAR(f.periapsisKm, 350, 5);
    EXPECT_NEAR(f.inclinationDeg, 51.6, 0.02);
    EXPECT_EQ(f.mainLevel, 0);
    EXPECT_EQ(f.warpAfterCutoff, 10) << "after cut-off the time acceleration is the pilot's";
    EXPECT_FALSE(f.orbitalNode.empty());
    EXPECT_FALSE(f.correction.empty());
    // The dialog's picture as "Autopilot Complete" shows: the engine is off, as it was while coasting.
    ASSERT_FALSE(f.thrustWhileCoasting.empty());
    EXPECT_TRUE(f.thrustAtTheEnd == f.thrustWhileCoasting) << "the thrust column shows the engine still running";
}

// A pilot who speeds time up once the plane has been changed still gets the
// orbit: the autopilot takes real time back for the apoapsis trim and the
// circularisation, before the burns light.
TEST(FlightToOrbit, APilotsTimeAccelerationAfterThePlaneChangeStillEndsInTheOrbit) {
    Pad p(m52());
    p.openAutopilot("350", "51.6");
    host::click(p.dialog(), 1075);
    bool warped = false;
    while (p.sim->simTime() < 20000 && p.annotation(2) != "Autopilot Complete") {
        if (!warped && p.text(1100) != "0" && p.text(1080) == "51.60") {  // cut off, plane changed
            p.sim->setTimeAcceleration(100);
            warped = true;
        }
        p.sim->step();
    }
    ASSERT_EQ(p.annotation(2), "Autopilot Complete");
    double ap = 0, pe = 0;
    p.launcher->iface->GetApDist(ap);
    p.launcher->iface->GetPeDist(pe);
    EXPECT_NEAR(ap / 1000 - 6371.01, 350, 1);
    EXPECT_NEAR(pe / 1000 - 6371.01, 350, 1);
}

// The "+/-" field after cut-off holds the whole correction for the next
// launch: typed back as shown, the second launch lands closer, and the field
// then holds that correction plus the second flight's increment.
TEST(SuggestedCorrection, TypedBackAsShownTheNextLaunchLandsCloser) {
    auto toCutoff = [](const std::string& correction, double& inclinationAtCutoff) {
        Pad p(m52());
        p.openAutopilot("300", "30");
        host::typeText(p.dialog(), 1100, correction);
        host::click(p.dialog(), 1075);
        p.flyUntil(2);
        while (p.text(1100) == correction && p.sim->simTime() < 2000)
            p.sim->step();
        inclinationAtCutoff = std::atof(p.text(1080).c_str());
        return p.text(1100);
    };
    double first = 0, second = 0;
    const std::string shown = toCutoff("0", first);
    ASSERT_GT(std::fabs(first - 30), 0.2) << "a launch near due east from LC37B misses 30 deg by more";
    const std::string next = toCutoff(shown, second);
    EXPECT_LT(std::fabs(second - 30), std::fabs(first - 30)) << "the correction as shown did not bring it closer";
    char expected[32];
    std::snprintf(expected, sizeof expected, "%0.2f", std::atof(shown.c_str()) + (second - 30) * 1.29);
    EXPECT_EQ(next, expected) << "the field should hold the correction in use plus the increment";
}

// TarvikM52 lights early below 900 km (ApT 26 s) and, burning ahead of the
// apoapsis, never sees the ApT of 17 s that starts the circularisation: the
// burn still ends once the periapsis is up, not with the tanks dry.
TEST(FlightToOrbit, AnEarlyIgnitionEndsOnThePeriapsisToo) {
    Pad p(m52());
    p.openAutopilot("900", "51.6");
    host::click(p.dialog(), 1075);
    while (p.sim->simTime() < 6000 && p.annotation(2) != "Autopilot Complete")
        p.sim->step();
    EXPECT_EQ(p.annotation(2), "Autopilot Complete");
    double pe = 0;
    p.launcher->iface->GetPeDist(pe);
    EXPECT_NEAR(pe / 1000 - 6371.01, 900, 5);
    EXPECT_EQ(p.mainLevel(), 0);
}

}  // namespace
}  // namespace medium_test
