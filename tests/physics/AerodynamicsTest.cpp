// Drag, rotational drag and the weathervane torque at one state, against
// values worked by hand from the standard atmosphere's density.
#include <gtest/gtest.h>

#include <cmath>

#include "physics/Aerodynamics.h"
#include "physics/Earth.h"

namespace {

using namespace host::physics;

constexpr double kAltitude = 10e3;

// Over the global x axis at 10 km, level (vessel frame = global frame),
// moving at `airspeed` relative to the air, which turns with the Earth.
host::FlightState inTheAir(const VECTOR3& airspeed, double altitude = kAltitude) {
    host::FlightState s;
    s.pos = _V(kEarthRadius + altitude, 0, 0);
    s.vel = corotationVelocity(s.pos) + airspeed;
    return s;
}

void expectNear(const VECTOR3& a, const VECTOR3& b, double tolerance) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

}  // namespace

TEST(Aerodynamics, DragIsTheDynamicPressureOnEachFaceWithItsCoefficient) {
    host::ClassCaps caps;
    caps.cw[0] = 0.3, caps.cw[1] = 0.5, caps.cw[2] = 1.1, caps.cw[3] = 1.3;
    caps.crossSections = _V(20, 30, 5);
    const double rho = atmosphereAt(kAltitude).density;
    const double q = 0.5 * rho * 260 * 260;

    // 260 m/s along (3, -4, 12) / 13: nose forward, so the z+ coefficient.
    const host::FlightState s = inTheAir(_V(3, -4, 12) * 20.0);
    const Airflow flow = airflowAt(s.pos, s.vel, s.R);
    EXPECT_NEAR(flow.speed, 260, 1e-6);
    const double forward = q * 0.5 * (20 * 1.1 * 3 / 13 + 30 * 1.3 * 4 / 13 + 5 * 0.3 * 12 / 13);
    EXPECT_NEAR(dragMagnitude(caps, flow), forward, 1e-6 * forward);

    // Tail first: the z- coefficient.
    const host::FlightState back = inTheAir(_V(0, 0, -260));
    EXPECT_NEAR(dragMagnitude(caps, airflowAt(back.pos, back.vel, back.R)), q * 0.5 * 5 * 0.5, 1e-6 * q);

    // Above the atmosphere there is nothing to push against.
    const host::FlightState space = inTheAir(_V(0, 0, 260), kAtmosphereTop + 1);
    EXPECT_EQ(dragMagnitude(caps, airflowAt(space.pos, space.vel, space.R)), 0);
    expectNear(dragVelocityChange(caps, space, 1000, 10), _V(0, 0, 0), 0);
}

TEST(Aerodynamics, DragSlowsAgainstTheAirAndNeverReversesIt) {
    host::ClassCaps caps;
    caps.crossSections = _V(10, 10, 10);
    const host::FlightState s = inTheAir(_V(0, 0, 200));
    const double drag = dragMagnitude(caps, airflowAt(s.pos, s.vel, s.R));
    const double mass = 2000;

    // A short step: F / m h against the airflow.
    const double h = 1e-3;
    const VECTOR3 small = dragVelocityChange(caps, s, mass, h);
    expectNear(small, _V(0, 0, drag / mass * h), 1e-4 * drag / mass * h);

    // However long the step, the vessel at most comes to rest in the air.
    const VECTOR3 large = dragVelocityChange(caps, s, mass, 1e6);
    EXPECT_LT(large.z, 200);
    EXPECT_GT(large.z, 199);
    EXPECT_NEAR(large.x, 0, 1e-9);
    EXPECT_NEAR(large.y, 0, 1e-9);
}

TEST(Aerodynamics, RotationalDragDampsEachAxisByItsCoefficientOverItsInertia) {
    host::ClassCaps caps;
    caps.size = 10;
    caps.rotDrag = _V(0.5, 0.7, 0.1);
    const VECTOR3 pmi = _V(4, 5, 6);
    const double rho = atmosphereAt(kAltitude).density;

    const host::FlightState s = inTheAir(_V(0, 0, 100));
    const Airflow flow = airflowAt(s.pos, s.vel, s.R);
    expectNear(rotationalDampingRate(caps, pmi, flow), _V(10 * rho * 0.5 / 4, 10 * rho * 0.7 / 5, 10 * rho * 0.1 / 6),
               1e-12);

    // In the air the damping pulls toward the Earth's rotation; above it
    // nothing acts.
    const AirTurning air = airTurning(caps, s, pmi, true);
    expectNear(air.airRate, _V(0, kEarthRotationRate, 0), 1e-18);
    EXPECT_GT(air.damping.x, 0);
    const AirTurning none = airTurning(caps, s, pmi, false);
    expectNear(none.damping, _V(0, 0, 0), 0);
    expectNear(none.airRate, _V(0, 0, 0), 0);
}

TEST(Aerodynamics, WeathervaneTurnsTheNoseIntoTheAirflow) {
    host::ClassCaps caps;
    caps.size = 4;
    caps.crossSections = _V(12, 15, 3);
    caps.pitchMomentScale = 0.002;
    caps.yawMomentScale = 0.003;
    const double a = 10 * RAD, v = 150;
    const double q = 0.5 * atmosphereAt(kAltitude).density * v * v;

    // Nose 10 degrees above the flight path: pitched down (negative x).
    const host::FlightState nose = inTheAir(_V(0, -std::sin(a), std::cos(a)) * v);
    const VECTOR3 pitch = weathervaneTorque(caps, airflowAt(nose.pos, nose.vel, nose.R));
    EXPECT_NEAR(pitch.x, -0.002 * q * 4 * 15 * std::sin(a), 1e-6 * q);
    EXPECT_NEAR(pitch.y, 0, 1e-6 * q);

    // Flight path 10 degrees right of the nose: turned right (negative y).
    const host::FlightState slip = inTheAir(_V(std::sin(a), 0, std::cos(a)) * v);
    const VECTOR3 yaw = weathervaneTorque(caps, airflowAt(slip.pos, slip.vel, slip.R));
    EXPECT_NEAR(yaw.y, -0.003 * q * 4 * 12 * std::sin(a), 1e-6 * q);
    EXPECT_NEAR(yaw.x, 0, 1e-6 * q);

    // A vessel without moment scales is not turned.
    caps.pitchMomentScale = caps.yawMomentScale = 0;
    expectNear(weathervaneTorque(caps, airflowAt(nose.pos, nose.vel, nose.R)), _V(0, 0, 0), 0);
}
