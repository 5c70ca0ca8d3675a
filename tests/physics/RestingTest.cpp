// Vessels at rest on the ground: a landed vessel no thrust lifts keeps the
// pose it was stood in (turning with the Earth) without solving it again,
// and is stood anew, or set flying, as soon as something touches it. At rest
// or not, it is always exactly where standing it afresh puts it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "TestVessels.h"
#include "physics/Earth.h"
#include "physics/Ground.h"
#include "sim/ThrusterLevels.h"

using namespace physics_test;

namespace {

const double kLng = -80.5680 * RAD, kLat = 28.5 * RAD, kHeading = 30 * RAD, kMjd = 55000.25;

// A launcher standing nose up, its engine off.
struct Standing : TestVessel {
    host::Thruster* engine;
    host::Propellant* tank;
    double mjd = kMjd;
    Standing() {
        v().caps.emptyMass = 300000;
        v().caps.touchdown = {_V(0, -1, 43.5), _V(0, 1, 43.5), _V(1, 0, 43.5)};
        tank = addTank(50000);
        engine = addThruster(_V(0, 0, -20), _V(0, 0, 1), 0, tank, 1e9);
        host::physics::placeLanded(v(), kLng, kLat, kHeading, kMjd);
    }
    double weight() const { return data->mass() * host::physics::kEarthMu / std::pow(length(data->state.pos), 2); }
    bool step() {
        fly(*this, kFrame, kFrame, mjd);
        return data->derived.resting;
    }
};

bool sameBits(const VECTOR3& a, const VECTOR3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Where standing the vessel afresh at its place and the date of its state puts it, bit for bit.
::testing::AssertionResult standsAsPlaced(const host::VesselData& v) {
    const host::FlightState& s = v.state;
    if (!s.landed)
        return ::testing::AssertionFailure() << "it is not on the ground";
    VECTOR3 pos;
    MATRIX3 R;
    host::physics::landedPose(v.caps, s.landedLng, s.landedLat, s.landedHdg, s.mjd, pos, R);
    if (!sameBits(pos, s.pos) || std::memcmp(&R, &s.R, sizeof R) != 0 ||
        !sameBits(host::physics::corotationVelocity(pos), s.vel) || length(s.omega) != 0 || !s.groundContact)
        return ::testing::AssertionFailure() << "it is not where standing it afresh puts it";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(Resting, AVesselAtRestTurnsWithTheEarthExactlyAsIfStoodAfreshEachStep) {
    Standing l;
    EXPECT_FALSE(l.step()) << "the first step stands it";
    EXPECT_TRUE(standsAsPlaced(l.v()));
    for (int i = 0; i < 600; ++i) {
        ASSERT_TRUE(l.step()) << "step " << i;
        ASSERT_TRUE(standsAsPlaced(l.v())) << "step " << i;
    }
    EXPECT_EQ(l.tank->mass, 50000);
}

TEST(Resting, AVesselNobodyReadsStandsWhereTheLastStepLeftItOnceRead) {
    Standing unread, watched;
    unread.step();
    watched.step();
    for (int i = 0; i < 600; ++i) {
        unread.step();
        watched.step();
        ASSERT_TRUE(standsAsPlaced(watched.v())) << "step " << i;
    }
    EXPECT_TRUE(unread.data->restPending) << "nobody has read it: its pose waits";
    const host::FlightState& late = unread.v().state;
    const host::FlightState& each = watched.v().state;
    EXPECT_FALSE(unread.data->restPending);
    EXPECT_TRUE(sameBits(late.pos, each.pos) && sameBits(late.vel, each.vel) &&
                std::memcmp(&late.R, &each.R, sizeof late.R) == 0 && late.mjd == each.mjd)
        << "read once at the end, it is where it stands when read every step";
    EXPECT_EQ(late.mjd, watched.mjd) << "the date the last step ended at";
}

TEST(Resting, ThrustWakesItWhetherOrNotItLifts) {
    Standing l;
    l.step();
    l.engine->maxThrust = 0.97 * l.weight();
    host::setThrusterLevel(l.v(), *l.engine, 1);
    EXPECT_FALSE(l.step()) << "thrust below the weight: held, but awake";
    EXPECT_TRUE(standsAsPlaced(l.v()));
    EXPECT_LT(l.tank->mass, 50000);
    EXPECT_GT(l.engine->effectiveLevel, 0);

    host::setThrusterLevel(l.v(), *l.engine, 0);
    EXPECT_TRUE(l.step()) << "the engine off, it rests again";
    EXPECT_EQ(l.engine->effectiveLevel, 0.0);
    EXPECT_TRUE(standsAsPlaced(l.v()));

    // A navigation mode's single-step level is thrust too.
    host::addSingleStepLevel(l.v(), *l.engine, 1);
    EXPECT_FALSE(l.step());
    EXPECT_EQ(l.engine->singleStepLevel, 0.0) << "and lasts one step";

    // Lighter, the same thrust lifts it.
    host::setThrusterLevel(l.v(), *l.engine, 1);
    l.step();
    ASSERT_TRUE(l.v().state.landed);
    l.v().caps.emptyMass = 250000;
    EXPECT_FALSE(l.step());
    EXPECT_FALSE(l.v().state.landed) << "lifted off";
}

TEST(Resting, ANewPlaceHeadingOrTouchdownWakesItWhereItNowStands) {
    Standing l;
    l.step();
    ASSERT_TRUE(l.step());

    // The state record sets it down elsewhere, facing elsewhere.
    VESSELSTATUS2 status{};
    status.version = 2;
    status.status = 1;
    status.surf_lng = kLng + 0.01;
    status.surf_lat = kLat - 0.02;
    status.surf_hdg = kHeading + 1;
    host::physics::applyStatus(l.v(), status, l.mjd);
    EXPECT_FALSE(l.step());
    EXPECT_TRUE(standsAsPlaced(l.v()));
    EXPECT_TRUE(l.step());

    status.surf_hdg = kHeading;  // the heading alone
    host::physics::applyStatus(l.v(), status, l.mjd);
    EXPECT_FALSE(l.step());
    EXPECT_TRUE(standsAsPlaced(l.v()));

    // New touchdown points: it stands on them, higher.
    l.vessel().SetTouchdownPoints(_V(0, -1, 50), _V(0, 1, 50), _V(1, 0, 50));
    EXPECT_FALSE(l.step());
    EXPECT_TRUE(standsAsPlaced(l.v()));
    EXPECT_NEAR(l.vessel().GetAltitude(), 50, 1e-6);
    EXPECT_TRUE(l.step());

    // Set free above the ground: it falls, and comes to rest again where it lands.
    status.status = 0;
    status.rpos = l.v().state.pos * 1.00001;
    status.rvel = host::physics::corotationVelocity(status.rpos);
    host::physics::applyStatus(l.v(), status, l.mjd);
    EXPECT_FALSE(l.step());
    EXPECT_FALSE(l.v().state.landed);
    fly(l, 30, kFrame, l.mjd);
    ASSERT_TRUE(l.v().state.landed);
    l.step();
    EXPECT_TRUE(l.step());
    EXPECT_TRUE(standsAsPlaced(l.v()));
}

TEST(Resting, AThrusterThatDoesNotFireBurnsNothingWhateverItsFlow) {
    Standing l;
    host::Thruster* wild = l.addThruster(_V(0, 0, 0), _V(0, 0, 1), INFINITY, l.tank, 300);
    l.step();
    EXPECT_TRUE(l.step());
    EXPECT_EQ(l.tank->mass, 50000);

    // Flying too: a thruster at level 0 with an infinite flow used to empty its tank.
    putInCircularOrbit(l, 300e3, l.mjd);
    EXPECT_FALSE(l.step());
    EXPECT_EQ(l.tank->mass, 50000);
    EXPECT_EQ(wild->effectiveLevel, 0.0);
}
