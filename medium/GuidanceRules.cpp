#include "GuidanceRules.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "FixedText.h"

namespace medium::rules {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadiusForAzimuth = 6378165;  // [m]
constexpr double kSiderealDay = 86164.091;          // [s]
constexpr double kGravitationalConstant = 6.67259e-11;
constexpr double kSurfaceSpeedTerm = 465;  // [m/s] the Earth's surface speed at the equator
constexpr double kLC37BLatitude = 28.53429;
constexpr double kSiteLatitudeTolerance = 1e-5;  // [deg], about a metre

const AzimuthBiasTable* biasTable(const GuidanceTables& g, int node, int site) {
    const bool west = site == kLC6;
    if (site != kLC37 && site != kLC6 && site != kLC37B)
        return nullptr;
    if (node == 0)
        return west ? &g.azimuthBias.ascendingWest : &g.azimuthBias.ascendingEast;
    return west ? &g.azimuthBias.descendingWest : &g.azimuthBias.descendingEast;
}

}  // namespace

int launchSiteAt(double latitudeDeg) {
    int site = kNoSite;
    if (latitudeDeg > 34 && latitudeDeg < 35)
        site = kLC6;
    if (latitudeDeg < 28.5324)
        site = kLC37;
    // A launcher placed by a scenario or re-created by the configuration dialog
    // may stand a rounding error away from the pad's own latitude.
    if (std::fabs(latitudeDeg - kLC37BLatitude) < kSiteLatitudeTolerance)
        site = kLC37B;
    return site;
}

double twoDecimals(double value) {
    return tarvik::fixedRounded(value, 2);
}

double wholeNumber(double value) {
    return tarvik::fixedRounded(value, 0);
}

double wrapDegrees(double difference) {
    double d = std::fmod(difference, 360.0);
    if (d > 180)
        d -= 360;
    else if (d <= -180)
        d += 360;
    return d;
}

bool inclinationReachable(double inclinationDeg, double latitudeDeg) {
    return std::fabs(std::cos(inclinationDeg * kPi / 180)) <= std::cos(latitudeDeg * kPi / 180);
}

double tableBias(const GuidanceTables& g, int node, int site, double payloadKg, double targetAltitudeKm,
                 double previousBias) {
    const AzimuthBiasTable* table = biasTable(g, node, site);
    if (!table)
        return previousBias;
    double bias = table->classes[table->classCount - 1].bias;
    for (int i = 0; i < table->classCount; ++i)
        if (payloadKg > table->classes[i].aboveKg) {
            bias = table->classes[i].bias;
            break;
        }
    for (int i = 0; i < table->stepCount; ++i)
        if (targetAltitudeKm >= table->steps[i].fromKm && targetAltitudeKm < table->steps[i].toKm)
            bias += table->steps[i].add;
    return bias;
}

double launchAzimuth(double inclinationDeg, double latitudeRad, double targetAltitudeKm, double earthMass, int node,
                     double bias) {
    const double beta = std::asin(std::cos(inclinationDeg * kPi / 180) / std::cos(latitudeRad));
    const double siteSpeed = std::cos(latitudeRad) * (2 * kPi / kSiderealDay) * kEarthRadiusForAzimuth;
    const double circularSpeed =
        std::sqrt(kGravitationalConstant * earthMass / (kEarthRadiusForAzimuth + 1000 * targetAltitudeKm));
    const double dx = circularSpeed * std::cos(beta);
    const double dy = circularSpeed * std::sin(beta) - siteSpeed;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double a =
        std::atan((d * std::sin(beta) - kSurfaceSpeedTerm * std::cos(latitudeRad)) / (d * std::cos(beta))) * 180 / kPi;
    if (node == 0) {
        const double azimuth = a + bias;
        return azimuth < 0 ? azimuth + 360 : azimuth;
    }
    const double azimuth = a - 180 + bias;
    return azimuth < 0 ? -azimuth : azimuth;
}

double rollFromOrientation(double arotZ) {
    return 360 - (arotZ + 3.1415926535) * 57.29577951308232;
}

double rollAngle(double reading, double reference, int site) {
    const double offset = site == kLC6 ? 90 : 30;
    double roll = reading - reference + offset;
    if (roll > 360)
        roll -= 360;
    if (roll < 0)
        roll += 360;
    return roll;
}

double rollLevel(double errorDeg, double previous) {
    double level = previous;
    if (errorDeg > 0)
        level = 0.04;
    if (errorDeg > 5)
        level = 0.15;
    if (errorDeg > 10)
        level = 0.3;
    if (errorDeg > 20)
        level = 0.4;
    if (errorDeg > 30)
        level = 0.5;
    if (errorDeg > 40)
        level = 0.6;
    return level;
}

BankCommand rollCommand(int site, double roll, double azimuth, double level) {
    BankCommand c;
    if (site != kLC37 && site != kLC6 && site != kLC37B)
        return c;
    const bool west = site == kLC6;
    const double limit = west ? 270 : 210;
    auto turn = [&](double right, double left) {
        c.act = true;
        c.right = right;
        c.left = left;
    };
    if (azimuth >= 0 && azimuth <= limit) {
        if (azimuth < roll)
            turn(level, 0);
        if (roll < azimuth)
            turn(0, level);
    } else if (azimuth > limit) {
        // Past the limit the roll turns through 0/360 rather than the long way round.
        if (azimuth < roll || (azimuth > roll && roll <= (west ? 91 : 31)))
            turn(level, 0);
        if (roll > (west ? 260 : 200) && roll < azimuth)
            turn(0, level);
    }
    if (roll >= azimuth - 0.01 && roll <= azimuth + 0.01) {
        turn(0, 0);
        c.captured = true;
    }
    return c;
}

PitchChoice pitchTarget(const GuidanceTables& g, double t, double payloadKg, PitchChoice previous) {
    const PitchClass* chosen = nullptr;
    for (int i = 0; i < g.pitchClassCount; ++i)
        if (payloadKg <= g.pitchClasses[i].maxWeightKg)
            chosen = &g.pitchClasses[i];
    if (!chosen)
        return previous;
    const PitchSlots& slots = *chosen->slots;
    for (int i = 0; i < slots.count; ++i)
        if (t > slots.bounds[i] && t < slots.bounds[i + 1])
            return {chosen->targetPitch[i], chosen->throttleBack};
    return previous;
}

double heaviestPitchClass(const GuidanceTables& g) {
    double heaviest = 0;
    for (int i = 0; i < g.pitchClassCount; ++i)
        heaviest = std::fmax(heaviest, g.pitchClasses[i].maxWeightKg);
    return heaviest;
}

YawCommand yawHold(double heading, double azimuth) {
    YawCommand c;
    double h = heading;
    if (azimuth < 30 && h > 300)
        h = 0;
    if (azimuth > 330 && h < 30)
        h = 360;
    if (h > azimuth + 0.002) {
        c.setLeft = c.setRight = true;
        c.left = h > azimuth + 0.02 ? 0.04 : h > azimuth + 0.01 ? 0.02 : 0.01;
    }
    if (h < azimuth - 0.002) {
        c.setLeft = c.setRight = true;
        c.right = h < azimuth - 0.02 ? 0.04 : h < azimuth - 0.01 ? 0.02 : 0.01;
    }
    // Both bounds on the heading taken across the seam, so the hold latches only on the azimuth.
    if (azimuth - 0.002 < h && h < azimuth + 0.002) {
        c.setLeft = c.setRight = true;
        c.latch = true;
    }
    return c;
}

const CircularisationBand* circularisationBand(const CircularisationRule& rule, double targetAltitudeKm) {
    if (!(targetAltitudeKm < rule.ceilingKm))
        return nullptr;
    const CircularisationBand* band = nullptr;
    for (int i = 0; i < rule.bandCount; ++i)
        if (targetAltitudeKm >= rule.bands[i].fromKm)
            band = &rule.bands[i];
    return band ? band : &rule.bands[0];
}

double suggestedCorrection(const GuidanceTables& g, int site, int node, double inclinationDeg, double targetDeg) {
    double gain = 0;
    if (site == kLC37 || site == kLC37B)
        gain = node == 0 ? g.correctionGain[0] : g.correctionGain[1];
    else if (site == kLC6)
        gain = node == 0 ? g.correctionGain[2] : g.correctionGain[3];
    if (inclinationDeg == targetDeg)
        return 0;
    return (inclinationDeg - targetDeg) * gain;
}

int pitchTapeRow(double pitchDeg) {
    return static_cast<int>(std::floor(180 - pitchDeg));
}

int thrustColumnHeight(double level) {
    return static_cast<int>(level * 180);
}

int fuelColumnTop(double mass, double maxMass) {
    if (!(maxMass > 0))
        return 180;  // no tank: nothing to show
    return static_cast<int>((maxMass - mass) / (maxMass / 180));
}

bool offeredForOrbitCopy(double altitudeM) {
    return wholeNumber(altitudeM / 1000) > 300;
}

}  // namespace medium::rules
