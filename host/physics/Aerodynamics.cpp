#include "Aerodynamics.h"

#include <cmath>

#include "Attitude.h"
#include "Earth.h"

namespace host::physics {

Airflow airflowAt(const VECTOR3& pos, const VECTOR3& vel, const MATRIX3& R) {
    Airflow f;
    f.air = atmosphereAt(altitudeOf(pos));
    if (f.air.density <= 0)
        return f;
    f.velocity = tmul(R, vel - corotationVelocity(pos));
    f.speed = length(f.velocity);
    f.dynamicPressure = 0.5 * f.air.density * f.speed * f.speed;
    return f;
}

double dragMagnitude(const ClassCaps& caps, const Airflow& flow) {
    if (flow.speed <= 0)
        return 0;
    const VECTOR3 d = flow.velocity / flow.speed;
    const double cwz = d.z >= 0 ? caps.cw[0] : caps.cw[1];
    return flow.dynamicPressure * (0.5 * caps.crossSections.x * caps.cw[2] * std::fabs(d.x) +
                                   0.5 * caps.crossSections.y * caps.cw[3] * std::fabs(d.y) +
                                   0.5 * caps.crossSections.z * cwz * std::fabs(d.z));
}

VECTOR3 rotationalDampingRate(const ClassCaps& caps, const VECTOR3& pmi, const Airflow& flow) {
    // Torque size x mass x rho x rotdrag x omega over inertia mass x pmi: the mass cancels.
    const double k = caps.size * flow.air.density;
    return _V(k * caps.rotDrag.x / pmi.x, k * caps.rotDrag.y / pmi.y, k * caps.rotDrag.z / pmi.z);
}

VECTOR3 weathervaneTorque(const ClassCaps& caps, const Airflow& flow) {
    if (flow.speed <= 0 || (caps.pitchMomentScale == 0 && caps.yawMomentScale == 0))
        return _V(0, 0, 0);
    const VECTOR3& v = flow.velocity;
    // Angle of attack: positive when the nose is above the flight path (the
    // airflow comes from below); slip: positive when the flight path lies to
    // the right of the nose.
    const double aoa = std::atan2(-v.y, v.z);
    const double slip = std::atan2(v.x, v.z);
    const double lever = flow.dynamicPressure * caps.size;
    // Pitching the nose down is a negative x rotation, turning it right a
    // negative y rotation.
    return _V(-caps.pitchMomentScale * lever * caps.crossSections.y * std::sin(aoa),
              -caps.yawMomentScale * lever * caps.crossSections.x * std::sin(slip), 0);
}

VECTOR3 dragVelocityChange(const ClassCaps& caps, const FlightState& s, double mass, double h) {
    const Airflow flow = airflowAt(s.pos, s.vel, s.R);
    const double drag = dragMagnitude(caps, flow);
    if (!(drag > 0))
        return _V(0, 0, 0);
    const double k = drag / (mass * flow.speed);  // [1/s]
    const VECTOR3 air = s.vel - corotationVelocity(s.pos);
    return air * (k * h / (1 + k * h));
}

AirTurning airTurning(const ClassCaps& caps, const FlightState& s, const VECTOR3& pmi, bool inAir) {
    const Airflow flow = inAir ? airflowAt(s.pos, s.vel, s.R) : Airflow{};
    AirTurning t;
    t.torque = weathervaneTorque(caps, flow);
    t.damping = rotationalDampingRate(caps, pmi, flow);
    // The air turns with the Earth; its drag damps rotation relative to it.
    t.airRate = inAir ? bodyRate(s.R, earthSpin()) : _V(0, 0, 0);
    return t;
}

}  // namespace host::physics
