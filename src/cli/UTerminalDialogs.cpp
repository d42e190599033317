// Message boxes of velmora-cli on standard error and the terminal.
#include "cli/UTerminalDialogs.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

#include "platform/UText.h"

namespace velmora::cli {

namespace {
// How often a wait for an answer looks at the cancel check.
constexpr int PollMilliseconds = 100;

std::string NormalizeBlanks(const std::string& line)
{
    std::string result;
    for (char c : line) {
        bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (blank) {
            if (!result.empty() && result.back() != ' ')
                result += ' ';
        } else {
            result += c;
        }
    }
    if (!result.empty() && result.back() == ' ')
        result.pop_back();
    return AsciiUpperCase(result);
}
} // namespace

std::optional<TOverwriteAnswer> ParseOverwriteAnswer(const std::string& line)
{
    std::string answer = NormalizeBlanks(line);
    if (answer == "Y" || answer == "YES")
        return TOverwriteAnswer::Yes;
    if (answer == "N" || answer == "NO")
        return TOverwriteAnswer::No;
    if (answer == "NA" || answer == "NO TO ALL")
        return TOverwriteAnswer::NoToAll;
    if (answer == "YA" || answer == "YES TO ALL")
        return TOverwriteAnswer::YesToAll;
    return std::nullopt;
}

void TTerminalMessageBoxes::BeforeOutput()
{
    if (FBeforeOutput)
        FBeforeOutput();
}

void TTerminalMessageBoxes::ShowMessage(const std::string& caption, const std::string& text, TMsgIcon)
{
    BeforeOutput();
    std::fprintf(FOut, "%s\n%s\n", caption.c_str(), WithLineEnds(text, "\n").c_str());
    std::fflush(FOut);
}

#ifdef _WIN32
namespace {
// Waits until a key has been pressed on the console, looking at the cancel
// check every PollMilliseconds; false when cancelled or the console failed.
// Events that bring no character (focus, mouse, key releases) are taken off
// the input so that they do not wake the wait again.
bool WaitForKey(HANDLE console, const std::function<bool()>& cancelled)
{
    for (;;) {
        if (cancelled && cancelled())
            return false;
        DWORD ready = WaitForSingleObject(console, PollMilliseconds);
        if (ready == WAIT_TIMEOUT)
            continue;
        if (ready != WAIT_OBJECT_0)
            return false;
        INPUT_RECORD record;
        DWORD count = 0;
        if (!PeekConsoleInputW(console, &record, 1, &count))
            return false;
        if (count == 1 && record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown &&
            record.Event.KeyEvent.uChar.UnicodeChar != 0)
            return true;
        if (count == 1)
            ReadConsoleInputW(console, &record, 1, &count);
    }
}
} // namespace

std::optional<std::string> TTerminalMessageBoxes::ReadAnswer()
{
    auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(FInputFd));
    DWORD mode = 0;
    // The console hands over a line once Enter is pressed; until a key is
    // down the wait keeps looking at the cancel check. Ctrl-C ends a read
    // that has begun, and the cancel check then sees it.
    if (GetConsoleMode(handle, &mode) && !WaitForKey(handle, FCancelled))
        return std::nullopt;
    std::string line;
    for (;;) {
        char c = 0;
        DWORD n = 0;
        if (!ReadFile(handle, &c, 1, &n, nullptr) || n == 0 || (FCancelled && FCancelled()))
            return std::nullopt;
        if (c == '\n')
            return line;
        line += c;
    }
}
#else
std::optional<std::string> TTerminalMessageBoxes::ReadAnswer()
{
    std::string line;
    for (;;) {
        if (FCancelled && FCancelled())
            return std::nullopt;
        pollfd fd{FInputFd, POLLIN, 0};
        int ready = poll(&fd, 1, PollMilliseconds);
        if (ready < 0 && errno != EINTR)
            return std::nullopt;
        if (ready <= 0)
            continue; // timed out or interrupted: look at the cancel check again
        char c = 0;
        ssize_t n = read(FInputFd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        if (c == '\n')
            return line;
        line += c;
    }
}

#endif

bool TTerminalMessageBoxes::AskYesNo(const std::string& caption, const std::string& text)
{
    if (!FInteractive)
        return false;
    BeforeOutput();
    for (;;) {
        std::fprintf(FOut, "%s\n%s [y]es, [n]o: ", caption.c_str(), WithLineEnds(text, "\n").c_str());
        std::fflush(FOut);
        std::optional<std::string> line = ReadAnswer();
        if (!line)
            return false;
        std::optional<TOverwriteAnswer> answer = ParseOverwriteAnswer(*line);
        if (answer == TOverwriteAnswer::Yes || answer == TOverwriteAnswer::No)
            return answer == TOverwriteAnswer::Yes;
    }
}

TYesNoCancel TTerminalMessageBoxes::AskYesNoCancel(const std::string& caption, const std::string& text)
{
    if (!FInteractive)
        return TYesNoCancel::Cancel;
    BeforeOutput();
    for (;;) {
        std::fprintf(FOut, "%s\n%s [y]es, [n]o, [c]ancel: ", caption.c_str(), WithLineEnds(text, "\n").c_str());
        std::fflush(FOut);
        std::optional<std::string> line = ReadAnswer();
        if (!line)
            return TYesNoCancel::Cancel;
        const std::string answer = NormalizeBlanks(*line);
        if (answer == "C" || answer == "CANCEL")
            return TYesNoCancel::Cancel;
        std::optional<TOverwriteAnswer> yesNo = ParseOverwriteAnswer(answer);
        if (yesNo == TOverwriteAnswer::Yes || yesNo == TOverwriteAnswer::No)
            return yesNo == TOverwriteAnswer::Yes ? TYesNoCancel::Yes : TYesNoCancel::No;
    }
}

TOverwriteAnswer TTerminalMessageBoxes::AskOverwrite(const std::string& text)
{
    if (!FInteractive)
        return TOverwriteAnswer::Closed;
    BeforeOutput();
    for (;;) {
        std::fprintf(FOut, "%s\n[y]es, [n]o, [na] no to all, [ya] yes to all: ", WithLineEnds(text, "\n").c_str());
        std::fflush(FOut);
        std::optional<std::string> line = ReadAnswer();
        if (!line) {
            std::fputc('\n', FOut);
            return TOverwriteAnswer::Closed;
        }
        if (std::optional<TOverwriteAnswer> answer = ParseOverwriteAnswer(*line))
            return *answer;
    }
}

} // namespace velmora::cli
