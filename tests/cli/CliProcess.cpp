// Runs the built velmora-cli as its own process for the end-to-end tests.
#include "CliProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace velmora::test {

namespace {
// The environment of the test with HOME and XDG_CONFIG_HOME moved into dir.
std::vector<std::string> Environment(const std::string& dir)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        if (entry.rfind("HOME=", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("HOME=" + dir + "home");
    env.push_back("XDG_CONFIG_HOME=" + dir + "xdg");
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> result;
    for (std::string& t : texts)
        result.push_back(t.data());
    result.push_back(nullptr);
    return result;
}
} // namespace

TCliProcess::TCliProcess(const TempDir& dir, std::string binary) : FDir(dir), FBinary(std::move(binary)) {}

std::string TCliProcess::DefaultBinary()
{
    return std::string(VELMORA_BIN_DIR) + "/velmora-cli";
}

pid_t TCliProcess::Start(const std::vector<std::string>& args, int inputFd) const
{
    std::vector<std::string> argv{FBinary};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = Environment(FDir.Path());
    std::string outPath = FDir.File(".cli-out"), errPath = FDir.File(".cli-err");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputFd, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, FDir.Path().c_str());
    pid_t pid = 0;
    int rc = posix_spawn(&pid, FBinary.c_str(), &actions, nullptr, Pointers(argv).data(), Pointers(env).data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + FBinary + ": " + std::strerror(rc));
    return pid;
}

int TCliProcess::Wait(pid_t pid)
{
    // A program that waits for an answer the test will never give is ended
    // here, so that the test fails at once rather than at the suite's timeout.
    constexpr auto Limit = std::chrono::seconds(20);
    const auto deadline = std::chrono::steady_clock::now() + Limit;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "velmora-cli did not end within " << Limit.count() << " s";
        return -1;
    }
    if (done != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::string TCliProcess::OutText() const { return TempDir::Read(FDir.File(".cli-out")); }
std::string TCliProcess::ErrText() const { return TempDir::Read(FDir.File(".cli-err")); }

bool TCliProcess::WaitForErr(const std::string& text) const
{
    for (int i = 0; i < 1000; ++i) {
        if (ErrText().find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TCliResult TCliProcess::Run(const std::vector<std::string>& args, const std::string& input) const
{
    std::string inputPath = FDir.Write(".cli-in", input);
    int inputFd = open(inputPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (inputFd < 0)
        throw std::runtime_error("cannot open " + inputPath);
    pid_t pid = Start(args, inputFd);
    close(inputFd);
    TCliResult result;
    result.Status = Wait(pid);
    result.Out = OutText();
    result.Err = ErrText();
    return result;
}

} // namespace velmora::test
