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

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes n's digits backwards, ending at `out`, at least one; returns where they begin.
char* digitsBefore(char* out, uint64_t n) {
    for (; n >= 100; n /= 100) {
        const char* pair = kPairs + 2 * (n % 100);
        *--out = pair[1];
        *--out = pair[0];
    }
    if (n >= 10) {
        *--out = kPairs[2 * n + 1];
        *--out = kPairs[2 * n];
    } else {
        *--out = static_cast<char>('0' + n);
    }
    return out;
}

// Writes exactly `count` digits of n (n < 10^count) backwards, the leading ones 0.
char* fixedDigitsBefore(char* out, uint64_t n, int count) {
    for (; count >= 2; count -= 2, n /= 100) {
        const char* pair = kPairs + 2 * (n % 100);
        *--out = pair[1];
        *--out = pair[0];
    }
    if (count == 1)
        *--out = static_cast<char>('0' + n);
    return out;
}

// The number of digits of n, at least one.
int digitCount(uint64_t n) {
    int count = 1;
    for (; n >= 100; n /= 100)
        count += 2;
    return n >= 10 ? count + 1 : count;
}

// The text of the integer n / 10^decimals with its sign (n < 2^52); its
// length, or 0 when it does not fit. The length is known first, so the text
// is written straight into the buffer from its end: the decimals, the point,
// the whole part.
size_t integerText(char* buffer, size_t size, bool negative, uint64_t n, int decimals) {
    // Below 2^52 < 10^16 a number with 16 decimals or more has no whole part.
    uint64_t whole = n;
    uint64_t part = 0;
    if (decimals == 2) {  // the read-outs' own: a division by a constant
        whole = n / 100;
        part = n % 100;
    } else if (decimals >= 16) {
        whole = 0;
        part = n;
    } else if (decimals > 0) {
        const auto scale = static_cast<uint64_t>(kExactPowersOfTen[decimals]);
        whole = n / scale;
        part = n % scale;
    }
    const size_t length =
        static_cast<size_t>(negative) + static_cast<size_t>(digitCount(whole)) +
        (decimals > 0 ? 1 + static_cast<size_t>(decimals) : 0);
    if (length >= size)
        return 0;
    char* out = buffer + length;
    *out = '\0';
    if (decimals > 0) {
        out = fixedDigitsBefore(out, part, decimals);
        *--out = '.';
    }
    out = digitsBefore(out, whole);
    if (negative)
        *--out = '-';
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
