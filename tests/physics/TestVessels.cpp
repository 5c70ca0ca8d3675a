#include "TestVessels.h"

#include <cmath>
#include <vector>

#include "physics/Frames.h"

namespace physics_test {

TestVessel::TestVessel() : iface(std::make_unique<VESSEL2>(data.get())) {
    data->name = "probe";
    data->caps.size = 2;
    data->caps.emptyMass = 1000;
}

host::Propellant* TestVessel::addTank(double mass, double efficiency) {
    auto p = std::make_unique<host::Propellant>();
    p->maxMass = p->mass = mass;
    p->efficiency = efficiency;
    data->propellants.push_back(std::move(p));
    return data->propellants.back().get();
}

host::Thruster* TestVessel::addThruster(VECTOR3 pos, VECTOR3 dir, double thrust, host::Propellant* tank, double isp,
                                        double ispRef, double pRef) {
    auto t = std::make_unique<host::Thruster>();
    t->pos = pos;
    t->dir = dir;
    t->maxThrust = thrust;
    t->resource = tank;
    t->ispVac = isp;
    t->ispRef = ispRef;
    t->pRef = pRef;
    data->thrusters.push_back(std::move(t));
    return data->thrusters.back().get();
}

host::ThrusterGroup* TestVessel::addGroup(THGROUP_TYPE type, std::initializer_list<host::Thruster*> members) {
    auto g = std::make_unique<host::ThrusterGroup>();
    g->type = type;
    g->thrusters.assign(members);
    data->groups.push_back(std::move(g));
    return data->groups.back().get();
}

namespace {

struct AttitudeThruster {
    double armSign;  // x = armSign * arm
    double z;
    VECTOR3 dir;
};

constexpr AttitudeThruster kAttitudeBlock[] = {
    // x     z     direction
    {+1, +3, {0, 1, 0}},   // 1
    {+1, +3, {0, -1, 0}},  // 2
    {-1, +3, {0, 1, 0}},   // 3
    {-1, +3, {0, -1, 0}},  // 4
    {+1, -3, {0, 1, 0}},   // 5
    {+1, -3, {0, -1, 0}},  // 6
    {-1, -3, {0, 1, 0}},   // 7
    {-1, -3, {0, -1, 0}},  // 8
    {+1, +3, {-1, 0, 0}},  // 9
    {-1, +3, {1, 0, 0}},   // 10
    {+1, -3, {-1, 0, 0}},  // 11
    {-1, -3, {1, 0, 0}},   // 12
    {0, -3, {0, 0, 1}},    // 13
    {0, +3, {0, 0, -1}},   // 14
};

struct AttitudeGroup {
    THGROUP_TYPE type;
    int members[4];  // 1-based, 0 = none
};

// clang-format off
constexpr AttitudeGroup kAttitudeGroups[] = {
    {THGROUP_ATT_PITCHUP, {1, 3, 6, 8}},   {THGROUP_ATT_PITCHDOWN, {2, 4, 5, 7}},
    {THGROUP_ATT_BANKLEFT, {1, 5, 4, 8}},  {THGROUP_ATT_BANKRIGHT, {2, 6, 3, 7}},
    {THGROUP_ATT_UP, {1, 5, 3, 7}},        {THGROUP_ATT_DOWN, {2, 6, 4, 8}},
    {THGROUP_ATT_YAWLEFT, {9, 12, 0, 0}},  {THGROUP_ATT_YAWRIGHT, {10, 11, 0, 0}},
    {THGROUP_ATT_LEFT, {9, 11, 0, 0}},     {THGROUP_ATT_RIGHT, {10, 12, 0, 0}},
    {THGROUP_ATT_FORWARD, {13, 0, 0, 0}},  {THGROUP_ATT_BACK, {14, 0, 0, 0}},
};
// clang-format on

}  // namespace

void addAttitudeBlock(TestVessel& t, double arm, double thrust, double isp, host::Propellant* tank) {
    std::vector<host::Thruster*> block;
    for (const AttitudeThruster& a : kAttitudeBlock)
        block.push_back(t.addThruster(_V(a.armSign * arm, 0, a.z), a.dir, thrust, tank, isp, 0, 101400));
    for (const AttitudeGroup& g : kAttitudeGroups) {
        auto group = std::make_unique<host::ThrusterGroup>();
        group->type = g.type;
        for (int m : g.members)
            if (m)
                group->thrusters.push_back(block[m - 1]);
        t.v().groups.push_back(std::move(group));
    }
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
