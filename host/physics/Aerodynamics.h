// Forces and torques of the air on a vessel: parasite drag against the
// airflow, rotational drag, and the weathervane torque of the pitch and yaw
// moment scales. The air turns with the Earth.
#pragma once

#include "../sim/VesselData.h"
#include "Atmosphere.h"

namespace host::physics {

struct Airflow {
    VECTOR3 velocity{};  // the vessel's velocity relative to the air, vessel frame [m/s]
    double speed = 0;    // [m/s]
    AtmosphereSample air;
    double dynamicPressure = 0;  // [Pa]
};

// The air a vessel meets at a global position and velocity.
Airflow airflowAt(const VECTOR3& pos, const VECTOR3& vel, const MATRIX3& R);

// Size of the drag force [N]; it acts against the airflow.
double dragMagnitude(const ClassCaps& caps, const Airflow& flow);

// Damping rate of the rotation about each axis [1/s]: rotational drag of
// size x mass x density x rotdrag x omega, divided by the moment of inertia.
VECTOR3 rotationalDampingRate(const ClassCaps& caps, const VECTOR3& pmi, const Airflow& flow);

// Torque that turns the nose into the airflow [N m], vessel frame.
VECTOR3 weathervaneTorque(const ClassCaps& caps, const Airflow& flow);

// Velocity change of a vessel of the given mass over h seconds from the drag
// at its state, global frame: applied implicitly, so that a long step cannot
// reverse the airflow. Zero outside the air.
VECTOR3 dragVelocityChange(const ClassCaps& caps, const FlightState& s, double mass, double h);

// How the air turns a vessel: the weathervane torque, the rotational damping
// rate for moments of inertia per unit mass pmi, and the rotation of the air
// (the Earth's) that the damping pulls toward, all in the vessel frame. A
// vessel above the atmosphere (inAir false) meets none of them.
struct AirTurning {
    VECTOR3 torque{};   // [N m]
    VECTOR3 damping{};  // [1/s]
    VECTOR3 airRate{};  // [rad/s]
};
AirTurning airTurning(const ClassCaps& caps, const FlightState& s, const VECTOR3& pmi, bool inAir);

}  // namespace host::physics
