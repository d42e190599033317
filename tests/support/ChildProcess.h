// Parts of a test that run in a child process of their own: one that could
// wait for ever (it is ended after a time limit), or one that must run as an
// ordinary user (root may write anywhere). POSIX only.
#pragma once

#ifndef _WIN32
#include <functional>
#include <sys/types.h>

namespace velmora::test {

// Runs body in a child process and returns what it returned as the child's
// exit status; -1 when the child did not end within `seconds` (it is then
// killed) or ended otherwise.
int RunInChild(const std::function<int()>& body, int seconds = 10);
// Waits for a child process, at most `seconds`, and puts its wait status in
// status; false when it had not ended by then and was killed.
bool WaitWithin(pid_t child, int seconds, int& status);
// Makes this process the ordinary user nobody (65534) when it runs as root;
// false when that fails.
bool BecomeOrdinaryUser();
// The id of a process that has ended: no process has it now.
pid_t EndedProcessId();

} // namespace velmora::test
#endif
