// Numbers as the reports and tables show them.
#pragma once

#include <string>

namespace tarviksim {

// `value` with `decimals` digits, with its sign when `sign` ("+1.5"); a value
// that rounds to zero has no minus ("0.00", "+0.00"); a value that is not
// finite is `nonFinite`.
std::string roundedText(double value, int decimals, bool sign, const char* nonFinite);

// A duration as a clock shows it: "m:ss", or "h:mm:ss" from an hour on.
std::string clockText(double seconds);

}  // namespace tarviksim
