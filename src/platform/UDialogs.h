// Modal questions and messages, and the message pump, injected wherever the
// model needs them so that every part runs without a display.
#pragma once

#include <functional>
#include <string>

namespace velmora {

enum class TMsgIcon { Error, Information, Question, Warning };

// The answers of a question with Cancel; Cancel also when it was dismissed unanswered.
enum class TYesNoCancel { Yes, No, Cancel };

// The answers of the overwrite question; Closed when it was dismissed unanswered.
enum class TOverwriteAnswer { Yes, No, NoToAll, YesToAll, Closed };

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // A message with an OK button.
    virtual void ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
    // A question with Yes, No and Cancel.
    virtual TYesNoCancel AskYesNoCancel(const std::string& caption, const std::string& text) = 0;
    // The confirmation with Yes, No, No to All and Yes to All.
    virtual TOverwriteAnswer AskOverwrite(const std::string& text) = 0;
};

// Lets pending window messages through during long work; the only way a stop
// request reaches a running conversion.
using TProcessMessages = std::function<void()>;

} // namespace velmora
