// The integrator with loads of its own choosing, and the gravity model's
// free path it drifts along.
#include <gtest/gtest.h>

#include <cmath>

#include "physics/Earth.h"
#include "physics/Gravity.h"
#include "physics/Integration.h"

namespace {

using namespace host::physics;

// A constant acceleration in field-free space, and a record of the masses
// the integrator asked the kick for.
struct ConstantPush final : FlightLoads {
    VECTOR3 acceleration{};
    bool push = true;
    mutable double lastMass = 0;

    bool forced() const override { return push; }
    VECTOR3 kick(const host::FlightState&, double mass, double h) const override {
        lastMass = mass;
        return acceleration * h;
    }
    Turning turning(const host::FlightState&, const VECTOR3&) const override { return Turning{}; }
    void drift(VECTOR3& pos, VECTOR3& vel, double h) const override { pos += vel * h; }
};

double energy(const VECTOR3& pos, const VECTOR3& vel) {
    return dotp(vel, vel) / 2 - kEarthMu / length(pos);
}

}  // namespace

TEST(Integration, KickDriftKickIsExactForAConstantAcceleration) {
    host::VesselData v;
    v.state.pos = _V(7e6, 0, 0);  // far enough that many sub-steps are taken
    v.state.vel = _V(10, -20, 30);
    ConstantPush loads;
    loads.acceleration = _V(1, 2, -3);
    const double t = 600;
    fly(v, loads, 5000, 4000, t);
    EXPECT_GT(substepCount(v.state, true, t), 1);
    EXPECT_NEAR(v.state.vel.x, 10 + 1 * t, 1e-9);
    EXPECT_NEAR(v.state.vel.z, 30 - 3 * t, 1e-9);
    EXPECT_NEAR(v.state.pos.x, 7e6 + 10 * t + 0.5 * t * t, 1e-6);
    EXPECT_NEAR(v.state.pos.y, -20 * t + t * t, 1e-6);
    EXPECT_NEAR(loads.lastMass, 4000, 1e-9);  // the last kick is at the end of the burn
}

TEST(Integration, SubstepsFollowTheOrbitWhenForcedAndTheRotationAlways) {
    host::FlightState s;
    s.pos = _V(kEarthRadius + 200e3, 0, 0);
    EXPECT_EQ(substepCount(s, false, 10), 1);
    const double orbitRadian = std::sqrt(std::pow(length(s.pos), 3) / kEarthMu);
    EXPECT_EQ(substepCount(s, true, 10), static_cast<int>(std::ceil(10 / (orbitRadian / 40))));
    s.omega = _V(0, 1, 0);
    EXPECT_EQ(substepCount(s, false, 1), 20);      // at most 0.05 rad per sub-step
    EXPECT_EQ(substepCount(s, false, 1e6), 4096);  // and never more than the cap
}

TEST(Integration, GravityDriftFollowsTheKeplerOrbit) {
    // An ellipse from perigee: after one period it is back where it started,
    // and the energy and angular momentum hold all the way.
    const double rp = kEarthRadius + 300e3, ra = kEarthRadius + 3000e3, a = (rp + ra) / 2;
    const VECTOR3 p0 = _V(rp, 0, 0), v0 = _V(0, 0, std::sqrt(kEarthMu * (2 / rp - 1 / a)));
    const double period = 2 * PI * std::sqrt(a * a * a / kEarthMu);
    VECTOR3 pos = p0, vel = v0;
    for (int i = 0; i < 7; ++i) {
        keplerDrift(pos, vel, period / 7);
        EXPECT_NEAR(energy(pos, vel), energy(p0, v0), 1e-9 * std::fabs(energy(p0, v0)));
        EXPECT_NEAR(length(crossp(pos, vel)), length(crossp(p0, v0)), 1e-9 * length(crossp(p0, v0)));
    }
    EXPECT_NEAR(length(pos - p0), 0, 1e-3);

    // Over a short time the drift bends the path as the pull there says.
    pos = p0, vel = v0;
    const double h = 0.01;
    keplerDrift(pos, vel, h);
    const VECTOR3 g = gravityAt(p0);
    EXPECT_NEAR(vel.x - v0.x, g.x * h, 1e-6 * length(g) * h);
}
