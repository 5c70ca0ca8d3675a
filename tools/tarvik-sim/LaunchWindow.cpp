#include "LaunchWindow.h"

#include <cmath>
#include <cstdio>

namespace tarviksim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180;

// Into [0, 360).
double turnDegrees(double angle) {
    double a = std::fmod(angle, 360.0);
    if (a < 0)
        a += 360;
    return a >= 360 ? 0 : a;
}

// The civil date of a day count from 1970-01-01 (proleptic Gregorian).
void civilDate(long long days, long long& year, int& month, int& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

double wrappedDegrees(double angle) {
    const double a = turnDegrees(angle);
    return a > 180 ? a - 360 : a;
}

std::optional<double> crossingAngle(const OrbitPlane& plane, double latitudeDeg, bool descending) {
    const double i = plane.inclination * kRad, phi = latitudeDeg * kRad;
    const double sinArgument = std::sin(phi) / std::sin(i);  // sine of the argument of latitude there
    if (!std::isfinite(sinArgument) || std::fabs(sinArgument) > 1)
        return std::nullopt;
    const double u = std::asin(sinArgument);
    // Northward the argument of latitude is u, southward 180 - u; the angle
    // east of the node follows from the right spherical triangle.
    const double cosU = descending ? -std::cos(u) : std::cos(u);
    return std::atan2(std::cos(i) * std::sin(u), cosU) / kRad;
}

std::optional<PlanePass> nextPass(const TurningPad& pad, const OrbitPlane& plane, double earliest,
                                  std::optional<bool> descending) {
    if (!(pad.rate > 0))
        return std::nullopt;
    std::optional<PlanePass> best;
    for (const bool south : {false, true}) {
        if (descending && *descending != south)
            continue;
        const std::optional<double> angle = crossingAngle(plane, pad.latitude, south);
        if (!angle)
            continue;
        // The pad's right ascension must reach node + angle; the turn still to go from `earliest`.
        const double now = pad.rightAscension + pad.rate * earliest;
        const double toGo = turnDegrees(plane.ascendingNode + *angle - now);
        const PlanePass pass{earliest + toGo / pad.rate, south};
        if (!best || pass.time < best->time)
            best = pass;
    }
    return best;
}

double relativeInclination(const OrbitPlane& a, const OrbitPlane& b) {
    // The angle between the two orbit normals.
    auto normal = [](const OrbitPlane& p, double n[3]) {
        const double i = p.inclination * kRad, node = p.ascendingNode * kRad;
        n[0] = std::sin(i) * std::sin(node);
        n[1] = -std::sin(i) * std::cos(node);
        n[2] = std::cos(i);
    };
    double na[3], nb[3];
    normal(a, na);
    normal(b, nb);
    const double cross[3] = {na[1] * nb[2] - na[2] * nb[1], na[2] * nb[0] - na[0] * nb[2],
                             na[0] * nb[1] - na[1] * nb[0]};
    const double sine = std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]);
    const double cosine = na[0] * nb[0] + na[1] * nb[1] + na[2] * nb[2];
    return std::atan2(sine, cosine) / kRad;  // well conditioned for small angles too
}

std::string utcText(double mjd) {
    // MJD 40587 is 1970-01-01 00:00 UTC.
    const double tenths = std::round((mjd - 40587) * 864000.0);
    long long whole = static_cast<long long>(tenths);
    long long days = whole >= 0 ? whole / 864000 : -((-whole + 863999) / 864000);
    long long rest = whole - days * 864000;
    long long year = 0;
    int month = 0, day = 0;
    civilDate(days, year, month, day);
    const int hour = static_cast<int>(rest / 36000);
    const int minute = static_cast<int>(rest / 600 % 60);
    const int second = static_cast<int>(rest / 10 % 60);
    const int tenth = static_cast<int>(rest % 10);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d %02d:%02d:%02d.%d UTC", year, month, day, hour, minute, second,
                  tenth);
    return text;
}

}  // namespace tarviksim
