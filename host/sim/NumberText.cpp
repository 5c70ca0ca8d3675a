#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "OrbiterAPI.h"

namespace host {

std::string numberText(double value) {
    if (!std::isfinite(value))
        return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::string vectorText(const VECTOR3& v) {
    return numberText(v.x) + " " + numberText(v.y) + " " + numberText(v.z);
}

namespace {

// Whether a text with `decimals` decimals can read back as the angle that
// `approx` (radians * DEG) came from. One that does lies within about 4.5
// units in the last place of approx: the read-back's rounding, the product's
// and DEG's own error. So a number of decimals whose nearest text lies more than 16
// units away need not be tried: most of the tries for a flying vessel's
// orientation, which needs 15 or more. The distance is the exact remainder
// of approx * 10^decimals, from one fused multiply-add.
bool decimalsCanReadBack(double approx, int decimals) {
    constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,
                                       1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
    const double magnitude = std::fabs(approx);
    const double scale = kPowersOfTen[decimals];
    const double p = magnitude * scale;
    if (!(p < 0x1p52))
        return true;  // the texts are as close as the doubles are
    const double remainder = std::fabs(std::fma(magnitude, scale, -std::nearbyint(p)));
    const double unit = std::nextafter(magnitude, INFINITY) - magnitude;
    return remainder <= 16 * unit * scale;
}

}  // namespace

std::string degreesText(double radians) {
    if (!std::isfinite(radians))
        return "0";
    // The file holds degrees while the vessel holds radians; look for a degree
    // value that converts back bit for bit, preferring the fewest digits. A
    // vessel placed from a scenario ("28.53429") finds its own text again.
    const double approx = radians * DEG;
    double candidates[5] = {approx, approx, approx, approx, approx};
    candidates[1] = std::nextafter(approx, INFINITY);
    candidates[2] = std::nextafter(approx, -INFINITY);
    candidates[3] = std::nextafter(candidates[1], INFINITY);
    candidates[4] = std::nextafter(candidates[2], -INFINITY);
    // to_chars writes what printf's "%.*f" and "%.*g" write, and from_chars
    // reads as strtod reads, both without printf's arbitrary precision: a
    // save of a flying vessel tries dozens of texts for each angle.
    char buf[64];
    auto readsBack = [&](double c, std::chars_format format, int digits) {
        const auto written = std::to_chars(buf, buf + sizeof buf - 1, c, format, digits);
        *written.ptr = '\0';
        double read = 0;
        if (std::from_chars(buf, written.ptr, read).ec != std::errc())
            read = std::strtod(buf, nullptr);  // an underflow or overflow, read as strtod reads it
        return read * RAD == radians;
    };
    // Plain decimals first ("30", "28.53429"), exponent form for the rest.
    if (std::fabs(approx) < 1e15)
        for (int decimals = 0; decimals <= 17; ++decimals) {
            if (!decimalsCanReadBack(approx, decimals))
                continue;
            for (double c : candidates)
                if (readsBack(c, std::chars_format::fixed, decimals))
                    return buf;
        }
    for (int digits = 1; digits <= 17; ++digits)
        for (double c : candidates)
            if (readsBack(c, std::chars_format::general, digits))
                return buf;
    return numberText(approx);
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty())
        return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+')
        ++begin;  // from_chars does not take a leading plus
    double v = 0;
    auto res = std::from_chars(begin, end, v);
    if (res.ec != std::errc() || res.ptr != end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool parseInteger(const std::string& text, long& value) {
    if (text.empty())
        return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+')
        ++begin;
    long v = 0;
    auto res = std::from_chars(begin, end, v);
    if (res.ec != std::errc() || res.ptr != end)
        return false;
    value = v;
    return true;
}

}  // namespace host
