// The arithmetic of aiming a mission through the autopilot dialog: a secant
// step on what each flight measured, the slope the launch geometry gives
// before there are two flights to draw a secant through, and the rule that
// says when to stop. Pure numbers: it flies nothing.
#pragma once

#include <optional>
#include <vector>

namespace tarviksim {

// One flight as the planner sees it: the input it was flown with and how far
// what it measured lay from what was wanted (measured - wanted).
struct AimSample {
    double input = 0;
    double error = 0;
};

// The input expected to bring the error to zero: a secant through the last
// two samples, or, with one sample, a step along `slope` (d error / d input).
// A secant that is flat, or that turns against `slope`, is not trusted and
// `slope` is used instead. No step is larger than `maxStep`.
double secantStep(const std::vector<AimSample>& samples, double slope, double maxStep);

// The launch geometry the secant measures in. An orbit of inclination I
// crosses the latitude phi heading at the inertial azimuth beta (from north,
// for the pass heading north): sin beta = cos I / cos phi. The "+/-"
// correction turns the launcher's heading, and so beta, about one for one
// (more correction, more easterly, less inclination, on either node), which
// makes the cut-off inclination, seen as its beta, close to a straight line
// in the correction even near a launch due east, where the inclination
// itself barely moves at first and then fast.
struct AimGeometry {
    double latitude = 0;  // deg, the pad's
    double altitude = 0;  // km, the target's
};

// beta for an inclination [deg], from the latitude given; the inclination
// is held to what reaches the latitude.
double crossingAzimuth(double inclinationDeg, double latitudeDeg);

// d beta / d correction [deg/deg] at the target: the inverse of how the
// heading the autopilot computes (over the turning Earth) follows beta.
double azimuthPerCorrection(const AimGeometry& g, double inclinationDeg);

// The latitude the launcher flies as if it had left from: the pad's, or
// just below the lowest inclination measured when a flight came out closer
// to the equator than the pad (a launch nearly due east drifts south) [deg].
double effectiveLatitude(double latitudeDeg, const std::vector<double>& inclinations);
inline constexpr double kLatitudeMargin = 0.05;  // deg below the lowest inclination measured

// When an aimed mission stops.
enum class AimStop {
    None,         // fly again with the next correction
    Within,       // the last flight ended within the tolerance
    NotComplete,  // the last flight did not complete (propellant, crash, ...)
    NoCutoff,     // the last flight gave no cut-off inclination to aim with
    FlightsUsed,  // the most flights were flown
    FlownAlready, // the correction asked for (at the field's resolution) was flown already
    NoResponse,   // the cut-off inclination does not follow the correction
};

struct AimRule {
    double tolerance = 0.01;   // deg: the final inclination against the target
    int maxFlights = 4;
    double resolution = 0.01;  // deg: the launch azimuth is kept with two decimals, so is the correction typed
    double maxStep = 10;       // deg of correction from one flight to the next
};

// One flight of an aimed mission, as the stopping rule reads it.
struct AimedFlight {
    double correction = 0;  // typed into "+/-" (0 when none)
    bool complete = false;
    std::optional<double> cutoffInclination;  // deg, at the moment of cut-off
    double finalInclination = 0;              // deg, at the end
};

struct AimStep {
    AimStop stop = AimStop::None;
    double nextCorrection = 0;  // when stop is None, rounded to the rule's resolution
};

// After each flight: stop, and why, or the correction for the next flight.
// The final inclination decides when to stop; the secant works on the
// cut-off inclination, which the correction sets (as its beta, from the
// effective latitude), and with one flight steps along
// azimuthPerCorrection. The plane change after cut-off trims an error
// below 0.2 deg, so the cut-off is aimed at the target; but what the
// inclination does after a cut-off that already was on target (the later
// burns, a late plane change) is aimed for too: once a flight cut off
// within kNearTarget of the target and still ended off, the cut-off is
// aimed that much the other way.
inline constexpr double kNearTarget = 0.02;  // deg
AimStep nextCorrection(const std::vector<AimedFlight>& flights, double targetInclination, const AimGeometry& g,
                       const AimRule& rule = {});

// The flight to keep: the last one within the tolerance, else the complete
// one whose final inclination lies closest to the target (the first of
// equals); -1 when none completed.
int chosenFlight(const std::vector<AimedFlight>& flights, double targetInclination, const AimRule& rule = {});

// One flight of a launch into a plane, as the launch time's aim reads it.
struct TimedFlight {
    double launchTime = 0;    // s
    double correction = 0;    // deg typed into "+/-"
    double nodeError = 0;     // deg: the ascending node reached less the plane's, into (-180, 180]
};

// The launch time for the next flight: a secant on the ascending node
// through the last two flights flown with the last one's correction (a
// change of correction moves the node too, and would spoil the secant), or
// a step along `rate`, how fast a later launch moves the node east (the
// Earth's turn, deg/s). At most `maxStep` seconds from the last launch.
double nextLaunchTime(const std::vector<TimedFlight>& flights, double rate, double maxStep = 3600);

// A value at a resolution, without "-0".
double roundedTo(double value, double resolution);

}  // namespace tarviksim
