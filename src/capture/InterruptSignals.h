#pragma once

#include <signal.h>

#include <csignal>

namespace vardel {

// While one exists, SIGINT (Ctrl+C) and SIGTERM do not end the program but are only noted, so
// that a long job can stop at a point of its choosing and remove what it has half made. The
// handler does nothing but note the signal; a blocking call it lands in fails with EINTR instead
// of being restarted, so that code waiting there sees the note. A signal that was ignored when
// it was made (a background job without job control) stays ignored. The handlers in place before
// come back when it goes.
class InterruptSignals {
public:
    InterruptSignals();
    ~InterruptSignals();
    InterruptSignals(const InterruptSignals&) = delete;
    InterruptSignals& operator=(const InterruptSignals&) = delete;

    // The signal caught (SIGINT or SIGTERM); 0 while none has been.
    int caught() const { return *flag(); }
    // Where the handler notes the signal, for code waiting in system calls to look at.
    static const volatile std::sig_atomic_t* flag();
    // The exit status of a program that stops because of `signal`: 128 + its number, as a shell
    // reports for a program the signal ended (130 for SIGINT, 143 for SIGTERM).
    static int exitStatus(int signal) { return 128 + signal; }

private:
    struct sigaction previousInterrupt = {};
    struct sigaction previousTerminate = {};
};

} // namespace vardel
