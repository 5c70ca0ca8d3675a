// The state record the launchers read and hand back every step, and the
// centre-of-mass shifts of their staging.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "TestVessels.h"

using namespace physics_test;

namespace {

bool sameState(const host::FlightState& a, const host::FlightState& b) {
    return std::memcmp(&a.pos, &b.pos, sizeof a.pos) == 0 && std::memcmp(&a.vel, &b.vel, sizeof a.vel) == 0 &&
           std::memcmp(&a.R, &b.R, sizeof a.R) == 0 && std::memcmp(&a.omega, &b.omega, sizeof a.omega) == 0 &&
           a.landed == b.landed;
}

void handBack(TestVessel& t) {
    VESSELSTATUS2 s{};
    s.version = 2;
    t.vessel().GetStatusEx(&s);
    t.vessel().DefSetStateEx(&s);
}

}  // namespace

TEST(StateRecord, HandingTheRecordStraightBackChangesNothing) {
    TestVessel flying, standing;
    putInCircularOrbit(flying, 250e3);
    flying.vessel().SetAngularVel(_V(0.01, 0.02, -0.03));
    double mjd = 55000;
    fly(flying, 3.3, kFrame, mjd);  // an attitude that is no longer round numbers
    standing.v().caps.touchdown = {_V(0, -1, 43.5), _V(0, 1, 43.5), _V(1, 0, 43.5)};
    host::physics::placeLanded(standing.v(), -80.568 * RAD, 28.53429 * RAD, 30 * RAD, 55000);

    for (TestVessel* t : {&flying, &standing}) {
        const host::FlightState before = t->v().state;
        for (int i = 0; i < 100; ++i)
            handBack(*t);
        EXPECT_TRUE(sameState(before, t->v().state));
    }
}

TEST(StateRecord, LandedRecordStandsTheVesselAtItsSurfacePosition) {
    TestVessel t;
    putInCircularOrbit(t, 250e3);
    VESSELSTATUS2 s{};
    s.version = 2;
    t.vessel().GetStatusEx(&s);
    EXPECT_EQ(s.status, 0);
    s.status = 1;
    s.surf_lng = -120.6256 * RAD;
    s.surf_lat = 34.6 * RAD;
    s.surf_hdg = 90 * RAD;
    t.vessel().DefSetStateEx(&s);
    EXPECT_TRUE(t.vessel().GroundContact());
    double lng = 0, lat = 0, hdg = 0;
    oapiGetEquPos(t.handle(), &lng, &lat, nullptr);
    oapiGetHeading(t.handle(), &hdg);
    EXPECT_EQ(lng, s.surf_lng);
    EXPECT_EQ(lat, s.surf_lat);
    EXPECT_NEAR(hdg, 90 * RAD, 1e-9);

    VESSELSTATUS2 back{};
    back.version = 2;
    t.vessel().GetStatusEx(&back);
    EXPECT_EQ(back.status, 1);
    EXPECT_EQ(back.surf_lat, s.surf_lat);
    EXPECT_EQ(length(back.vrot), 0.0);
}

TEST(StateRecord, FuelAndThrusterListsApplyTheirLevels) {
    TestVessel t;
    host::Propellant* a = t.addTank(1000);
    host::Propellant* b = t.addTank(500);
    host::Thruster* th = t.addThruster(_V(0, 0, 0), _V(0, 0, 1), 100, a, 3000);
    putInCircularOrbit(t, 300e3);

    VESSELSTATUS2::FUELSPEC fuel[] = {{1, 0.25}, {7, 0.5}};
    VESSELSTATUS2::THRUSTSPEC thrust[] = {{0, 0.75}};
    VESSELSTATUS2 s{};
    s.version = 2;
    t.vessel().GetStatusEx(&s);
    s.flag = VS_FUELRESET | VS_FUELLIST | VS_THRUSTLIST;
    s.nfuel = 2;
    s.fuel = fuel;
    s.nthruster = 1;
    s.thruster = thrust;
    t.vessel().DefSetStateEx(&s);
    EXPECT_EQ(a->mass, 0.0);
    EXPECT_EQ(b->mass, 125.0);
    EXPECT_EQ(th->level, 0.75);

    VESSELSTATUS2 out{};
    out.version = 2;
    out.flag = VS_FUELLIST;
    t.vessel().GetStatusEx(&out);
    ASSERT_EQ(out.nfuel, 2u);
    EXPECT_EQ(out.fuel[1].level, 0.25);
    delete[] out.fuel;
}

TEST(StateRecord, ValuesThatAreNotNumbersAreRefused) {
    TestVessel t;
    putInCircularOrbit(t, 300e3);
    const host::FlightState before = t.v().state;
    VESSELSTATUS2 s{};
    s.version = 2;
    t.vessel().GetStatusEx(&s);
    s.rpos.x = std::numeric_limits<double>::quiet_NaN();
    s.vrot.z = std::numeric_limits<double>::infinity();
    t.vessel().DefSetStateEx(&s);
    EXPECT_TRUE(sameState(before, t.v().state));
    double mjd = 55000;
    fly(t, 1, kFrame, mjd);
    EXPECT_TRUE(std::isfinite(t.vessel().GetAltitude()));
}

TEST(StateRecord, CentreOfMassShiftsMoveTheVesselOrItsParts) {
    TestVessel t;
    host::Thruster* th = t.addThruster(_V(0, 0, -20), _V(0, 0, 1), 100, t.addTank(10), 3000);
    putInCircularOrbit(t, 300e3);
    VECTOR3 origin0, engine0, origin1, engine1;
    t.vessel().Local2Rel(_V(0, 0, 0), origin0);
    t.vessel().Local2Rel(th->pos, engine0);

    // The centre of mass moves 10 m forward; the parts are placed anew by the module.
    t.vessel().ShiftCentreOfMass(_V(0, 0, 10));
    t.vessel().Local2Rel(_V(0, 0, 0), origin1);
    VECTOR3 forward;
    t.vessel().GlobalRot(_V(0, 0, 10), forward);
    EXPECT_LT(length(origin1 - origin0 - forward), 1e-6);

    // Moving the centre of gravity keeps every part where it is in space.
    t.vessel().ShiftCG(_V(0, 0, -11));
    t.vessel().Local2Rel(th->pos, engine1);
    t.vessel().GlobalRot(_V(0, 0, 10), forward);
    EXPECT_LT(length(engine1 - (engine0 + forward)), 1e-6);
    EXPECT_EQ(th->pos.z, -9.0);
}
