#include "Navmodes.h"

#include <algorithm>
#include <cmath>

#include "Orbit.h"
#include "Propulsion.h"
#include "../sim/ThrusterLevels.h"

namespace host::physics {

namespace {

constexpr double kMaxTurnRate = 0.2;    // [rad/s] while swinging toward a target
constexpr double kAlignmentGain = 0.5;  // [1/s] turn rate per radian of error near the target

int bit(int mode) {
    return 1 << mode;
}

// The pair of groups that turn the vessel about one axis.
struct AxisGroups {
    THGROUP_TYPE positive, negative;
};
constexpr AxisGroups kAxes[3] = {
    {THGROUP_ATT_PITCHUP, THGROUP_ATT_PITCHDOWN},   // x
    {THGROUP_ATT_YAWLEFT, THGROUP_ATT_YAWRIGHT},    // y
    {THGROUP_ATT_BANKRIGHT, THGROUP_ATT_BANKLEFT},  // z
};

void addGroupLevel(VesselData& v, THGROUP_TYPE type, double level) {
    if (ThrusterGroup* g = v.group(type))
        for (Thruster* t : g->thrusters)
            addSingleStepLevel(v, *t, level);
}

// Turn rate that brings an angular error to zero without overshoot: the
// deceleration it needs stays within half of what the thrusters give, and
// within what a step of dt can follow.
double rateToward(double error, double accel, double dt) {
    if (accel <= 0)
        return 0;
    const double gain = std::min(kAlignmentGain, 0.4 / dt);
    const double size = std::min({kMaxTurnRate, std::sqrt(accel * std::fabs(error)), gain * std::fabs(error)});
    return error < 0 ? -size : size;
}

// Direction the nose should take, in global coordinates; false when the mode
// has none.
bool targetDirection(const FlightState& s, int modes, VECTOR3& dir) {
    const double speed = length(s.vel);
    if (speed <= 0)
        return false;
    if (modes & bit(NAVMODE_PROGRADE))
        dir = s.vel / speed;
    else if (modes & bit(NAVMODE_RETROGRADE))
        dir = -s.vel / speed;
    else if (modes & bit(NAVMODE_NORMAL))
        dir = orbitNormal(s.pos, s.vel);
    else if (modes & bit(NAVMODE_ANTINORMAL))
        dir = -orbitNormal(s.pos, s.vel);
    else
        return false;
    return true;
}

}  // namespace

bool isSteeringMode(int mode) {
    return mode == NAVMODE_KILLROT || mode == NAVMODE_PROGRADE || mode == NAVMODE_RETROGRADE ||
           mode == NAVMODE_NORMAL || mode == NAVMODE_ANTINORMAL;
}

bool navmodeActive(const FlightState& s, int mode) {
    return isSteeringMode(mode) && (s.navmodes & bit(mode)) != 0;
}

bool activateNavmode(FlightState& s, int mode) {
    if (!isSteeringMode(mode))
        return false;
    s.navmodes = bit(mode);
    return true;
}

bool deactivateNavmode(FlightState& s, int mode) {
    if (!navmodeActive(s, mode))
        return false;
    s.navmodes &= ~bit(mode);
    return true;
}

void holdNavmodesOnGround(FlightState& s) {
    s.navmodes &= ~bit(NAVMODE_KILLROT);
}

void steerByNavmodes(VesselData& v, double pressure, double dt) {
    FlightState& s = v.state;
    if (s.navmodes == 0 || !(dt > 0))
        return;
    if (s.landed) {
        holdNavmodesOnGround(s);
        return;
    }
    if ((s.navmodes & bit(NAVMODE_KILLROT)) && length(s.omega) < kKillRotationDone) {
        s.navmodes &= ~bit(NAVMODE_KILLROT);
        return;
    }

    // Wanted angular velocity: zero, or a turn of the nose (+z) toward the target.
    VECTOR3 wanted{};
    VECTOR3 dir;
    if (!(s.navmodes & bit(NAVMODE_KILLROT)) && targetDirection(s, s.navmodes, dir)) {
        const VECTOR3 d = tmul(s.R, dir);
        const double side = std::hypot(d.x, d.y);
        const double angle = std::atan2(side, d.z);
        // +wx swings the nose toward +y, +wy toward -x.
        const VECTOR3 error = side > 0 ? _V(angle * d.y / side, -angle * d.x / side, 0) : _V(d.z < 0 ? PI : 0, 0, 0);
        wanted = error;  // replaced per axis below by the turn rate
        for (int axis = 0; axis < 2; ++axis) {
            const VECTOR3 torque =
                groupTorque(v, error.data[axis] >= 0 ? kAxes[axis].positive : kAxes[axis].negative, pressure);
            const double inertia = v.mass() * v.pmi().data[axis];
            const double accel = inertia > 0 ? std::fabs(torque.data[axis]) / inertia : 0;
            wanted.data[axis] = rateToward(error.data[axis], accel, dt);
        }
    }

    const double mass = v.mass();
    const VECTOR3 pmi = v.pmi();
    for (int axis = 0; axis < 3; ++axis) {
        const double change = wanted.data[axis] - s.omega.data[axis];
        const THGROUP_TYPE type = change >= 0 ? kAxes[axis].positive : kAxes[axis].negative;
        const double torque = groupTorque(v, type, pressure).data[axis];
        const double inertia = mass * pmi.data[axis];
        // Only a group that turns the right way helps.
        if (inertia <= 0 || torque * change <= 0)
            continue;
        const double level = std::min(1.0, change * inertia / (torque * dt));
        addGroupLevel(v, type, level);
    }
}

}  // namespace host::physics
