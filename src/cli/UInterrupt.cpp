// Ctrl-C and SIGTERM during a conversion, recorded by a signal handler.
#include "cli/UInterrupt.h"

#include <csignal>

#include "platform/UFiles.h"

namespace velmora::cli {

namespace {
// A signal handler can reach nothing but a flag of this type: the signal that
// asked for the stop, 0 before one did.
volatile std::sig_atomic_t InterruptSignal = 0;
struct sigaction PreviousInt;
struct sigaction PreviousTerm;

extern "C" void OnInterrupt(int signal)
{
    if (InterruptSignal == 0) {
        InterruptSignal = signal;
        return;
    }
    // A second request ends the program at once, with the default action of
    // the signal, but without the temporary file of a page being written.
    RemoveTemporaryFiles();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    raise(signal);
}
} // namespace

TInterruptGuard::TInterruptGuard()
{
    InterruptSignal = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait for an answer on the terminal must wake up.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, &PreviousInt);
    sigaction(SIGTERM, &action, &PreviousTerm);
}

TInterruptGuard::~TInterruptGuard()
{
    sigaction(SIGINT, &PreviousInt, nullptr);
    sigaction(SIGTERM, &PreviousTerm, nullptr);
}

bool TInterruptGuard::Requested() const
{
    return InterruptSignal != 0;
}

int TInterruptGuard::Signal() const
{
    return InterruptSignal;
}

} // namespace velmora::cli
