// Scenarios loaded into the real launchers and pads (the Medium builds, the
// heavy launcher, both pads, from the build's Modules folder) with the
// project's own data. Whatever the file holds, a load either refuses it with
// a clear message or gives vessels whose save loads again to the same
// vessels: the same names and classes, the same masses, tanks and engines.
// The same holds for a save taken a few frames later.
#include <cmath>
#include <sstream>

#include "FuzzSupport.h"
#include "sim/Simulation.h"

#ifndef TARVIK_FUZZ_PROJECT_DATA_DIR
#define TARVIK_FUZZ_PROJECT_DATA_DIR "data"
#endif

namespace {

const char* const modules[] = {"TarvikM4", "TarvikM42", "TarvikM52", "TarvikM54", "TarvikSH", "sitewest", "siteeast"};

// What a save must keep of a vessel.
struct Shape {
    std::string name, className;
    double emptyMass = 0;
    std::vector<std::pair<double, double>> tanks;  // capacity, content [kg]
    struct Engine {
        double maxThrust, ispVac, ispRef;
        long tank;  // index into tanks, -1 for none
    };
    std::vector<Engine> engines;  // those fed by a tank
    std::vector<std::pair<int, size_t>> groups;  // type, thrusters
};

std::vector<Shape> shapes(const host::Simulation& sim) {
    std::vector<Shape> all;
    for (const auto& v : sim.vessels()) {
        if (v->pendingDelete)
            continue;
        Shape s;
        s.name = v->name;
        s.className = v->className;
        s.emptyMass = v->caps.emptyMass;
        for (const auto& p : v->propellants)
            s.tanks.emplace_back(p->maxMass, p->mass);
        // The engines a tank feeds: a stage set up again (once per line of a
        // configuration named by its code alone) leaves the ones before it
        // with no tank, and those are nothing a save needs to keep.
        for (const auto& t : v->thrusters) {
            long tank = -1;
            for (size_t i = 0; i < v->propellants.size(); ++i)
                if (v->propellants[i].get() == t->resource)
                    tank = static_cast<long>(i);
            if (tank >= 0)
                s.engines.push_back({t->maxThrust, t->ispVac, t->ispRef, tank});
        }
        for (const auto& g : v->groups)
            s.groups.emplace_back(static_cast<int>(g->type), g->thrusters.size());
        all.push_back(std::move(s));
    }
    return all;
}

// Saved numbers are written in full; what a module keeps as a fraction
// (a tank's level) comes back within rounding.
bool near(double a, double b) {
    if (a == b)
        return true;
    return std::fabs(a - b) <= 1e-6 + 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

std::string differences(const std::vector<Shape>& a, const std::vector<Shape>& b) {
    std::ostringstream d;
    if (a.size() != b.size())
        d << a.size() << " vessels became " << b.size() << "\n";
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const Shape &x = a[i], &y = b[i];
        const std::string who = x.name + " (" + x.className + ")";
        if (x.name != y.name || x.className != y.className)
            d << who << " became " << y.name << " (" << y.className << ")\n";
        if (!near(x.emptyMass, y.emptyMass))
            d << who << ": empty mass " << x.emptyMass << " became " << y.emptyMass << "\n";
        if (x.tanks.size() != y.tanks.size())
            d << who << ": " << x.tanks.size() << " tanks became " << y.tanks.size() << "\n";
        for (size_t t = 0; t < std::min(x.tanks.size(), y.tanks.size()); ++t)
            if (!near(x.tanks[t].first, y.tanks[t].first) || !near(x.tanks[t].second, y.tanks[t].second))
                d << who << ": tank " << t << " " << x.tanks[t].second << "/" << x.tanks[t].first << " kg became "
                  << y.tanks[t].second << "/" << y.tanks[t].first << " kg\n";
        if (x.engines.size() != y.engines.size())
            d << who << ": " << x.engines.size() << " engines became " << y.engines.size() << "\n";
        for (size_t e = 0; e < std::min(x.engines.size(), y.engines.size()); ++e) {
            const Shape::Engine &p = x.engines[e], &q = y.engines[e];
            if (!near(p.maxThrust, q.maxThrust) || !near(p.ispVac, q.ispVac) || !near(p.ispRef, q.ispRef) ||
                p.tank != q.tank)
                d << who << ": engine " << e << " (" << p.maxThrust << " N, Isp " << p.ispVac << ", tank " << p.tank
                  << ") became (" << q.maxThrust << " N, Isp " << q.ispVac << ", tank " << q.tank << ")\n";
        }
        if (x.groups != y.groups)
            d << who << ": its engine groups changed\n";
    }
    return d.str();
}

// The scenario text, or "" when a module holds a value that is not a number
// (the save refuses it, as it must).
std::string saved(host::Simulation& sim) {
    try {
        return sim.scenarioText();
    } catch (const std::runtime_error& e) {
        const std::string what = e.what();
        if (what.find("its '") == std::string::npos)
            fuzz::fault("the host's own state does not save: " + what);
        return "";
    }
}

// Loads the save into a simulation of its own and checks that it gives the
// same vessels.
void reloadsAsSaved(const std::string& text, const std::vector<Shape>& before, const std::string& root) {
    const std::string path = fuzz::workDir() + "/again.scn";
    fuzz::writeFile(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    host::Simulation sim(TARVIK_FUZZ_PROJECT_DATA_DIR, 60, root);
    try {
        sim.loadScenario(path);
    } catch (const host::InputError& e) {
        fuzz::fault(std::string("a saved scenario does not load: ") + e.what() + "\n" + text);
    }
    const std::string d = differences(before, shapes(sim));
    if (!d.empty())
        fuzz::fault("saved and loaded again, the vessels changed:\n" + d + "---- the save:\n" + text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool modulesKept = [] {
        const std::string dir = host::Simulation(TARVIK_FUZZ_PROJECT_DATA_DIR).moduleDir();
        for (const char* m : modules)
            fuzz::keepModuleLoaded(dir, m);
        return true;
    }();
    (void)modulesKept;
    const std::string in = fuzz::workDir() + "/in.scn", root = fuzz::workDir() + "/root";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    fuzz::writeFile(in, data, size);

    // The saves are loaded once the first simulation is gone: the modules
    // are the simulator's, one copy for every simulation.
    std::string first, later;
    std::vector<Shape> loaded, stepped;
    {
        host::Simulation sim(TARVIK_FUZZ_PROJECT_DATA_DIR, 60, root);
        try {
            sim.loadScenario(in);
        } catch (const host::InputError& e) {
            fuzz::checkMessage(e);
            if (!sim.vessels().empty())
                fuzz::fault("a failed load left vessels behind");
            return 0;
        }
        first = saved(sim);
        if (first.empty())
            return 0;
        loaded = shapes(sim);
        // A few frames on (the pad's hold-down, a staging step), a save
        // still holds what the launchers have.
        try {
            for (int i = 0; i < 3; ++i)
                sim.step();
            later = saved(sim);
            stepped = shapes(sim);
        } catch (const host::InputError&) {
            // a host file a module wrote was refused: the run ends there, as a run would
        }
    }
    reloadsAsSaved(first, loaded, root);
    if (!later.empty())
        reloadsAsSaved(later, stepped, root);
    return 0;
}
