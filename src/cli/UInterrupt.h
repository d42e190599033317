// Ctrl-C and SIGTERM during a conversion: the signal only raises a flag, which
// the conversion's message pump turns into a stop request.
#pragma once

namespace velmora::cli {

// Catches SIGINT and SIGTERM (on Windows, Ctrl-C and Ctrl-Break) for its
// lifetime. The first one is only recorded; a second one removes the
// temporary files being written and ends the program as the signal does by
// default (on Windows, the console's default handler ends it).
class TInterruptGuard {
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

    bool Requested() const;
    // The signal that asked for the stop, 0 when none did (SIGINT for Ctrl-C
    // on Windows).
    int Signal() const;
};

} // namespace velmora::cli
