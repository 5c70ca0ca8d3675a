#include "Integration.h"

#include <algorithm>
#include <cmath>

#include "Aerodynamics.h"
#include "Attitude.h"
#include "Earth.h"
#include "Frames.h"
#include "Gravity.h"

namespace host::physics {

namespace {

constexpr int kMaxSubsteps = 4096;
constexpr double kStepsPerOrbitRadian = 40;  // sub-step <= sqrt(r^3/mu) / this when forces act
constexpr double kMaxTurnPerSubstep = 0.05;  // [rad]

// Stumpff functions C(z) and S(z), by series near zero where the closed forms
// lose their digits.
void stumpff(double z, double& c, double& s) {
    if (std::fabs(z) < 0.1) {
        c = 1.0 / 2 - z * (1.0 / 24 - z * (1.0 / 720 - z * (1.0 / 40320 - z * (1.0 / 3628800 - z / 479001600.0))));
        s = 1.0 / 6 - z * (1.0 / 120 - z * (1.0 / 5040 - z * (1.0 / 362880 - z * (1.0 / 39916800 - z / 6227020800.0))));
    } else if (z > 0) {
        const double q = std::sqrt(z);
        c = (1 - std::cos(q)) / z;
        s = (q - std::sin(q)) / (z * q);
    } else {
        const double q = std::sqrt(-z);
        c = (std::cosh(q) - 1) / -z;
        s = (std::sinh(q) - q) / (-z * q);
    }
}

}  // namespace

void keplerDrift(VECTOR3& pos, VECTOR3& vel, double h) {
    const double r0 = length(pos);
    if (r0 < 1e-3 * kEarthRadius) {  // deep inside the Earth gravity has no conic; move straight
        pos += vel * h;
        return;
    }
    const double mu = kEarthMu, sqrtMu = std::sqrt(mu);
    const double vr0 = dotp(pos, vel) / r0;
    const double alpha = 2 / r0 - dotp(vel, vel) / mu;

    // Solve the universal Kepler equation for chi by Newton's method.
    double chi = sqrtMu * h / r0;
    double c = 0.5, s = 1.0 / 6, z = 0;
    for (int i = 0; i < 50; ++i) {
        z = alpha * chi * chi;
        stumpff(z, c, s);
        const double chi2 = chi * chi;
        const double f = r0 * vr0 / sqrtMu * chi2 * c + (1 - alpha * r0) * chi2 * chi * s + r0 * chi - sqrtMu * h;
        const double df = r0 * vr0 / sqrtMu * chi * (1 - z * s) + (1 - alpha * r0) * chi2 * c + r0;
        const double delta = f / df;
        chi -= delta;
        if (std::fabs(delta) <= 1e-15 * std::fabs(chi))
            break;
    }
    z = alpha * chi * chi;
    stumpff(z, c, s);
    const double chi2 = chi * chi;
    // Lagrange coefficients, written as increments to keep the digits of small steps.
    const double fm1 = -chi2 / r0 * c;
    const double g = h - chi2 * chi * s / sqrtMu;
    const VECTOR3 p1 = pos + pos * fm1 + vel * g;
    const double r1 = length(p1);
    const double fdot = sqrtMu / (r1 * r0) * (z * s - 1) * chi;
    const double gdm1 = -chi2 / r1 * c;
    vel = vel + pos * fdot + vel * gdm1;
    pos = p1;
}

int substepCount(const FlightState& s, bool forced, double dt) {
    double n = 1;
    if (forced) {
        const double r = length(s.pos);
        const double orbitTime = std::sqrt(r * r * r / kEarthMu) / kStepsPerOrbitRadian;
        if (orbitTime > 0)
            n = std::max(n, std::ceil(dt / orbitTime));
    }
    n = std::max(n, std::ceil(length(s.omega) * dt / kMaxTurnPerSubstep));
    return static_cast<int>(std::min<double>(n, kMaxSubsteps));
}

namespace {

// Non-gravitational velocity change over h seconds: thrust as given, drag
// implicitly so that a long step cannot reverse the airflow.
VECTOR3 kick(const VesselData& v, const VECTOR3& thrustGlobal, double mass, double h) {
    const FlightState& s = v.state;
    VECTOR3 dv = thrustGlobal * (h / mass);
    const Airflow flow = airflowAt(s.pos, s.vel, s.R);
    const double drag = dragMagnitude(v.caps, flow);
    if (drag > 0) {
        const double k = drag / (mass * flow.speed);  // [1/s]
        const VECTOR3 air = s.vel - corotationVelocity(s.pos);
        dv -= air * (k * h / (1 + k * h));
    }
    return dv;
}

}  // namespace

void fly(VesselData& v, const PropulsionLoads& thrust, double massStart, double massEnd, double dt) {
    FlightState& s = v.state;
    const bool inAir = altitudeOf(s.pos) < kAtmosphereTop;
    const int n = substepCount(s, thrust.active || inAir, dt);
    const double h = dt / n;
    const VECTOR3 pmi = v.pmi();
    const VECTOR3 safePmi = _V(std::max(pmi.x, 1e-6), std::max(pmi.y, 1e-6), std::max(pmi.z, 1e-6));
    auto massAt = [&](double t) { return std::max(massStart + (massEnd - massStart) * (t / dt), 1e-6); };

    for (int i = 0; i < n; ++i) {
        const double t0 = i * h, tm = t0 + h / 2, t1 = t0 + h;
        s.vel += kick(v, mul(s.R, thrust.force), massAt(t0), h / 2);
        keplerDrift(s.pos, s.vel, h);

        const double m = massAt(tm);
        const Airflow flow = inAir ? airflowAt(s.pos, s.vel, s.R) : Airflow{};
        const VECTOR3 torque = thrust.torque + weathervaneTorque(v.caps, flow);
        // The air turns with the Earth; its drag damps rotation relative to it.
        const VECTOR3 airRate = inAir ? bodyRate(s.R, earthSpin()) : _V(0, 0, 0);
        advanceAttitude(s.R, s.omega, torque, safePmi * m, rotationalDampingRate(v.caps, safePmi, flow), airRate, h);

        s.vel += kick(v, mul(s.R, thrust.force), massAt(t1), h / 2);
    }
    orthonormalise(s.R);
}

}  // namespace host::physics
