// Runs the built velmora-cli as its own process for the end-to-end tests:
// posix_spawn on POSIX, CreateProcess on Windows.
#include "CliProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <cwchar>
#include <stdexcept>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <map>
#include <windows.h>

#include "platform/UText.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/ChildProcess.h"

extern char** environ;
#endif

namespace velmora::test {

namespace {
// The variables that lead the program to a user's settings, moved into dir.
bool IsSettingsVariable(const std::string& entry)
{
    for (const char* name : {"HOME=", "XDG_CONFIG_HOME=", "APPDATA="})
        if (entry.rfind(name, 0) == 0)
            return true;
    return false;
}

std::vector<std::string> Environment(const std::vector<std::string>& current, const std::string& dir)
{
    std::vector<std::string> env;
    for (const std::string& entry : current)
        if (!IsSettingsVariable(entry))
            env.push_back(entry);
    env.push_back("HOME=" + dir + "home");
    env.push_back("XDG_CONFIG_HOME=" + dir + "xdg");
    env.push_back("APPDATA=" + dir + "appdata");
    return env;
}

#ifdef _WIN32
std::vector<std::string> CurrentEnvironment()
{
    std::vector<std::string> result;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* e = block; e && *e; e += std::wcslen(e) + 1)
        result.push_back(Utf8Text(e));
    FreeEnvironmentStringsW(block);
    return result;
}

// One argument as the C runtime of the started program splits it again:
// quoted, with backslashes doubled only where they stand before a quote.
std::string Quoted(const std::string& arg)
{
    std::string result = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        result.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        result += c;
    }
    result.append(backslashes * 2, '\\');
    return result + "\"";
}

HANDLE InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileW(WideText(path).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    return file;
}

// The started programs by id, until they are waited for.
std::map<pid_t, HANDLE>& Started()
{
    static std::map<pid_t, HANDLE> started;
    return started;
}
#else
std::vector<std::string> CurrentEnvironment()
{
    std::vector<std::string> result;
    for (char** e = environ; *e; ++e)
        result.emplace_back(*e);
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> result;
    for (std::string& t : texts)
        result.push_back(t.data());
    result.push_back(nullptr);
    return result;
}
#endif
} // namespace

TCliProcess::TCliProcess(const TempDir& dir, std::string binary) : FDir(dir), FBinary(std::move(binary)) {}

std::string TCliProcess::DefaultBinary()
{
    return std::string(VELMORA_BIN_DIR) + "/" + CliFileName;
}

#ifdef _WIN32
pid_t TCliProcess::Start(const std::vector<std::string>& args, int inputFd) const
{
    std::string commandLine = Quoted(FBinary);
    for (const std::string& arg : args) {
        commandLine += ' ';
        commandLine += Quoted(arg);
    }
    std::wstring block;
    for (const std::string& entry : Environment(CurrentEnvironment(), FDir.Path()))
        block += WideText(entry) + L'\0';
    block += L'\0';

    HANDLE input = nullptr;
    DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(_get_osfhandle(inputFd)), GetCurrentProcess(),
                    &input, 0, TRUE, DUPLICATE_SAME_ACCESS);
    HANDLE out = InheritableFile(FDir.File(".cli-out"));
    HANDLE err = InheritableFile(FDir.File(".cli-err"));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    std::wstring wideCommandLine = WideText(commandLine);
    BOOL started = CreateProcessW(WideText(FBinary).c_str(), wideCommandLine.data(), nullptr, nullptr, TRUE,
                                  CREATE_UNICODE_ENVIRONMENT, block.data(), WideText(FDir.Path()).c_str(), &startup,
                                  &process);
    CloseHandle(input);
    CloseHandle(out);
    CloseHandle(err);
    if (!started)
        throw std::runtime_error("cannot start " + FBinary + ": error " + std::to_string(GetLastError()));
    CloseHandle(process.hThread);
    auto pid = static_cast<pid_t>(process.dwProcessId);
    Started()[pid] = process.hProcess;
    return pid;
}

int TCliProcess::Wait(pid_t pid)
{
    auto found = Started().find(pid);
    if (found == Started().end())
        return -1;
    HANDLE process = found->second;
    Started().erase(found);
    DWORD status = 0;
    bool exited = WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &status);
    CloseHandle(process);
    return exited ? static_cast<int>(status) : -1;
}
#else
pid_t TCliProcess::Start(const std::vector<std::string>& args, int inputFd) const
{
    std::vector<std::string> argv{FBinary};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = Environment(CurrentEnvironment(), FDir.Path());
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
    constexpr int LimitSeconds = 20;
    int status = 0;
    if (!WaitWithin(pid, LimitSeconds, status)) {
        ADD_FAILURE() << "velmora-cli did not end within " << LimitSeconds << " s";
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

namespace {
// What a stream of the program said, read as text: on Windows its lines end
// with CR LF, which reads as "\n" as on POSIX.
std::string StreamText(const std::string& path)
{
    std::string text = TempDir::Read(path);
#ifdef _WIN32
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    return lines;
#else
    return text;
#endif
}
} // namespace

std::string TCliProcess::OutText() const { return StreamText(FDir.File(".cli-out")); }
std::string TCliProcess::ErrText() const { return StreamText(FDir.File(".cli-err")); }

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
#ifdef _WIN32
    int inputFd = _wopen(WideText(inputPath).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
#else
    int inputFd = open(inputPath.c_str(), O_RDONLY | O_CLOEXEC);
#endif
    if (inputFd < 0)
        throw std::runtime_error("cannot open " + inputPath);
    pid_t pid = Start(args, inputFd);
#ifdef _WIN32
    _close(inputFd);
#else
    close(inputFd);
#endif
    TCliResult result;
    result.Status = Wait(pid);
    result.Out = OutText();
    result.Err = ErrText();
    return result;
}

} // namespace velmora::test
