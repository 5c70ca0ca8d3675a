#include "AimPlanner.h"

#include <cmath>

namespace tarviksim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180;

// The numbers the autopilot computes its launch azimuth with.
constexpr double kAzimuthEarthRadius = 6378165;    // [m]
constexpr double kAzimuthSiderealDay = 86164.091;  // [s]
constexpr double kAzimuthMu = 6.67259e-11 * 5.973698968e24;
constexpr double kSurfaceSpeedTerm = 465;  // [m/s]

// The heading the autopilot flies for an inertial azimuth, before its bias
// [deg]: the azimuth less the Earth's turning under it.
double headingFor(double latitudeDeg, double betaDeg, double altitudeKm) {
    const double phi = latitudeDeg * kRad;
    const double beta = betaDeg * kRad;
    const double surfaceSpeed = std::cos(phi) * (2 * kPi / kAzimuthSiderealDay) * kAzimuthEarthRadius;
    const double orbitalSpeed = std::sqrt(kAzimuthMu / (kAzimuthEarthRadius + 1000 * altitudeKm));
    const double north = orbitalSpeed * std::cos(beta);
    const double east = orbitalSpeed * std::sin(beta) - surfaceSpeed;
    const double d = std::hypot(north, east);
    return std::atan((d * std::sin(beta) - kSurfaceSpeedTerm * std::cos(phi)) / (d * std::cos(beta))) / kRad;
}

}  // namespace

double roundedTo(double value, double resolution) {
    const double r = std::round(value / resolution) * resolution;
    return r == 0 ? 0.0 : r;
}

double secantStep(const std::vector<AimSample>& samples, double slope, double maxStep) {
    if (samples.empty())
        return 0;
    const AimSample& last = samples.back();
    double used = slope;
    if (samples.size() >= 2) {
        const AimSample& before = samples[samples.size() - 2];
        const double run = last.input - before.input;
        const double secant = run != 0 ? (last.error - before.error) / run : 0;
        if (std::isfinite(secant) && secant != 0 && (secant > 0) == (slope > 0))
            used = secant;
    }
    double step = used != 0 ? -last.error / used : 0;
    if (!std::isfinite(step))
        step = 0;
    step = std::fmax(-maxStep, std::fmin(maxStep, step));
    return last.input + step;
}

double crossingAzimuth(double inclinationDeg, double latitudeDeg) {
    const double ratio = std::cos(inclinationDeg * kRad) / std::cos(latitudeDeg * kRad);
    return std::asin(std::fmax(-1.0, std::fmin(1.0, ratio))) / kRad;
}

double azimuthPerCorrection(const AimGeometry& g, double inclinationDeg) {
    // The heading's turn with beta, over a hundredth of a degree each way.
    const double beta = crossingAzimuth(inclinationDeg, g.latitude);
    constexpr double h = 0.01;
    const double turn = (headingFor(g.latitude, beta + h, g.altitude) - headingFor(g.latitude, beta - h, g.altitude)) /
                        (2 * h);
    const double perCorrection = turn != 0 ? 1 / turn : 0;
    // Beyond reason (at the edge of the geometry): one for one.
    return std::isfinite(perCorrection) && perCorrection > 0.5 && perCorrection < 2 ? perCorrection : 1.0;
}

double effectiveLatitude(double latitudeDeg, const std::vector<double>& inclinations) {
    double latitude = std::fabs(latitudeDeg);
    for (double i : inclinations) {
        const double reach = std::fmin(i, 180 - i);  // the latitude the orbit reaches
        latitude = std::fmin(latitude, reach - kLatitudeMargin);
    }
    return std::fmax(0.0, latitude);
}

AimStep nextCorrection(const std::vector<AimedFlight>& flights, double target, const AimGeometry& g,
                       const AimRule& rule) {
    AimStep s;
    if (flights.empty())
        return s;
    const AimedFlight& last = flights.back();
    if (!last.complete) {
        s.stop = AimStop::NotComplete;
        return s;
    }
    if (std::fabs(last.finalInclination - target) <= rule.tolerance + 1e-9) {
        s.stop = AimStop::Within;
        return s;
    }
    if (static_cast<int>(flights.size()) >= rule.maxFlights) {
        s.stop = AimStop::FlightsUsed;
        return s;
    }
    if (!last.cutoffInclination) {
        s.stop = AimStop::NoCutoff;
        return s;
    }

    std::vector<double> measured;
    for (const AimedFlight& f : flights)
        if (f.complete && f.cutoffInclination)
            measured.insert(measured.end(), {*f.cutoffInclination, f.finalInclination});
    if (measured.size() >= 4) {  // two flights
        const AimedFlight* a = nullptr;
        for (size_t i = flights.size() - 1; i-- > 0;)
            if (flights[i].complete && flights[i].cutoffInclination) {
                a = &flights[i];
                break;
            }
        // Half a degree of correction that moves the cut-off inclination by
        // less than the dialog shows: the target is beyond what it reaches.
        if (a && std::fabs(last.correction - a->correction) >= 0.5 &&
            std::fabs(*last.cutoffInclination - *a->cutoffInclination) < 0.005) {
            s.stop = AimStop::NoResponse;
            return s;
        }
    }

    // What the inclination did after the latest cut-off that was on target.
    double cutoffTarget = target;
    for (size_t i = flights.size(); i-- > 0;) {
        const AimedFlight& f = flights[i];
        if (f.complete && f.cutoffInclination && std::fabs(*f.cutoffInclination - target) <= kNearTarget) {
            cutoffTarget = target - (f.finalInclination - *f.cutoffInclination);
            break;
        }
    }
    measured.push_back(cutoffTarget);

    const double latitude = effectiveLatitude(g.latitude, measured);
    const double wanted = crossingAzimuth(cutoffTarget, latitude);
    std::vector<AimSample> samples;
    for (const AimedFlight& f : flights)
        if (f.complete && f.cutoffInclination)
            samples.push_back({f.correction, crossingAzimuth(*f.cutoffInclination, latitude) - wanted});
    const double slope = azimuthPerCorrection(g, target);

    auto flown = [&](double c) {
        for (const AimedFlight& f : flights)
            if (std::fabs(f.correction - c) < rule.resolution / 2)
                return true;
        return false;
    };
    double next = roundedTo(secantStep(samples, slope, rule.maxStep), rule.resolution);
    if (flown(next)) {
        // The secant asks for less than the field's resolution: one step of
        // it from the last flight, the way its error points, unless that
        // was flown too (the answer then lies between two flown values).
        const double toward = -samples.back().error / slope > 0 ? rule.resolution : -rule.resolution;
        next = roundedTo(last.correction + toward, rule.resolution);
        if (flown(next)) {
            s.stop = AimStop::FlownAlready;
            return s;
        }
    }
    s.nextCorrection = next;
    return s;
}

double nextLaunchTime(const std::vector<TimedFlight>& flights, double rate, double maxStep) {
    if (flights.empty())
        return 0;
    std::vector<AimSample> samples;
    for (const TimedFlight& f : flights)
        if (f.correction == flights.back().correction)
            samples.push_back({f.launchTime, f.nodeError});
    return secantStep(samples, rate, maxStep);
}

int chosenFlight(const std::vector<AimedFlight>& flights, double target, const AimRule& rule) {
    if (!flights.empty() && flights.back().complete &&
        std::fabs(flights.back().finalInclination - target) <= rule.tolerance + 1e-9)
        return static_cast<int>(flights.size()) - 1;
    int best = -1;
    for (size_t i = 0; i < flights.size(); ++i) {
        if (!flights[i].complete)
            continue;
        if (best < 0 || std::fabs(flights[i].finalInclination - target) <
                            std::fabs(flights[best].finalInclination - target))
            best = static_cast<int>(i);
    }
    return best;
}

}  // namespace tarviksim
