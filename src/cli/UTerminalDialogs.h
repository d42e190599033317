// Message boxes of velmora-cli: messages go to standard error, and the
// overwrite question is asked on the terminal when there is one to answer it.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "platform/UDialogs.h"

namespace velmora::cli {

class TTerminalMessageBoxes : public IMessageBoxes {
public:
    // Questions are read from inputFd only when interactive; otherwise every
    // question counts as dismissed without an answer.
    TTerminalMessageBoxes(std::FILE* out, int inputFd, bool interactive)
        : FOut(out), FInputFd(inputFd), FInteractive(interactive)
    {
    }

    // Called before anything is written (to take a progress line off the screen).
    void SetBeforeOutput(std::function<void()> hook) { FBeforeOutput = std::move(hook); }
    // Polled while waiting for an answer; true ends the wait as if unanswered.
    void SetCancelCheck(std::function<bool()> check) { FCancelled = std::move(check); }

    void ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    // Unanswered (no terminal, end of input): Cancel.
    TYesNoCancel AskYesNoCancel(const std::string& caption, const std::string& text) override;
    TOverwriteAnswer AskOverwrite(const std::string& text) override;

private:
    void BeforeOutput();
    // A line typed at the terminal; empty when the input ended or the wait was cancelled.
    std::optional<std::string> ReadAnswer();

    std::FILE* FOut; // not owned
    int FInputFd;
    bool FInteractive;
    std::function<void()> FBeforeOutput;
    std::function<bool()> FCancelled;
};

// The answer meant by a typed line, ignoring letter case and extra blanks:
// "y"/"yes", "n"/"no", "na"/"no to all", "ya"/"yes to all"; none for anything else.
std::optional<TOverwriteAnswer> ParseOverwriteAnswer(const std::string& line);

} // namespace velmora::cli
