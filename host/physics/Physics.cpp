// The physics step: each vessel in turn, the models in their fixed order.
#include "Physics.h"

#include "Aerodynamics.h"
#include "Atmosphere.h"
#include "Earth.h"
#include "Gravity.h"
#include "Ground.h"
#include "Integration.h"
#include "Navmodes.h"
#include "Propulsion.h"

namespace host::physics {

namespace {

// The loads of one free vessel over one step, as the models give them:
// propulsion (its force and torque fixed for the step), aerodynamics (drag,
// weathervane torque and rotational damping at each state the integrator
// samples) and gravity (the free path between the kicks).
class VesselLoads final : public FlightLoads {
public:
    VesselLoads(const VesselData& v, const PropulsionLoads& thrust, bool inAir)
        : v_(v), thrust_(thrust), inAir_(inAir) {}

    bool forced() const override { return thrust_.active || inAir_; }

    VECTOR3 kick(const FlightState& s, double mass, double h) const override {
        const VECTOR3 thrust = mul(s.R, thrust_.force) * (h / mass);
        return thrust - dragVelocityChange(v_.caps, s, mass, h);
    }

    Turning turning(const FlightState& s, const VECTOR3& pmi) const override {
        const AirTurning air = airTurning(v_.caps, s, pmi, inAir_);
        return Turning{thrust_.torque + air.torque, air.damping, air.airRate};
    }

    void drift(VECTOR3& pos, VECTOR3& vel, double h) const override { keplerDrift(pos, vel, h); }

private:
    const VesselData& v_;
    const PropulsionLoads& thrust_;
    bool inAir_;
};

// The Earth's rotation angle at the end of the step, found once for all the
// vessels standing on the ground.
class EarthTurn {
public:
    explicit EarthTurn(double mjd) : mjd_(mjd) {}
    double angle() {
        if (!known_) {
            angle_ = rotationAngle(mjd_);
            known_ = true;
        }
        return angle_;
    }

private:
    double mjd_;
    double angle_ = 0;
    bool known_ = false;
};

void stepVessel(VesselData& v, double dt, double mjdEnd, EarthTurn& turn) {
    // A landed vessel no thruster pushes stays where it stands: neither
    // pressure, drag nor navigation modes move it, and gravity keeps it down.
    if (v.state.landed && !thrustAsked(v)) {
        holdNavmodesOnGround(v.state);
        idleThrusters(v);
        restOnGround(v, mjdEnd, turn.angle());
        return;
    }
    settleRest(v);  // it stands where the last step left it before anything moves it
    v.derived.resting = false;

    // Atmosphere: the ambient pressure at the start of the step sets the
    // engines' thrust for the whole of it.
    const double pressure = atmosphereAt(altitudeOf(v.state.pos)).pressure;
    steerByNavmodes(v, pressure, dt);

    // Propulsion: the thrusters burn their propellant.
    const double massStart = v.mass();
    const PropulsionLoads thrust = runThrusters(v, pressure, dt);
    const double massEnd = v.mass();

    if (!v.state.landed || holdOnGround(v, thrust, massStart, mjdEnd, turn.angle())) {
        // Propulsion, aerodynamics and gravity, integrated together.
        const bool inAir = altitudeOf(v.state.pos) < kAtmosphereTop;
        const VesselLoads loads(v, thrust, inAir);
        fly(v, loads, massStart, massEnd, dt);
        v.state.mjd = mjdEnd;
        // Ground contact.
        touchGround(v, mjdEnd);
    }
    clearSingleStepLevels(v);
}

}  // namespace

void step(const std::vector<VesselData*>& vessels, double simt, double dt, double mjd) {
    if (!(dt > 0))
        return;
    const double mjdEnd = mjd + dt / 86400.0;
    EarthTurn turn(mjdEnd);
    for (VesselData* v : vessels)
        if (v)
            stepVessel(*v, dt, mjdEnd, turn);
}

}  // namespace host::physics
