// How every tarvik-sim command ends on a failure: one printable line on
// stderr and an exit status.
#pragma once

#include <string>

#include "sim/Simulation.h"

namespace tarviksim {

// Writes "tarvik-sim: MESSAGE" as one printable line of at most about 1000
// characters, whatever the message quotes, and returns `status`.
int failWith(const std::string& message, int status);

// "FILE:LINE: problem" for an input error, without repeating a place the
// host's message already begins with.
std::string describe(const host::InputError& e);

// -q: from now on everything written to stdout and stderr goes nowhere,
// except the line failWith writes.
void silenceAllButFailures();

}  // namespace tarviksim
