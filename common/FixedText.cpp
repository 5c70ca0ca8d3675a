#include "FixedText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace tarvik {

namespace {

// The longest text of a finite double: a sign, 309 digits before the point,
// the point and the decimals.
constexpr size_t kLongestText = 1 + 309 + 1 + kMaxFixedDecimals;

int clampedDecimals(int decimals) {
    return std::clamp(decimals, 0, kMaxFixedDecimals);
}

}  // namespace

size_t fixedText(char* buffer, size_t size, double value, int decimals) {
    decimals = clampedDecimals(decimals);
    // Straight into the buffer when the text fits, as it nearly always does.
    if (size > 0) {
        const auto [end, error] = std::to_chars(buffer, buffer + size - 1, value, std::chars_format::fixed, decimals);
        if (error == std::errc()) {
            *end = '\0';
            return static_cast<size_t>(end - buffer);
        }
    }
    char whole[kLongestText];
    const auto [end, error] = std::to_chars(whole, whole + sizeof whole, value, std::chars_format::fixed, decimals);
    const size_t length = error == std::errc() ? static_cast<size_t>(end - whole) : 0;
    if (size > 0) {
        const size_t kept = std::min(length, size - 1);
        std::memcpy(buffer, whole, kept);
        buffer[kept] = '\0';
    }
    return length;
}

double fixedRounded(double value, int decimals) {
    if (!std::isfinite(value))
        return value;  // "inf" and "nan" read back as themselves
    char text[kLongestText];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, clampedDecimals(decimals));
    double read = value;
    if (written.ec == std::errc())
        std::from_chars(text, written.ptr, read);
    return read;
}

}  // namespace tarvik
