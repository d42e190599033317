// Ctrl-C during a conversion: the signal only raises a flag, which the
// conversion's message pump turns into a stop request.
#pragma once

namespace velmora::cli {

// Catches SIGINT for its lifetime. The first Ctrl-C is only recorded; the
// handler then returns to the default, so a second one ends the program.
class TInterruptGuard {
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

    bool Requested() const;
};

} // namespace velmora::cli
