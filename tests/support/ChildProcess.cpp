#include "support/ChildProcess.h"

#ifndef _WIN32
#include <chrono>
#include <csignal>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test {

int RunInChild(const std::function<int()>& body, int seconds)
{
    pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        int status = 125;
        try {
            status = body();
        } catch (...) {
        }
        _exit(status);
    }
    int status = 0;
    return WaitWithin(child, seconds, status) && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool WaitWithin(pid_t child, int seconds, int& status)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    pid_t done = 0;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (done != 0)
        return true;
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return false;
}

bool BecomeOrdinaryUser()
{
    constexpr uid_t Nobody = 65534;
    return geteuid() != 0 || (setgid(Nobody) == 0 && setuid(Nobody) == 0);
}

pid_t EndedProcessId()
{
    pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

} // namespace velmora::test
#endif
