#include "ReadoutText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarviksim {

std::string roundedText(double value, int decimals, bool sign, const char* nonFinite) {
    if (!std::isfinite(value))
        return nonFinite;
    char text[64];
    std::snprintf(text, sizeof text, sign ? "%+.*f" : "%.*f", decimals, value);
    std::string s = text;
    // No "-0.0" or "+-0.0": a value that rounds to zero has no sign.
    if (s.find_first_not_of("+-0.") == std::string::npos)
        s = (sign ? "+" : "") + s.substr(s.find_first_not_of("+-"));
    return s;
}

std::string clockText(double seconds) {
    const long s = std::lround(std::max(0.0, seconds));
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

}  // namespace tarviksim
