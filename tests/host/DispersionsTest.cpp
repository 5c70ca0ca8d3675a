// Dispersions: the draws follow their distributions and repeat with their
// seed, the file reader refuses what it cannot take with FILE:LINE, and a
// dispersed run scales what the modules set (thrust and Isp by the engine's
// group, tank loads once, empty mass, drag) and the air's density.
#include <cmath>

#include "HostTestSupport.h"
#include "Orbitersdk.h"
#include "physics/Atmosphere.h"
#include "physics/Propulsion.h"
#include "sim/Dispersions.h"

using namespace hosttest;

namespace {

host::DispersionFile file(const std::string& text) {
    return host::parseDispersions(text, "d.txt");
}

size_t indexOf(const char* name) {
    const auto& names = host::dispersionNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (std::string(names[i].name) == name)
            return i;
    return names.size();
}

struct Moments {
    double mean = 0, sigma = 0, min = 1e300, max = -1e300;
};

Moments over(const host::DispersionFile& f, const char* name, int draws) {
    Moments m;
    double sum = 0, squares = 0;
    for (int seed = 0; seed < draws; ++seed) {
        const double x = host::drawDispersion(f, host::runSeed(7, seed)).value(name);
        sum += x;
        squares += x * x;
        m.min = std::min(m.min, x);
        m.max = std::max(m.max, x);
    }
    m.mean = sum / draws;
    m.sigma = std::sqrt(squares / draws - m.mean * m.mean);
    return m;
}

}  // namespace

TEST(DispersionDraws, FollowTheirDistributions) {
    constexpr int n = 20000;
    const host::DispersionFile f = file("thrust.main 1%\ndrag -5% 5%\nlaunch.delay 0 30 s\n");

    const Moments normal = over(f, "thrust.main", n);
    EXPECT_NEAR(normal.mean, 1, 3 * 0.01 / std::sqrt(n));
    EXPECT_NEAR(normal.sigma, 0.01, 0.0003);  // drawn again beyond 4 sigma: smaller by < 0.1%
    EXPECT_GE(normal.min, 0.96);
    EXPECT_LE(normal.max, 1.04);

    const Moments uniform = over(f, "drag", n);
    EXPECT_NEAR(uniform.mean, 1, 0.002);
    EXPECT_NEAR(uniform.sigma, 0.1 / std::sqrt(12.0), 0.0007);
    EXPECT_GE(uniform.min, 0.95);
    EXPECT_LT(uniform.max, 1.05);

    const Moments delay = over(f, "launch.delay", n);
    EXPECT_NEAR(delay.mean, 15, 0.3);
    EXPECT_NEAR(delay.sigma, 30 / std::sqrt(12.0), 0.2);
    EXPECT_GE(delay.min, 0);
    EXPECT_LT(delay.max, 30);

    // What the file leaves out stays nominal; the products combine per group.
    const host::Dispersion d = host::drawDispersion(file("thrust 1%\nthrust.main 2%\n"), 3);
    EXPECT_EQ(d.value("isp"), 1);
    EXPECT_EQ(d.launchDelay(), 0);
    EXPECT_DOUBLE_EQ(d.thrustMain(), d.value("thrust") * d.value("thrust.main"));
    EXPECT_DOUBLE_EQ(d.thrustBoosters(), d.value("thrust"));

    // The polar method's own numbers, over many draws.
    host::Random r(11);
    double sum = 0, squares = 0;
    for (int i = 0; i < n; ++i) {
        const double z = r.normal();
        sum += z;
        squares += z * z;
    }
    EXPECT_NEAR(sum / n, 0, 0.03);
    EXPECT_NEAR(squares / n, 1, 0.03);
}

TEST(DispersionDraws, TheSeedRepeatsThemAndEachValueHasItsOwnStream) {
    const host::DispersionFile f = file("thrust.main 1%\nisp 0.5%\n");
    const host::Dispersion a = host::drawDispersion(f, 42), b = host::drawDispersion(f, 42);
    EXPECT_EQ(a.drawn, b.drawn);
    EXPECT_EQ(a.seed, 42u);
    EXPECT_NE(host::drawDispersion(f, 43).drawn, a.drawn);
    // A line added leaves the other values' draws as they were.
    const host::Dispersion more = host::drawDispersion(file("drag 5%\nthrust.main 1%\nisp 0.5%\n"), 42);
    EXPECT_EQ(more.value("thrust.main"), a.value("thrust.main"));
    EXPECT_EQ(more.value("isp"), a.value("isp"));
    EXPECT_NE(more.value("drag"), 1);
    // Zero spreads draw exactly the nominal values.
    const host::Dispersion zero = host::drawDispersion(file("thrust 0%\ndrag 0% 0%\nlaunch.delay 0 0 s\n"), 9);
    EXPECT_EQ(zero.drawn, host::noDispersion().drawn);
    EXPECT_NE(host::runSeed(1, 0), host::runSeed(1, 1));
    EXPECT_NE(host::runSeed(1, 0), host::runSeed(2, 0));
}

TEST(DispersionFile, RefusesWhatItCannotTakeWithFileAndLine) {
    const struct {
        const char* text;
        const char* message;
    } refused[] = {
        {"thrust.mian 1%", "d.txt:1: unknown value 'thrust.mian'"},
        {"\n# a comment\nisp 1", "d.txt:3: isp takes a 1-sigma"},
        {"isp 25%", "d.txt:1: isp 1-sigma 25% is not from 0% to 20%"},
        {"isp -1%", "d.txt:1: isp 1-sigma -1% is not from 0% to 20%"},
        {"drag 5% -5%", "d.txt:1: drag bounds 5% to -5% are not above -100%"},
        {"drag -100% 5%", "d.txt:1: drag bounds -100% to 5%"},
        {"drag 1% 2% 3%", "d.txt:1: drag takes a 1-sigma"},
        {"density 3%%", "d.txt:1: density takes a 1-sigma"},
        {"density nan%", "d.txt:1: density takes a 1-sigma"},
        {"launch.delay 30 s", "d.txt:1: launch.delay takes bounds in seconds"},
        {"launch.delay 0 30", "d.txt:1: launch.delay takes bounds in seconds"},
        {"launch.delay 10 5 s", "d.txt:1: launch.delay bounds 10 to 5 s"},
        {"launch.delay 0 7200 s", "d.txt:1: launch.delay bounds 0 to 7200 s"},
        {"drag 5%\ndensity 3%\ndrag 1%", "d.txt:3: drag is given twice (first on line 1)"},
    };
    for (const auto& r : refused) {
        try {
            file(r.text);
            ADD_FAILURE() << r.text << ": taken";
        } catch (const host::InputError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(r.message, 0), 0u) << r.text << ": " << e.what();
        }
    }
    const host::DispersionFile ok = file("  thrust.main\t1%   # stage engines\n\ndrag -5% 5%\nlaunch.delay 0 30 s\n");
    ASSERT_EQ(ok.lines.size(), 3u);
    EXPECT_DOUBLE_EQ(ok.lines[0].sigma, 0.01);
    EXPECT_TRUE(ok.lines[1].uniform);
    EXPECT_DOUBLE_EQ(ok.lines[1].low, -0.05);
    EXPECT_EQ(ok.lines[2].line, 4);
}

class DispersedRun : public HostTest {
protected:
    // Every factor of its own, so that a value scaled by the wrong one shows.
    void SetUp() override {
        d = host::noDispersion();
        const auto set = [&](const char* name, double value) { d.drawn[indexOf(name)] = value; };
        set("thrust", 1.01);
        set("thrust.main", 1.02);
        set("thrust.boosters", 1.03);
        set("isp", 0.99);
        set("isp.main", 0.98);
        set("isp.boosters", 0.97);
        set("mass.empty", 1.005);
        set("propellant.load", 1.003);
        set("drag", 1.05);
        set("density", 0.97);
        sim->setDispersion(d);
    }
    void TearDown() override { host::physics::setDensityScale(1); }

    host::Dispersion d;
    host::VesselData* v = sim->createVessel("V", "probe/nofocus", orbiting());
    VESSEL& vessel = *v->iface;
};

TEST_F(DispersedRun, EnginesFlyWhatTheModuleSetTimesTheFactorsOfTheirGroup) {
    PROPELLANT_HANDLE tank = vessel.CreatePropellantResource(1000);
    THRUSTER_HANDLE main = vessel.CreateThruster(_V(0, 0, -5), _V(0, 0, 1), 100000, tank, 3000, 2500);
    THRUSTER_HANDLE booster = vessel.CreateThruster(_V(2, 0, -5), _V(0, 0, 1), 50000, tank, 2500, 2000);
    THRUSTER_HANDLE attitude = vessel.CreateThruster(_V(0, 1, 0), _V(1, 0, 0), 1000, tank, 3000);
    vessel.CreateThrusterGroup(&main, 1, THGROUP_MAIN);
    vessel.CreateThrusterGroup(&attitude, 1, THGROUP_ATT_YAWLEFT);

    const host::Thruster& m = *v->thrusters[0];
    const host::Thruster& b = *v->thrusters[1];
    const host::Thruster& a = *v->thrusters[2];
    EXPECT_DOUBLE_EQ(m.maxThrust, 100000 * 1.01 * 1.02);
    EXPECT_DOUBLE_EQ(m.ispVac, 3000 * 0.99 * 0.98);
    EXPECT_DOUBLE_EQ(m.ispRef, 2500 * 0.99 * 0.98);
    EXPECT_DOUBLE_EQ(b.maxThrust, 50000 * 1.01 * 1.03);
    EXPECT_DOUBLE_EQ(b.ispVac, 2500 * 0.99 * 0.97);
    EXPECT_EQ(a.maxThrust, 1000);
    EXPECT_EQ(a.ispVac, 3000);
    EXPECT_DOUBLE_EQ(vessel.GetThrusterMax0(main), 100000 * 1.01 * 1.02);

    // The thrust that reaches the vessel, in vacuum at full level.
    vessel.SetThrusterLevel(main, 1);
    vessel.SetThrusterLevel(booster, 1);
    const host::physics::PropulsionLoads loads = host::physics::runThrusters(*v, 0, 0.01);
    EXPECT_DOUBLE_EQ(loads.force.z, 100000 * 1.01 * 1.02 + 50000 * 1.01 * 1.03);
    // Flow is thrust over Isp: both dispersed.
    EXPECT_NEAR(1000 * 1.003 - vessel.GetPropellantMass(tank),
                0.01 * (100000 * 1.01 * 1.02 / (3000 * 0.99 * 0.98) + 50000 * 1.01 * 1.03 / (2500 * 0.99 * 0.97)),
                1e-9);

    // A group change takes the factors afresh from what the module set: never twice.
    vessel.DelThrusterGroup(THGROUP_MAIN);  // the engine is in no group now: a booster's factors
    EXPECT_DOUBLE_EQ(m.maxThrust, 100000 * 1.01 * 1.03);
    vessel.CreateThrusterGroup(&main, 1, THGROUP_MAIN);
    vessel.CreateThrusterGroup(&main, 1, THGROUP_MAIN);
    EXPECT_DOUBLE_EQ(m.maxThrust, 100000 * 1.01 * 1.02);
}

TEST_F(DispersedRun, TanksMassesDragAndAirAreScaledOnce) {
    PROPELLANT_HANDLE full = vessel.CreatePropellantResource(1000);
    EXPECT_DOUBLE_EQ(vessel.GetPropellantMaxMass(full), 1000 * 1.003);
    EXPECT_DOUBLE_EQ(vessel.GetPropellantMass(full), 1000 * 1.003);
    PROPELLANT_HANDLE part = vessel.CreatePropellantResource(1000, 400);
    EXPECT_DOUBLE_EQ(vessel.GetPropellantMass(part), 400 * 1.003);

    // A stage set-up carrying what the old tank held into a new one, as the
    // launchers do: the content moves as it is, not scaled a second time.
    const double carried = 512.25;
    PROPELLANT_HANDLE next = vessel.CreatePropellantResource(carried);
    vessel.SetPropellantMaxMass(next, 1000);
    vessel.SetPropellantMass(next, carried);
    EXPECT_DOUBLE_EQ(vessel.GetPropellantMass(next), carried);
    EXPECT_DOUBLE_EQ(vessel.GetPropellantMaxMass(next), 1000 * 1.003);

    vessel.SetEmptyMass(20000);
    EXPECT_DOUBLE_EQ(vessel.GetEmptyMass(), 20000 * 1.005);
    vessel.SetCW(0.2, 0.4, 1.2, 1.3);
    EXPECT_DOUBLE_EQ(v->caps.cw[0], 0.2 * 1.05);
    EXPECT_DOUBLE_EQ(v->caps.cw[1], 0.4 * 1.05);
    EXPECT_DOUBLE_EQ(v->caps.cw[3], 1.3 * 1.05);

    const double dense = host::physics::atmosphereAt(10e3).density;
    host::physics::setDensityScale(1);
    const double standard = host::physics::atmosphereAt(10e3).density;
    EXPECT_DOUBLE_EQ(dense, standard * 0.97);
    EXPECT_EQ(sim->dispersion()->seed, d.seed);
}

TEST_F(HostTest, ARunWithoutDispersionsFliesWhatTheModulesSet) {
    host::VesselData* v = sim->createVessel("V", "probe/nofocus", orbiting());
    VESSEL& vessel = *v->iface;
    EXPECT_EQ(sim->dispersion(), nullptr);
    PROPELLANT_HANDLE tank = vessel.CreatePropellantResource(1000);
    THRUSTER_HANDLE main = vessel.CreateThruster(_V(0, 0, -5), _V(0, 0, 1), 100000, tank, 3000);
    vessel.CreateThrusterGroup(&main, 1, THGROUP_MAIN);
    vessel.SetEmptyMass(20000);
    EXPECT_EQ(v->thrusters[0]->maxThrust, 100000);
    EXPECT_EQ(vessel.GetPropellantMass(tank), 1000);
    EXPECT_EQ(vessel.GetEmptyMass(), 20000);
}
