// Ctrl-C during a conversion, recorded by a signal handler (on Windows, by a
// console control handler).
#include "cli/UInterrupt.h"

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora::cli {

#ifndef _WIN32
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
#endif

} // namespace velmora::cli
