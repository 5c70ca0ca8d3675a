#include "FixedText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace tarvik {

namespace {

// The longest text of a finite double: a sign, 309 digits before the point,
// the point and the decimals.
constexpr size_t kLongestText = 1 + 309 + 1 + kMaxFixedDecimals;

int clampedDecimals(int decimals) {
    return std::clamp(decimals, 0, kMaxFixedDecimals);
}

// The powers of ten a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The read-outs are numbers of a few digits: |value| * 10^decimals, rounded
// to an integer the way printf rounds the exact binary value (a tie to the
// even one), without going through decimal text. Below 2^52 every integer
// and every half lies on the grid of the product p, so p's nearest integer
// is off only when p lies exactly on a half: then p's rounding error (one
// fused multiply-add) says to which side the exact value falls. False for a
// product too large (or not finite).
bool scaledToInteger(double magnitude, int decimals, uint64_t& n) {
    if (decimals >= static_cast<int>(std::size(kExactPowersOfTen)))
        return false;
    const double scale = kExactPowersOfTen[decimals];
    const double p = magnitude * scale;
    constexpr double kTwoTo52 = 4503599627370496.0;
    if (!(p < kTwoTo52))
        return false;
    // Added to 2^52, where the doubles are the integers, p rounds to the
    // nearest one, a half to the even one: what nearbyint gives, without
    // the call.
    double r = (p + kTwoTo52) - kTwoTo52;
    const double f = p - r;  // exact
    if (f == 0.5 || f == -0.5) {
        const double e = std::fma(magnitude, scale, -p);
        if (f == 0.5 && e > 0)
            r += 1;
        else if (f == -0.5 && e < 0)
            r -= 1;
    }
    n = static_cast<uint64_t>(r);
    return true;
}

// The text of the integer n / 10^decimals with its sign; its length, or 0 when it does not fit.
size_t integerText(char* buffer, size_t size, bool negative, uint64_t n, int decimals) {
    // Written from the end of a scratch text, two digits at a time, the point
    // put in when the decimals are done, then copied out in one piece.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char text[48];
    char* const end = text + sizeof text;
    char* out = end;
    int written = 0;  // digits so far
    auto digit = [&](char c) {
        if (written == decimals && decimals > 0)
            *--out = '.';
        *--out = c;
        ++written;
    };
    for (; n >= 100; n /= 100) {
        const size_t pair = 2 * static_cast<size_t>(n % 100);
        digit(kPairs[pair + 1]);
        digit(kPairs[pair]);
    }
    if (n >= 10) {
        digit(kPairs[2 * n + 1]);
        digit(kPairs[2 * n]);
    } else {
        digit(static_cast<char>('0' + n));
    }
    while (written <= decimals)
        digit('0');
    if (negative)
        *--out = '-';
    const size_t length = static_cast<size_t>(end - out);
    if (length >= size)
        return 0;
    std::memcpy(buffer, out, length);
    buffer[length] = '\0';
    return length;
}

}  // namespace

size_t fixedText(char* buffer, size_t size, double value, int decimals) {
    decimals = clampedDecimals(decimals);
    uint64_t n = 0;
    if (scaledToInteger(std::fabs(value), decimals, n))
        if (const size_t length = integerText(buffer, size, std::signbit(value), n, decimals))
            return length;
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
    // n / 10^decimals divided in binary is rounded once, to the nearest
    // double, as a correct reader rounds the decimal text.
    uint64_t n = 0;
    if (const int d = clampedDecimals(decimals); scaledToInteger(std::fabs(value), d, n))
        return std::copysign(static_cast<double>(n) / kExactPowersOfTen[d], value);
    char text[kLongestText];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, clampedDecimals(decimals));
    double read = value;
    if (written.ec == std::errc())
        std::from_chars(text, written.ptr, read);
    return read;
}

}  // namespace tarvik
