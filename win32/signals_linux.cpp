// SIGTERM and SIGINT as a polite request to quit: a screen-saver engine ends its
// hack with SIGTERM, and the show should shut down the way it does on Escape.
#include "win32/platform.h"

#include <csignal>

namespace {

// 0 none, 1 arrived and not yet taken, 2 taken by the message loop.
volatile sig_atomic_t terminationState = 0;

void OnTerminationSignal(int signalNumber) {
    if (terminationState != 0) {
        // A request is already under way, or was never taken up (a modal box
        // blocks the loop): the second one goes by the default action.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    terminationState = 1;
}

} // namespace

namespace win32 {

void CatchTerminationSignals() {
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a wait in progress returns at once
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool TakeTerminationRequest() {
    if (terminationState == 1) {
        terminationState = 2;
        return true;
    }
    return false;
}

} // namespace win32
