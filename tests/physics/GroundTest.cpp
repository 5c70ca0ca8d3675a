// Vessels on the ground: standing on their touchdown points on the turning
// Earth, lifting off only when their thrust beats their weight, and coming to
// rest when they fall.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "TestVessels.h"
#include "physics/Earth.h"
#include "physics/Frames.h"
#include "physics/Ground.h"
#include "sim/ThrusterLevels.h"

using namespace physics_test;

namespace {

const double kLng = -80.5680 * RAD, kLat = 28.5 * RAD, kHeading = 30 * RAD, kMjd = 55000.25;

// Stands nose up on the points the launchers give, 350 t, one engine under the
// tail whose burn hardly changes the mass.
struct Launcher : TestVessel {
    host::Thruster* engine;
    Launcher() {
        v().caps.size = 35.5;
        v().caps.emptyMass = 300000;
        v().caps.touchdown = {_V(0, -1, 43.5), _V(0, 1, 43.5), _V(1, 0, 43.5)};
        engine = addThruster(_V(0, 0, -20), _V(0, 0, 1), 0, addTank(50000), 1e9);
        host::physics::placeLanded(v(), kLng, kLat, kHeading, kMjd);
    }
    double weight() const { return data->mass() * host::physics::kEarthMu / std::pow(length(data->state.pos), 2); }
};

}  // namespace

TEST(Ground, LauncherStandsNoseUpOnItsTouchdownPoints) {
    Launcher l;
    double pitch = 0, heading = 0, alt = 0, airspeed = 0;
    ASSERT_TRUE(oapiGetPitch(l.handle(), &pitch));
    ASSERT_TRUE(oapiGetHeading(l.handle(), &heading));
    ASSERT_TRUE(oapiGetAltitude(l.handle(), &alt));
    ASSERT_TRUE(oapiGetAirspeed(l.handle(), &airspeed));
    EXPECT_NEAR(pitch, 90 * RAD, 1e-6);
    EXPECT_NEAR(heading, kHeading, 1e-9);
    EXPECT_NEAR(alt, 43.5, 1e-6);
    EXPECT_EQ(airspeed, 0.0);
    EXPECT_TRUE(l.vessel().GroundContact());

    // Its belly (-y) faces the heading.
    VECTOR3 belly;
    l.vessel().HorizonRot(_V(0, -1, 0), belly);
    EXPECT_NEAR(std::atan2(belly.x, belly.z), kHeading, 1e-9);
    EXPECT_NEAR(belly.y, 0, 1e-9);

    VECTOR3 air;
    l.vessel().GetShipAirspeedVector(air);
    EXPECT_EQ(length(air), 0.0);
    double lng = 0, lat = 0, rad = 0;
    ASSERT_TRUE(oapiGetEquPos(l.handle(), &lng, &lat, &rad));
    EXPECT_EQ(lng, kLng);
    EXPECT_EQ(lat, kLat);
    EXPECT_NEAR(rad, host::physics::kEarthRadius + 43.5, 1e-6);
}

TEST(Ground, StaysExactlyPutUntilThrustExceedsWeight) {
    Launcher l;
    l.engine->maxThrust = 0.97 * l.weight();
    host::setThrusterLevel(l.v(), *l.engine, 1);
    double mjd = kMjd;
    fly(l, 20, kFrame, mjd);
    EXPECT_TRUE(l.v().state.landed);
    double lng = 0, lat = 0, alt = 0, pitch = 0;
    oapiGetEquPos(l.handle(), &lng, &lat, nullptr);
    oapiGetAltitude(l.handle(), &alt);
    oapiGetPitch(l.handle(), &pitch);
    EXPECT_EQ(lng, kLng);
    EXPECT_EQ(lat, kLat);
    EXPECT_NEAR(alt, 43.5, 1e-6);
    EXPECT_NEAR(pitch, 90 * RAD, 1e-6);
    EXPECT_EQ(l.vessel().GetAirspeed(), 0.0);
    // The Earth turned under it, and it turned with the Earth.
    const VECTOR3 where = host::physics::surfacePoint(kLng, kLat, host::physics::kEarthRadius + 43.5, mjd);
    EXPECT_LT(length(l.v().state.pos - where), 1e-6);

    l.engine->maxThrust = 1.05 * l.weight();
    fly(l, 10, kFrame, mjd);
    EXPECT_FALSE(l.v().state.landed);
    EXPECT_FALSE(l.vessel().GroundContact());
    // Ten seconds at a twentieth of g: some 24 m of climb and 5 m/s.
    oapiGetAltitude(l.handle(), &alt);
    EXPECT_NEAR(alt - 43.5, 24.5, 3);
    EXPECT_NEAR(l.vessel().GetAirspeed(), 4.9, 0.5);
    oapiGetPitch(l.handle(), &pitch);
    EXPECT_NEAR(pitch, 90 * RAD, 1e-4);
}

TEST(Ground, ColinearTouchdownPointsStandWithYUp) {
    TestVessel t;
    t.v().caps.touchdown = {_V(0, -2, 0), _V(0, -2, 1), _V(0, -2, 2)};
    host::physics::placeLanded(t.v(), kLng, kLat, kHeading, kMjd);
    double pitch = 1, alt = 0;
    oapiGetPitch(t.handle(), &pitch);
    oapiGetAltitude(t.handle(), &alt);
    EXPECT_NEAR(pitch, 0, 1e-9);
    EXPECT_NEAR(t.vessel().GetBank(), 0, 1e-9);
    EXPECT_NEAR(alt, 2, 1e-6);
    double mjd = kMjd;
    fly(t, 1, kFrame, mjd);
    EXPECT_TRUE(t.v().state.landed);
}

TEST(Ground, FallingVesselComesToRestWhereItLands) {
    TestVessel t;
    const double mjd0 = kMjd;
    VESSELSTATUS2 s{};
    s.version = 2;
    s.rpos = host::physics::surfacePoint(kLng, kLat, host::physics::kEarthRadius + 500, mjd0);
    s.rvel = host::physics::corotationVelocity(s.rpos) + s.rpos * (-30 / length(s.rpos));
    host::physics::applyStatus(t.v(), s, mjd0);
    double mjd = mjd0;
    fly(t, 5, kFrame, mjd);
    EXPECT_FALSE(t.v().state.landed);
    fly(t, 120, 10 * kFrame, mjd);  // at time acceleration 10
    ASSERT_TRUE(t.v().state.landed);
    EXPECT_TRUE(t.vessel().GroundContact());
    EXPECT_NEAR(t.vessel().GetAltitude(), 1, 1e-6);  // the default touchdown points' height
    double lat = 0;
    oapiGetEquPos(t.handle(), nullptr, &lat, nullptr);
    EXPECT_NEAR(lat, kLat, 1e-4);
    EXPECT_EQ(t.vessel().GetAirspeed(), 0.0);
}

// A vessel high enough that no foot can reach the ground is passed over
// without its feet being worked out: whatever its attitude, the answer is the
// one the feet give, right up to where they touch.
TEST(Ground, ContactIsTheFeetsAnswerAtEveryHeightAndAttitude) {
    Launcher l;
    VesselData& v = l.v();
    v.state.landed = false;
    const host::TouchdownGeometry g = host::physics::touchdownGeometry(v.caps);
    ASSERT_GT(g.reach, 40);
    const VECTOR3 up = _V(std::cos(kLat), std::sin(kLat), 0);
    uint64_t x = 88172645463325252ull;
    auto draw = [&x] {  // in [0, 1)
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        return static_cast<double>(x >> 11) / 9007199254740992.0;
    };
    int touching = 0;
    for (int i = 0; i < 20000; ++i) {
        const double altitude = (g.reach + 4) * draw() - 1;  // some beyond any foot's reach
        v.state.pos = up * (host::physics::kEarthRadius + altitude);
        v.state.R = host::physics::rotationFromArot(_V(PI2 * draw(), PI * (draw() - 0.5), PI2 * draw()));
        double lowest = altitude;
        for (const VECTOR3& foot : g.feet)
            lowest = std::min(lowest, host::physics::altitudeOf(v.state.pos + mul(v.state.R, foot)));
        ASSERT_EQ(host::physics::touchesGround(v), lowest <= 0.01) << "altitude " << altitude;
        touching += lowest <= 0.01;
    }
    EXPECT_GT(touching, 1000);
    EXPECT_LT(touching, 19000);
}
