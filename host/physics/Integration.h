// Free flight, kick-drift-kick: the forces other than gravity act as kicks
// around each drift along the gravity model's free path, and the attitude
// turns in the middle of each sub-step. The sub-steps are sized by the orbit
// and the rotation, never by wall time. The integrator knows no model itself:
// the step hands it the loads to sample (see Physics.cpp).
#pragma once

#include "../sim/VesselData.h"

namespace host::physics {

// What acts on a free vessel during one step, as the integrator samples it.
class FlightLoads {
public:
    // Whether forces besides gravity may act in the step; the sub-steps are
    // then short against the orbit.
    virtual bool forced() const = 0;

    // Velocity change over h seconds from the forces besides gravity, at the
    // state s and the given mass, global frame.
    virtual VECTOR3 kick(const FlightState& s, double mass, double h) const = 0;

    // Torque [N m], rotational damping rate [1/s] and the rotation the damping
    // pulls toward [rad/s] at the state s, vessel frame, for moments of
    // inertia per unit mass pmi.
    struct Turning {
        VECTOR3 torque{}, damping{}, target{};
    };
    virtual Turning turning(const FlightState& s, const VECTOR3& pmi) const = 0;

    // Moves (pos, vel) along the path gravity alone gives over h seconds.
    virtual void drift(VECTOR3& pos, VECTOR3& vel, double h) const = 0;

protected:
    ~FlightLoads() = default;
};

// Number of sub-steps for a step of dt seconds.
int substepCount(const FlightState& s, bool forced, double dt);

// Flies a free vessel over dt seconds under the loads. massStart and massEnd
// bracket the propellant burnt in the step.
void fly(VesselData& v, const FlightLoads& loads, double massStart, double massEnd, double dt);

}  // namespace host::physics
