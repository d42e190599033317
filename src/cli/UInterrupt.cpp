// Ctrl-C and SIGTERM during a conversion, recorded by a signal handler (on
// Windows, Ctrl-C and Ctrl-Break by a console control handler).
#include "cli/UInterrupt.h"

#include <csignal>

#include "platform/UFiles.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora::cli {

#ifndef _WIN32
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
#else
namespace {
// The handler runs on a thread of its own that the console starts.
volatile LONG InterruptFlag = 0;

BOOL WINAPI OnConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // The first one is only recorded; a second one goes on to the default
    // handler, which ends the program.
    return InterlockedExchange(&InterruptFlag, 1) == 0 ? TRUE : FALSE;
}
} // namespace

TInterruptGuard::TInterruptGuard()
{
    InterlockedExchange(&InterruptFlag, 0);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

TInterruptGuard::~TInterruptGuard()
{
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
}

bool TInterruptGuard::Requested() const
{
    return InterlockedCompareExchange(&InterruptFlag, 0, 0) != 0;
}

int TInterruptGuard::Signal() const
{
    return Requested() ? SIGINT : 0;
}
#endif

} // namespace velmora::cli
