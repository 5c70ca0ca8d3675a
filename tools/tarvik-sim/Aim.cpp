#include "Aim.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>

#include "Plots.h"
#include "physics/Earth.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

// How fast a later launch moves the ascending node east: the Earth's turn [deg/s].
constexpr double kEarthRateDeg = host::physics::kEarthRotationRate * 180 / 3.14159265358979323846;

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-')
        s.erase(0, 1);
    return s;
}

AimFlight flightRecord(int number, const FlightReport& r) {
    AimFlight f;
    f.number = number;
    f.correction = r.correction;
    f.outcome = outcomeName(r.outcome);
    f.cutoffInclination = r.cutoffInclination;
    f.inclination = r.inclination;
    f.apoapsis = r.apoapsis;
    f.periapsis = r.periapsis;
    f.propellant = r.propellant;
    if (r.plane) {
        f.launchTime = r.plane->launchTime;
        if (std::isfinite(r.plane->ascendingNode))
            f.ascendingNode = r.plane->ascendingNode;
        if (std::isfinite(r.plane->relativeInclination))
            f.relativeInclination = r.plane->relativeInclination;
    }
    f.root = r.root;
    return f;
}

bool planeWithin(const FlightReport& r) {
    return r.plane && std::isfinite(r.plane->relativeInclination) &&
           r.plane->relativeInclination <= kPlaneTolerance + 1e-9;
}

// Why the flights stopped, for a person.
std::string stopReason(AimStop stop, const std::vector<FlightReport>& flights, const AimedFlight& last, double target,
                       const AimRule& rule, const std::vector<AimedFlight>& aimed) {
    const FlightReport& r = flights.back();
    const std::string within = "within " + fixed(rule.tolerance, 2) + " deg of " + fixed(target, 2);
    switch (stop) {
        case AimStop::Within:
            return "the inclination " + within;
        case AimStop::NotComplete:
            return "flight " + std::to_string(flights.size()) + " did not complete (" + outcomeName(r.outcome) + ": " +
                   r.reason + ")";
        case AimStop::NoCutoff:
            return "flight " + std::to_string(flights.size()) + " showed no cut-off to aim with";
        case AimStop::FlightsUsed: {
            return "not " + within + " after " + std::to_string(flights.size()) + " flights";
        }
        case AimStop::FlownAlready:
            return "not " + within + ": the next correction the secant asks for was flown already, at the "
                   "field's resolution of " + fixed(rule.resolution, 2) + " deg";
        case AimStop::NoResponse: {
            const AimedFlight& before = aimed[aimed.size() - 2];
            return "out of reach: the cut-off inclination does not follow the correction (" +
                   fixed(*before.cutoffInclination, 3) + " deg at " + fixed(before.correction, 2) + ", " +
                   fixed(*last.cutoffInclination, 3) + " deg at " + fixed(last.correction, 2) + ")";
        }
        case AimStop::None:
            break;
    }
    return "";
}

}  // namespace

FlightReport flyAimed(const FlyOptions& o, std::ostream& warnings, std::ostream* progress, const AimRule& rule) {
    const CheckedMission checked = checkMission(o.mission, o.dataDir);
    const fs::path root = o.rootDir;
    std::error_code ec;
    fs::create_directories(root, ec);
    fs::remove(root / "report.json", ec);  // an aim that does not finish leaves no report of an earlier one

    std::vector<FlightReport> flights;
    std::vector<AimedFlight> aimed;
    std::vector<TimedFlight> timed;
    std::optional<double> correction = o.mission.correctionDeg;
    std::optional<LaunchPlan> plan = o.plan;
    AimStop stop = AimStop::None;
    AimGeometry geometry;
    double target = checked.mission.inclinationDeg;

    for (int n = 1;; ++n) {
        FlyOptions f = o;
        f.rootDir = (root / ("flight-" + std::to_string(n))).string();
        f.plots = false;
        f.mission.correctionDeg = correction;
        f.plan = plan;
        if (progress) {
            *progress << "tarvik-sim: aim: flight " << n << " of at most " << rule.maxFlights << ", correction "
                      << fixed(correction.value_or(0), 2) << " deg";
            if (plan)
                *progress << ", LAUNCH at " << fixed(plan->launchTime, 2) << " s";
            *progress << '\n' << std::flush;
        }
        flights.push_back(flyMission(f, warnings, progress));
        const FlightReport& r = flights.back();
        if (n == 1) {
            // What the autopilot flies to, as its dialog had it (the orbit list's copy for a target).
            target = r.targetInclination;
            geometry = {checked.padLatitudeDeg, r.targetAltitude};
        }
        AimedFlight a;
        a.correction = correction.value_or(0);
        a.complete = r.outcome == Outcome::Complete;
        a.cutoffInclination = r.cutoffInclination;
        a.finalInclination = r.inclination;
        aimed.push_back(a);
        if (progress)
            *progress << "tarvik-sim: aim: flight " << n << ": " << outcomeName(r.outcome) << ", inclination "
                      << (r.cutoffInclination ? fixed(*r.cutoffInclination, 3) : std::string("-")) << " deg at cut-off, "
                      << fixed(r.inclination, 3) << " deg at the end"
                      << (r.plane ? ", " + fixed(r.plane->relativeInclination, 3) + " deg from the plane" : std::string())
                      << '\n' << std::flush;

        const AimStep step = nextCorrection(aimed, target, geometry, rule);
        if (!plan) {
            if (step.stop != AimStop::None) {
                stop = step.stop;
                break;
            }
            correction = step.nextCorrection;
            continue;
        }

        // A launch into a plane: the correction for the inclination, the
        // moment of LAUNCH for the node.
        const bool reachedPlane = r.plane && std::isfinite(r.plane->ascendingNode);
        if (reachedPlane)
            timed.push_back({r.plane->launchTime, a.correction,
                             wrappedDegrees(r.plane->ascendingNode - r.plane->targetPlane.ascendingNode)});
        if (step.stop == AimStop::NotComplete || step.stop == AimStop::NoCutoff) {
            stop = step.stop;
            break;
        }
        if (!reachedPlane) {
            stop = AimStop::NoCutoff;
            break;
        }
        if (step.stop == AimStop::Within && planeWithin(r)) {
            stop = AimStop::Within;
            break;
        }
        if (n >= rule.maxFlights) {
            stop = AimStop::FlightsUsed;
            break;
        }
        if (step.stop == AimStop::None)
            correction = step.nextCorrection;
        const double launch =
            std::fmax(kEarliestLaunch, std::round(nextLaunchTime(timed, kEarthRateDeg) * 100) / 100);
        if (step.stop != AimStop::None && launch == plan->launchTime) {
            stop = AimStop::FlownAlready;
            break;
        }
        plan->launchTime = launch;
    }

    // The flight kept, and what it tells the pilot.
    int chosen = -1;
    if (plan) {
        for (size_t i = 0; i < flights.size(); ++i) {
            const FlightReport& r = flights[i];
            if (r.outcome != Outcome::Complete || !r.plane || !std::isfinite(r.plane->relativeInclination))
                continue;
            if (chosen < 0 || r.plane->relativeInclination < flights[chosen].plane->relativeInclination)
                chosen = static_cast<int>(i);
        }
    } else {
        chosen = chosenFlight(aimed, target, rule);
    }

    AimRecord rec;
    rec.tolerance = rule.tolerance;
    for (size_t i = 0; i < flights.size(); ++i)
        rec.flights.push_back(flightRecord(static_cast<int>(i) + 1, flights[i]));
    rec.chosen = chosen + 1;
    const FlightReport* kept = chosen >= 0 ? &flights[chosen] : nullptr;
    const bool inclinationWithin = kept && std::fabs(kept->inclination - target) <= rule.tolerance + 1e-9;
    rec.within = inclinationWithin && (!plan || planeWithin(*kept));
    rec.stop = stop == AimStop::Within ? "within"
               : stop == AimStop::NotComplete ? "not complete"
               : stop == AimStop::NoCutoff    ? "no cut-off"
               : stop == AimStop::FlightsUsed ? "flights used"
               : stop == AimStop::FlownAlready ? "flown already"
                                               : "out of reach";
    rec.reason = stopReason(stop, flights, aimed.back(), target, rule, aimed);
    if (plan && stop == AimStop::FlightsUsed && inclinationWithin)
        rec.reason = "not within " + fixed(kPlaneTolerance, 2) + " deg of the plane after " +
                     std::to_string(flights.size()) + " flights";
    if (plan && kept)
        rec.reason += "; the plane reached lies " + fixed(kept->plane->relativeInclination, 3) +
                      " deg from the target's";
    if (!rec.within && kept)
        rec.reason += "; flight " + std::to_string(chosen + 1) + " came closest, " +
                      fixed(kept->inclination - target, 3) + " deg off";
    if (kept)
        rec.correctionText = fixed(kept->correction.value_or(0), 2);

    FlightReport report = kept ? *kept : flights.back();
    if (kept && o.plots) {
        PlotInput in;
        in.dir = (fs::path(kept->root) / "plots").string();
        in.within = kept->root;
        in.telemetry = (fs::path(kept->root) / "telemetry.csv").string();
        in.report = &report;
        report.plots = writePlots(in, warnings);
        writeReportFile(report, (fs::path(kept->root) / "report.json").string(), kept->root);
    }
    report.aim = rec;
    writeReportFile(report, (root / "report.json").string(), root.string());
    return report;
}

}  // namespace tarviksim
