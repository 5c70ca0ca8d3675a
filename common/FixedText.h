// Numbers as fixed-point text, the way printf's "%.Nf" writes them, without
// printf: the exact binary value rounded to N decimals, a tie to the even
// digit, "-0.00" for a small negative number, "inf" and "nan" for the rest;
// and the number such a text reads back as. Standard library only, and
// nothing here allocates, so a module callback may use it every step.
#pragma once

#include <cstddef>

namespace tarvik {

// The most decimals fixedText takes; more are written as this many.
inline constexpr int kMaxFixedDecimals = 40;

// Writes `value` with `decimals` digits after the point into buffer[0..size),
// as snprintf(buffer, size, "%.*f", decimals, value) does: at most size - 1
// characters and a NUL (text that does not fit is cut), and the length the
// whole text has. Negative decimals count as 0.
size_t fixedText(char* buffer, size_t size, double value, int decimals);

template <size_t N>
size_t fixedText(char (&buffer)[N], double value, int decimals) {
    return fixedText(buffer, N, value, decimals);
}

// The number the text of fixedText(value, decimals) reads back as (with
// strtod or any correct reader), never cut short: `value` rounded to what a
// display with that many decimals shows.
double fixedRounded(double value, int decimals);

}  // namespace tarvik
