// The class configuration reader. Whatever the file holds, creating a vessel
// of the class either fails with a clear message naming the class, or gives
// a vessel with a positive mass that flies a few frames, in orbit and on the
// ground, with every number of its state finite.
#include <cmath>

#include "FuzzSupport.h"
#include "sim/Simulation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool loaded = [] {
        fuzz::keepModuleLoaded(host::Simulation(fuzz::dataDir).moduleDir(), "ProbeA");
        return true;
    }();
    (void)loaded;
    const std::string dir = fuzz::workDir() + "/data";
    fuzz::writeFile(dir + "/Config/fuzz/x.cfg", data, size);
    host::Simulation sim(dir, 60, fuzz::workDir());

    VESSELSTATUS2 orbiting{};
    orbiting.version = 2;
    orbiting.rpos = _V(6671010, 0, 0);
    orbiting.rvel = _V(0, 0, 7730);
    VESSELSTATUS2 landed{};
    landed.version = 2;
    landed.status = 1;
    landed.surf_lng = -1.4;
    landed.surf_lat = 0.5;
    landed.surf_hdg = 0.5;
    try {
        sim.createVessel("Orbiting", "fuzz/x", orbiting);
        sim.createVessel("Landed", "fuzz/x", landed);
    } catch (const host::InputError& e) {
        fuzz::checkMessage(e);
        if (std::string(e.what()).find("fuzz/x") == std::string::npos)
            fuzz::fault(std::string("the message does not name the class: ") + e.what());
        return 0;
    }
    for (int i = 0; i < 3; ++i)
        sim.step();
    for (const auto& v : sim.vessels()) {
        const host::FlightState& s = v->state;
        const double numbers[] = {v->mass(), s.pos.x, s.pos.y,   s.pos.z,   s.vel.x,
                                  s.vel.y,   s.vel.z, s.omega.x, s.omega.y, s.omega.z};
        for (double n : numbers)
            if (!std::isfinite(n))
                fuzz::fault("vessel " + v->name + " has a state that is not a number");
        if (!(v->mass() > 0))
            fuzz::fault("vessel " + v->name + " has no mass");
    }
    return 0;
}
