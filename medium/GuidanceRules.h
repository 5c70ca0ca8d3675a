// The autopilot's rules that are pure arithmetic on the flight values: which
// pad the launcher stands on, the launch azimuth and its bias, the roll
// measurement, the pitch table, the yaw hold's choice, the circularisation
// band, the suggested correction and the gauge rows. The guidance step feeds
// them what it reads from the host and applies what they return.
#pragma once

#include "variants/GuidanceTables.h"

namespace medium::rules {

// Launch sites as the autopilot knows them.
enum Site { kNoSite = 0, kLC37 = 1, kLC6 = 2, kLC37B = 3 };

// The pad under a launcher at this latitude [deg].
int launchSiteAt(double latitudeDeg);

// The value as the dialog shows it with "%0.2f" (or "%0.0f") and reads it back.
double twoDecimals(double value);
double wholeNumber(double value);

// An angle difference in degrees brought into (-180, 180].
double wrapDegrees(double difference);

// --- launch azimuth
// Whether an orbit of this inclination can be reached by a launch from this
// latitude (both in degrees): the launch azimuth has no solution otherwise.
bool inclinationReachable(double inclinationDeg, double latitudeDeg);

// The bias of the build's table for the node (0 ascending, 1 descending),
// site, payload weight and target altitude, not yet with the pilot's trim.
// Site 0 has no table: its bias is the previous one.
double tableBias(const GuidanceTables& g, int node, int site, double payloadKg, double targetAltitudeKm,
                 double previousBias);

// The azimuth [deg, 0-360) for an orbit of the inclination and altitude from
// the latitude [rad], with `bias` (table bias plus the pilot's trim) added.
double launchAzimuth(double inclinationDeg, double latitudeRad, double targetAltitudeKm, double earthMass, int node,
                     double bias);

// --- roll
// The roll of the launcher about its axis, from the third orientation angle.
double rollFromOrientation(double arotZ);
// The roll angle relative to the pad: reading minus reference plus the
// site's offset, within 0-360.
double rollAngle(double reading, double reference, int site);

// The bank groups' level for an error of `errorDeg`; keeps `previous` when
// the error is zero.
double rollLevel(double errorDeg, double previous);

struct BankCommand {
    bool act = false;  // set the two levels below
    double right = 0, left = 0;
    bool captured = false;
};
// Which way the roll programme turns at this roll angle, or the capture.
BankCommand rollCommand(int site, double rollAngleDeg, double azimuthDeg, double level);

// --- pitch
struct PitchChoice {
    double targetPitch;
    double throttleBack;
};
// The pitch table's target and throttle-back for this mission time and
// payload; a slot boundary, or a weight no class covers, keeps `previous`.
PitchChoice pitchTarget(const GuidanceTables& g, double missionTime, double payloadKg, PitchChoice previous);

// The heaviest payload [kg] the pitch programme has a class for; above it
// the table gives no pitch at all (kNoUpperLimit when a class takes any weight).
double heaviestPitchClass(const GuidanceTables& g);

// --- heading
struct YawCommand {
    bool setLeft = false, setRight = false;
    double left = 0, right = 0;
    bool latch = false;  // on the azimuth: both groups 0 and the hold latched
};
// The yaw heading hold: the heading [deg] is taken across the 0/360 seam
// when the azimuth is near it.
YawCommand yawHold(double headingDeg, double azimuthDeg);

// --- insertion
// The band of the circularisation rule for this target altitude, or null when
// the rule has none (the target is at or above its ceiling).
const CircularisationBand* circularisationBand(const CircularisationRule& rule, double targetAltitudeKm);

// The azimuth correction to type for the next launch after this cut-off.
double suggestedCorrection(const GuidanceTables& g, int site, int node, double inclinationDeg, double targetDeg);

// --- autopilot dialog
// The first row of the pitch tape shown for this pitch [deg].
int pitchTapeRow(double pitchDeg);
// The height in pixels of the thrust column for a main group level.
int thrustColumnHeight(double level);
// The top row of the fuel column for propellant mass m of at most mMax.
int fuelColumnTop(double mass, double maxMass);
// Whether a vessel at this altitude [m] is offered for orbit copying.
bool offeredForOrbitCopy(double altitudeM);

}  // namespace medium::rules
