// The system's message boxes and common dialogs behind the window's interfaces,
// the overwrite question as a small dialog of its own, and the helper that
// shows such a dialog modally.
#pragma once

#include <string>

#include "platform/UDialogs.h"
#include "window/UFileDialogs.h"
#include "window/win32/UWinApi.h"

namespace velmora {

// The overwrite question's buttons beyond Yes and No.
constexpr int IDNOTOALL = 100;
constexpr int IDYESTOALL = 101;
// The overwrite question's caption.
constexpr const wchar_t* OverwriteQuestionCaption = L"Confirm";

// Shows a dialog without controls of its own, modally over owner: proc makes
// its controls at WM_INITDIALOG (lParam: param) and ends it with EndDialog.
INT_PTR ShowModalDialog(HWND owner, DWORD style, DWORD exStyle, DLGPROC proc, LPARAM param);
// Gives a dialog the given client size and puts it in the middle of its owner (or its monitor).
void SizeAndCentre(HWND dialog, SIZE client);

// The program's texts break lines with a carriage return alone; controls need CR LF.
std::wstring DisplayText(const std::string& text);

// Message boxes owned by the active window.
class TWinMessageBoxes : public IMessageBoxes {
public:
    void ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    // Escape and the close box answer Cancel.
    TYesNoCancel AskYesNoCancel(const std::string& caption, const std::string& text) override;
    // Yes, No, No to All and Yes to All; Escape or the close box answer Closed.
    TOverwriteAnswer AskOverwrite(const std::string& text) override;
};

// The common dialogs: open and save, colour, and the folder browser.
class TWinFileDialogs : public IFileDialogs {
public:
    bool ExecuteOpen(const TFileDialogSettings& settings, std::vector<std::string>& files) override;
    bool ExecuteSave(const TFileDialogSettings& settings, std::string& file) override;
    bool ExecuteColor(TColor initial, TColor& chosen) override;
    bool BrowseFolder(const std::string& title, const std::string& initialDir, std::string& folder) override;

private:
    COLORREF FCustomColors[16] = {}; // the colour dialog's own colours, kept between showings
};

// "desc|patterns|desc|patterns" as the file dialogs take it: each part ended by
// a null character, the whole by a second one.
std::wstring FileDialogFilter(const std::string& filter);

} // namespace velmora
