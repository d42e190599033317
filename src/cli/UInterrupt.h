// Ctrl-C and SIGTERM during a conversion: the signal only raises a flag, which
// the conversion's message pump turns into a stop request.
#pragma once

namespace velmora::cli {

// Catches SIGINT and SIGTERM for its lifetime. The first one is only
// recorded; a second one removes the temporary files being written and ends
// the program as the signal does by default.
class TInterruptGuard {
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

    bool Requested() const;
    // The signal that asked for the stop, 0 when none did.
    int Signal() const;
};

} // namespace velmora::cli
