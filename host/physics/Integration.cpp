#include "Integration.h"

#include <algorithm>
#include <cmath>

#include "Attitude.h"
#include "Earth.h"
#include "Frames.h"

namespace host::physics {

namespace {

constexpr int kMaxSubsteps = 4096;
constexpr double kStepsPerOrbitRadian = 40;  // sub-step <= sqrt(r^3/mu) / this when forces act
constexpr double kMaxTurnPerSubstep = 0.05;  // [rad]

}  // namespace

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

void fly(VesselData& v, const FlightLoads& loads, double massStart, double massEnd, double dt) {
    FlightState& s = v.state;
    const int n = substepCount(s, loads.forced(), dt);
    const double h = dt / n;
    const VECTOR3 pmi = v.pmi();
    const VECTOR3 safePmi = _V(std::max(pmi.x, 1e-6), std::max(pmi.y, 1e-6), std::max(pmi.z, 1e-6));
    auto massAt = [&](double t) { return std::max(massStart + (massEnd - massStart) * (t / dt), 1e-6); };

    for (int i = 0; i < n; ++i) {
        const double t0 = i * h, tm = t0 + h / 2, t1 = t0 + h;
        s.vel += loads.kick(s, massAt(t0), h / 2);
        loads.drift(s.pos, s.vel, h);

        const double m = massAt(tm);
        const FlightLoads::Turning turn = loads.turning(s, safePmi);
        const VECTOR3 inertia = safePmi * m;
        if (std::isfinite(inertia.x) && std::isfinite(inertia.y) && std::isfinite(inertia.z))
            advanceAttitude(s.R, s.omega, turn.torque, inertia, turn.damping, turn.target, h);
        else  // a mass so large that its inertia overflows: the same turn with the mass divided out
            advanceAttitude(s.R, s.omega, turn.torque / m, safePmi, turn.damping, turn.target, h);

        s.vel += loads.kick(s, massAt(t1), h / 2);
    }
    orthonormalise(s.R);
}

}  // namespace host::physics
