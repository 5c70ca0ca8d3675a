// The scenario reader. Whatever the file holds, a load either refuses it with
// a clear message or builds vessels whose save loads again to the same state
// (the same text, saved again), and a few frames later every vessel's state
// is still made of numbers.
#include "FuzzSupport.h"
#include "sim/Simulation.h"

namespace {

// The scenario text, or "" when a module holds a value that is not a number
// (the save refuses it, as it must; the host's own state never does).
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool loaded = [] {
        fuzz::keepModuleLoaded(host::Simulation(fuzz::dataDir).moduleDir(), "ProbeA");
        return true;
    }();
    (void)loaded;
    const std::string in = fuzz::workDir() + "/in.scn", again = fuzz::workDir() + "/again.scn";
    fuzz::writeFile(in, data, size);
    std::string first;
    {
        host::Simulation sim(fuzz::dataDir, 60, fuzz::workDir());
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
    }
    fuzz::writeFile(again, reinterpret_cast<const uint8_t*>(first.data()), first.size());
    host::Simulation sim(fuzz::dataDir, 60, fuzz::workDir());
    try {
        sim.loadScenario(again);
    } catch (const host::InputError& e) {
        fuzz::fault(std::string("a saved scenario does not load: ") + e.what() + "\n" + first);
    }
    const std::string second = saved(sim);
    if (second != first)
        fuzz::fault("saved and loaded again, the scenario changed:\n" + first + "----\n" + second);
    for (int i = 0; i < 3; ++i)
        sim.step();
    saved(sim);
    return 0;
}
