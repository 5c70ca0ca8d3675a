// Interrupts (SIGINT, SIGTERM, SIGHUP). The first asks the run to end: the
// step loop sees it, writes every output as it stands, whole, and the
// program ends with status 128 + the signal. A second one before the loop
// has seen the first ends the program at once, removing the temporaries it
// holds; one that comes while the outputs are written waits for them.
#pragma once

#include <stdexcept>
#include <string>

namespace tarviksim {

// Installs the handlers; main calls it once.
void catchInterrupts();

// Has an interrupt asked the run to end? When it has, the caller is ending
// the run from now on (a further signal waits for it).
bool interruptRequested();

// The status an interrupted run ends with (130 for SIGINT).
int interruptStatus();

// A run that ended early for an interrupt, its outputs written; what()
// says how far it got.
struct Interrupted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace tarviksim
