#include "capture/InterruptSignals.h"

namespace vardel {

namespace {

// The signal caught, or 0: written only by the handler (and reset when the handlers go in).
volatile std::sig_atomic_t caughtSignal = 0;

void noteSignal(int signal) {
    caughtSignal = signal;
}

// Puts the handler in for `signal` unless the signal is ignored; keeps the action it replaces.
void catchSignal(int signal, struct sigaction* previous) {
    sigaction(signal, nullptr, previous);
    if (previous->sa_handler == SIG_IGN) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocked write or wait returns with EINTR
    sigaction(signal, &action, nullptr);
}

} // namespace

InterruptSignals::InterruptSignals() {
    caughtSignal = 0;
    catchSignal(SIGINT, &previousInterrupt);
    catchSignal(SIGTERM, &previousTerminate);
}

InterruptSignals::~InterruptSignals() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
}

const volatile std::sig_atomic_t* InterruptSignals::flag() {
    return &caughtSignal;
}

} // namespace vardel
