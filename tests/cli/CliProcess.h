// Runs the built velmora-cli in a temporary directory, with HOME,
// XDG_CONFIG_HOME and APPDATA inside it so that no real settings are read or written.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "support/TempDir.h"

namespace velmora::test {

// The program's file name in the build's folder.
#ifdef _WIN32
inline constexpr const char* CliFileName = "velmora-cli.exe";
#else
inline constexpr const char* CliFileName = "velmora-cli";
#endif

struct TCliResult {
    int Status = -1; // exit status, or -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

class TCliProcess {
public:
    // binary: the program to run; by default the velmora-cli of this build.
    explicit TCliProcess(const TempDir& dir, std::string binary = DefaultBinary());

    static std::string DefaultBinary();

    // Runs to the end in the temporary directory with input on standard input.
    TCliResult Run(const std::vector<std::string>& args, const std::string& input = "") const;

    // Starts the program with inputFd as standard input and returns its id;
    // its output collects in OutText() and ErrText().
    pid_t Start(const std::vector<std::string>& args, int inputFd) const;
    // Waits for the started program, at most 20 seconds (then ends it and
    // fails the test); its exit status, or -1 when it did not exit normally.
    static int Wait(pid_t pid);
    std::string OutText() const;
    std::string ErrText() const;
    // Waits up to about 10 seconds for text to appear on standard error.
    bool WaitForErr(const std::string& text) const;

private:
    const TempDir& FDir;
    std::string FBinary;
};

} // namespace velmora::test
