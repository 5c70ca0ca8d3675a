#include "FlightOutlook.h"

#include <algorithm>
#include <cmath>

namespace tarviksim {

namespace {

// Speed at radius r on an orbit whose other apsis is at `other`.
double apsisSpeed(double mu, double r, double other) {
    return std::sqrt(2 * mu * other / (r * (r + other)));
}

}  // namespace

double periapsisRaise(double mu, double apoapsis, double periapsis, double target) {
    if (periapsis >= target)
        return 0;
    if (apoapsis >= target)
        return apsisSpeed(mu, apoapsis, target) - apsisSpeed(mu, apoapsis, periapsis);
    // The apoapsis up to the target at the periapsis, then the circle there.
    return apsisSpeed(mu, periapsis, target) - apsisSpeed(mu, periapsis, apoapsis) + std::sqrt(mu / target) -
           apsisSpeed(mu, target, periapsis);
}

double deltaVLeft(double isp, double mass, double propellant) {
    if (!(propellant > 0) || !(mass > propellant) || !(isp > 0))
        return 0;
    return isp * std::log(mass / (mass - propellant));
}

double deltaVInPasses(int passes, double burn, double thrust, double flow, double mass, double propellant) {
    double total = 0;
    for (int i = 0; i < passes && propellant > 0; ++i) {
        const double used = std::min(flow * burn, propellant);
        const double time = flow > 0 ? used / flow : burn;
        // The lighter end of the burn: the most each second can give.
        total += thrust * time / (mass - used);
        mass -= used;
        propellant -= used;
    }
    return total;
}

int passesLeft(double timeLeft, double toApoapsis, double period) {
    if (!(timeLeft >= toApoapsis) || !(period > 0))
        return 0;
    return 1 + static_cast<int>(std::floor((timeLeft - toApoapsis) / period));
}

}  // namespace tarviksim
