// bench-physics [SECONDS] [FPS]: flies a representative heavy vessel (40
// thrusters, 8 tanks, 14 groups, exhaust streams) for SECONDS of simulated
// time (default 2000) at FPS steps per second (default 60) and prints the
// steps per second of wall time the physics managed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "AttitudeThrusters.h"
#include "Orbitersdk.h"
#include "physics/Physics.h"
#include "sim/VesselData.h"
#include "sim/ThrusterLevels.h"

namespace {

using host::Propellant;
using host::Thruster;
using host::ThrusterGroup;
using host::VesselData;

// Tanks and thrusters are made through the VESSEL interface, as a module makes them.
Propellant* addTank(VesselData& v, double mass) {
    VESSEL2(&v).CreatePropellantResource(mass);
    return v.propellants.back().get();
}

Thruster* addThruster(VesselData& v, VECTOR3 pos, VECTOR3 dir, double thrust, Propellant* tank, double isp,
                      double ispRef) {
    VESSEL2(&v).CreateThruster(pos, dir, thrust, reinterpret_cast<PROPELLANT_HANDLE>(tank), isp, ispRef);
    return v.thrusters.back().get();
}

void addGroup(VesselData& v, THGROUP_TYPE type, std::vector<Thruster*> members) {
    auto g = std::make_unique<ThrusterGroup>();
    g->type = type;
    g->thrusters = std::move(members);
    v.groups.push_back(std::move(g));
}

// Three cores side by side, six boosters, an upper stage and its attitude
// thrusters: 40 thrusters on 8 tanks in 14 groups, each engine with a stream.
void buildHeavyVessel(VesselData& v) {
    v.name = "bench";
    v.caps.size = 40;
    v.caps.emptyMass = 90000;
    v.caps.crossSections = _V(120, 120, 40);
    v.caps.rotDrag = _V(0.6, 0.6, 0.6);
    v.caps.touchdown = {_V(0, -1, 50), _V(0, 1, 50), _V(1, 0, 50)};
    v.caps.cw[0] = 0.2, v.caps.cw[1] = 0.4, v.caps.cw[2] = v.caps.cw[3] = 1.2;

    std::vector<Thruster*> main, hover, att[12];
    for (int core = 0; core < 3; ++core) {
        Propellant* tank = addTank(v, 200000);
        main.push_back(addThruster(v, _V(5.0 * (core - 1), 0, -22), _V(0, 0, 1), 3.3e6, tank, 4200, 3650));
    }
    // Six boosters on four tanks: the inner pairs share one each.
    const double boosterX[6] = {-9, 9, -7, 7, -3, 3};
    Propellant* boosterTanks[4] = {addTank(v, 80000), addTank(v, 80000), addTank(v, 40000), addTank(v, 40000)};
    for (int b = 0; b < 6; ++b) {
        Propellant* tank = boosterTanks[b < 4 ? b / 2 : b - 2];
        main.push_back(addThruster(v, _V(boosterX[b], b % 2 ? 2 : -2, -17), _V(0, 0, 1), 8.5e5, tank, 2750, 2450));
    }
    // Two blocks of fourteen attitude thrusters in the launchers' layout, on
    // the upper stage and on the cores, and three hover thrusters: 40 in all.
    Propellant* upper = addTank(v, 30000);
    const struct {
        double arm, z, thrust;
        Propellant* tank;
    } mounts[2] = {{2, 20, 44000, upper}, {4, -10, 150000, nullptr}};
    for (const auto& m : mounts) {
        Thruster* made[tarvik::kAttitudeThrusterCount];
        for (int i = 0; i < tarvik::kAttitudeThrusterCount; ++i) {
            const tarvik::AttitudeThrusterRow& row = tarvik::kAttitudeThrusters[i];
            made[i] = addThruster(v, tarvik::attitudeThrusterPosition(row, m.arm) + _V(0, 0, m.z), row.dir, m.thrust,
                                  m.tank ? m.tank : v.propellants[i % 3].get(), 4620, 0);
        }
        for (int g = 0; g < 12; ++g)
            for (int k = 0; k < tarvik::kAttitudeGroups[g].count; ++k)
                att[g].push_back(made[tarvik::kAttitudeGroups[g].members[k] - 1]);
    }
    for (int i = 0; i < 3; ++i)
        hover.push_back(
            addThruster(v, _V(0, 0, -22), _V(0, i == 1 ? 1 : 0.5, 1), 100000, v.propellants[i].get(), 4200, 3650));
    addGroup(v, THGROUP_MAIN, main);
    addGroup(v, THGROUP_HOVER, hover);
    for (int g = 0; g < 12; ++g)
        addGroup(v, tarvik::kAttitudeGroups[g].type, att[g]);
    for (Thruster* t : main) {
        host::Stream s;
        s.thruster = t;
        v.streams.push_back(s);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2000;
    const double fps = argc > 2 ? std::atof(argv[2]) : 60;
    if (!(seconds > 0) || !(fps > 0)) {
        std::fprintf(stderr, "usage: bench-physics [SECONDS] [FPS]\n");
        return 2;
    }

    VesselData v;
    buildHeavyVessel(v);
    double mjd = 55000.5;
    host::physics::placeLanded(v, -80.568 * RAD, 28.53429 * RAD, 30 * RAD, mjd);
    for (auto& t : v.thrusters)
        host::setThrusterLevel(v, *t, 0);
    for (Thruster* t : v.group(THGROUP_MAIN)->thrusters)
        host::setThrusterLevel(v, *t, 1);

    const std::vector<VesselData*> list{&v};
    const double dt = 1 / fps;
    const long steps = static_cast<long>(seconds * fps + 0.5);
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < steps; ++i) {
        // The pilot keeps killing the rotation the engines' imbalance brings.
        if (i % static_cast<long>(10 * fps) == 0)
            v.state.navmodes = 1 << NAVMODE_KILLROT;
        host::physics::step(list, i * dt, dt, mjd);
        mjd += dt / 86400;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    double apoapsis = 0;
    VESSEL2 iface(&v);
    iface.GetApDist(apoapsis);
    std::printf("%zu thrusters, %zu tanks, %zu groups, %zu streams\n", v.thrusters.size(), v.propellants.size(),
                v.groups.size(), v.streams.size());
    std::printf("flew %ld steps (%.0f s at %.0f steps/s) in %.3f s of wall time: %.0f steps/s\n", steps, seconds, fps,
                wall, steps / wall);
    std::printf("final altitude %.1f km, airspeed %.1f m/s, apoapsis radius %.1f km, %s\n", iface.GetAltitude() / 1000,
                iface.GetAirspeed(), apoapsis / 1000, v.state.landed ? "landed" : "flying");
    return 0;
}
