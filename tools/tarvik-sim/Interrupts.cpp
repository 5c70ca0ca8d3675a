#include "Interrupts.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>

#include "sim/Temporaries.h"

namespace tarviksim {

namespace {

// 0: running; 1: asked to end; 2: ending (the outputs being written).
volatile std::sig_atomic_t state = 0;
volatile std::sig_atomic_t caught = SIGINT;

void onSignal(int signal) {
    if (state == 0) {
        caught = signal;
        state = 1;
        return;
    }
    if (state == 1) {
        // Asked twice before the run could see it: nothing is waited for.
        host::removeHeldTemporaries();
        ::_exit(128 + signal);
    }
}

}  // namespace

// A signal the run was started with ignored stays ignored: `nohup` and a
// shell's background jobs ask for that.
void catchInterrupts() {
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction was {};
        if (sigaction(signal, nullptr, &was) == 0 && was.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &sa, nullptr);
    }
}

bool interruptRequested() {
    if (state == 0)
        return false;
    state = 2;
    return true;
}

int interruptStatus() {
    return 128 + caught;
}

}  // namespace tarviksim
