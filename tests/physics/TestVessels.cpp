#include "TestVessels.h"

#include <cmath>
#include <vector>

#include "AttitudeThrusters.h"
#include "physics/Frames.h"

namespace physics_test {

TestVessel::TestVessel() : iface(std::make_unique<VESSEL2>(data.get())) {
    data->name = "probe";
    data->caps.size = 2;
    data->caps.emptyMass = 1000;
}

namespace {

PROPELLANT_HANDLE handleOf(host::Propellant* tank) {
    return reinterpret_cast<PROPELLANT_HANDLE>(tank);
}

}  // namespace

// Built through the VESSEL interface, as a module builds its vessel.
host::Propellant* TestVessel::addTank(double mass, double efficiency) {
    vessel().CreatePropellantResource(mass, mass, efficiency);
    return data->propellants.back().get();
}

host::Thruster* TestVessel::addThruster(VECTOR3 pos, VECTOR3 dir, double thrust, host::Propellant* tank, double isp,
                                        double ispRef, double pRef) {
    vessel().CreateThruster(pos, dir, thrust, handleOf(tank), isp, ispRef, pRef);
    return data->thrusters.back().get();
}

host::ThrusterGroup* TestVessel::addGroup(THGROUP_TYPE type, std::initializer_list<host::Thruster*> members) {
    auto g = std::make_unique<host::ThrusterGroup>();
    g->type = type;
    g->thrusters.assign(members);
    data->groups.push_back(std::move(g));
    return data->groups.back().get();
}

void addAttitudeBlock(TestVessel& t, double arm, double thrust, double isp, host::Propellant* tank) {
    tarvik::createAttitudeThrusters(t.vessel(), arm, thrust, isp, handleOf(tank));
}

void makeUpperStage(TestVessel& t) {
    t.v().caps.size = 14;
    t.v().caps.emptyMass = 3490 + 1000 + 3000;
    host::Propellant* tank = t.addTank(27220);
    host::Thruster* main = t.addThruster(_V(0, 0, -19), _V(0, 0, 1), 110100, tank, 4620);
    t.addGroup(THGROUP_MAIN, {main});
    addAttitudeBlock(t, 2, 44000, 4620, tank);
}

MATRIX3 levelAttitude(const VECTOR3& pos, double heading) {
    const double sh = std::sin(heading), ch = std::cos(heading);
    return host::physics::product(host::physics::horizonBasis(pos), _M(ch, 0, sh, 0, 1, 0, -sh, 0, ch));
}

void putInCircularOrbit(TestVessel& t, double altitude, double mjd) {
    const double r = host::physics::kEarthRadius + altitude;
    VESSELSTATUS2 s{};
    s.version = 2;
    s.rpos = _V(r, 0, 0);
    s.rvel = _V(0, 0, std::sqrt(host::physics::kEarthMu / r));
    s.arot = host::physics::arotFromRotation(levelAttitude(s.rpos, 90 * RAD));
    host::physics::applyStatus(t.v(), s, mjd);
}

void fly(TestVessel& t, double seconds, double dt, double& mjd) {
    const std::vector<VesselData*> list{t.data.get()};
    const long steps = std::lround(seconds / dt);
    for (long i = 0; i < steps; ++i) {
        host::physics::step(list, 0, dt, mjd);
        mjd += dt / 86400;
    }
}

}  // namespace physics_test
