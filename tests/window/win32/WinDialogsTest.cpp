// The overwrite question, a small dialog of its own: each of its four buttons
// gives its answer, and closing it gives none; the question with Cancel
// gives each of its answers. Each is answered from a timer once it is up, as
// the user would.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "platform/UText.h"
#include "window/win32/UWinControls.h"
#include "window/win32/UWinDialogs.h"

namespace velmora::test {
namespace {

// What the timer does to the question once it is up, and what it saw of it.
struct TAnswering {
    const wchar_t* Caption = nullptr;
    int Button = 0; // 0: close the box instead
    std::vector<std::string> Captions;
    std::vector<std::string> Texts;
    bool Seen = false;
};
TAnswering Answering;

BOOL CALLBACK Collect(HWND child, LPARAM)
{
    wchar_t className[16] = L"";
    GetClassNameW(child, className, 16);
    (lstrcmpiW(className, L"BUTTON") == 0 ? Answering.Captions : Answering.Texts).push_back(WindowText(child));
    return TRUE;
}

void CALLBACK Answer(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND question = FindWindowW(L"#32770", Answering.Caption);
    if (!question)
        return;
    KillTimer(nullptr, timer);
    Answering.Seen = true;
    EnumChildWindows(question, Collect, 0);
    if (Answering.Button)
        SendMessageW(GetDlgItem(question, Answering.Button), BM_CLICK, 0, 0);
    else
        SendMessageW(question, WM_CLOSE, 0, 0);
}

// Asks the question with the timer set to press button (0: close) in the box of that caption.
template <class Ask>
auto AnswerBy(const wchar_t* caption, int button, Ask ask)
{
    Answering = TAnswering();
    Answering.Caption = caption;
    Answering.Button = button;
    SetTimer(nullptr, 0, 10, Answer);
    return ask();
}

TEST(WinMessageBoxes, EachButtonOfTheOverwriteQuestionGivesItsAnswer)
{
    const std::pair<int, TOverwriteAnswer> buttons[] = {
        {IDYES, TOverwriteAnswer::Yes},
        {IDNO, TOverwriteAnswer::No},
        {IDNOTOALL, TOverwriteAnswer::NoToAll},
        {IDYESTOALL, TOverwriteAnswer::YesToAll},
        {0, TOverwriteAnswer::Closed},
    };
    TWinMessageBoxes boxes;
    for (auto [button, answer] : buttons) {
        SCOPED_TRACE(button);
        const auto given = AnswerBy(OverwriteQuestionCaption, button,
                                    [&] { return boxes.AskOverwrite("Do you want to replace the existing file?\rpage.htm"); });
        EXPECT_EQ(given, answer);
        ASSERT_TRUE(Answering.Seen);
        EXPECT_EQ(Answering.Captions, (std::vector<std::string>{"&Yes", "&No", "No to A&ll", "Yes to &All"}));
        EXPECT_EQ(Answering.Texts.at(1), "Do you want to replace the existing file?\r\npage.htm");
    }
}

TEST(WinMessageBoxes, QuestionWithCancelGivesEachAnswerAndClosingCancels)
{
    const std::pair<int, TYesNoCancel> buttons[] = {
        {IDYES, TYesNoCancel::Yes},
        {IDNO, TYesNoCancel::No},
        {IDCANCEL, TYesNoCancel::Cancel},
        {0, TYesNoCancel::Cancel},
    };
    TWinMessageBoxes boxes;
    for (auto [button, answer] : buttons) {
        SCOPED_TRACE(button);
        const auto given = AnswerBy(L"Save changes", button,
                                    [&] { return boxes.AskYesNoCancel("Save changes", "The profile has changed.\rSave it?"); });
        EXPECT_EQ(given, answer);
        ASSERT_TRUE(Answering.Seen);
        EXPECT_NE(std::find(Answering.Texts.begin(), Answering.Texts.end(), "The profile has changed.\r\nSave it?"),
                  Answering.Texts.end());
    }
}

} // namespace
} // namespace velmora::test
