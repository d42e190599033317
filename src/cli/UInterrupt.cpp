// Ctrl-C during a conversion, recorded by a signal handler.
#include "cli/UInterrupt.h"

#include <csignal>

namespace velmora::cli {

namespace {
// A signal handler can reach nothing but a flag of this type.
volatile std::sig_atomic_t InterruptFlag = 0;
struct sigaction PreviousAction;

extern "C" void OnInterrupt(int)
{
    InterruptFlag = 1;
}
} // namespace

TInterruptGuard::TInterruptGuard()
{
    InterruptFlag = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait for an answer on the terminal must wake up.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, &PreviousAction);
}

TInterruptGuard::~TInterruptGuard()
{
    sigaction(SIGINT, &PreviousAction, nullptr);
}

bool TInterruptGuard::Requested() const
{
    return InterruptFlag != 0;
}

} // namespace velmora::cli
