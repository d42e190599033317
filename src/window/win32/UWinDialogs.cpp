#include "window/win32/UWinDialogs.h"

#include <algorithm>
#include <vector>

#include <commdlg.h>
#include <shobjidl.h>

#include "platform/USystemColors.h"
#include "platform/UText.h"

namespace velmora {

// ---- Modal dialogs of our own ------------------------------------------------

INT_PTR ShowModalDialog(HWND owner, DWORD style, DWORD exStyle, DLGPROC proc, LPARAM param)
{
    // A template without controls, menu, class or title: the words of a
    // DLGTEMPLATE, then three zero words.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = style;
    dialog->dwExtendedStyle = exStyle;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog, owner, proc, param);
}

void SizeAndCentre(HWND dialog, SIZE client)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    const SIZE outer = OuterSize(client, style, exStyle, WindowDpi(dialog));
    RECT around{};
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner || !GetWindowRect(owner, &around) || !IsWindowVisible(owner)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
        around = monitor.rcWork;
    }
    SetWindowPos(dialog, nullptr, (around.left + around.right - outer.cx) / 2, (around.top + around.bottom - outer.cy) / 2,
                 outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring DisplayText(const std::string& text)
{
    return WideText(WithLineEnds(text, "\r\n"));
}

// ---- Message boxes ------------------------------------------------------------

namespace {

UINT IconFlag(TMsgIcon icon)
{
    switch (icon) {
    case TMsgIcon::Error: return MB_ICONERROR;
    case TMsgIcon::Information: return MB_ICONINFORMATION;
    case TMsgIcon::Question: return MB_ICONQUESTION;
    case TMsgIcon::Warning: return MB_ICONWARNING;
    }
    return 0;
}

// The overwrite question: the question icon, the text, and the four buttons in a row.
struct TOverwriteQuestion {
    std::wstring Text;
    HFONT Font = nullptr;
};

INT_PTR CALLBACK OverwriteQuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        auto& question = *reinterpret_cast<TOverwriteQuestion*>(lParam);
        const int dpi = WindowDpi(dialog);
        auto s = [dpi](int length) { return Scale(length, dpi); };
        question.Font = MessageFont(dpi);
        SetPropW(dialog, L"VelmoraFont", question.Font);
        SetWindowTextW(dialog, OverwriteQuestionCaption);

        // The text's size, wrapped at a width that keeps the box readable.
        RECT textRect{0, 0, s(360), 0};
        HDC dc = GetDC(dialog);
        HGDIOBJ old = SelectObject(dc, question.Font);
        DrawTextW(dc, question.Text.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, old);
        ReleaseDC(dialog, dc);

        const int margin = s(12), icon = Scale(32, dpi);
        const int buttonWidth = s(80), buttonHeight = s(24), gap = s(6);
        const int rowWidth = 4 * buttonWidth + 3 * gap;
        const int textLeft = margin + icon + margin;
        const int textHeight = std::max(static_cast<int>(textRect.bottom), icon);
        const int width = std::max(textLeft + static_cast<int>(textRect.right) + margin, margin + rowWidth + margin);
        const int height = margin + textHeight + margin + buttonHeight + margin;

        HINSTANCE instance = GetModuleHandleW(nullptr);
        HWND picture = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, margin, margin, icon, icon,
                                       dialog, nullptr, instance, nullptr);
        SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_QUESTION)), 0);
        HWND text = CreateWindowExW(0, L"STATIC", question.Text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                    textLeft, margin, textRect.right, textHeight, dialog, nullptr, instance, nullptr);
        SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(question.Font), FALSE);
        const std::pair<int, const wchar_t*> buttons[] = {
            {IDYES, L"&Yes"}, {IDNO, L"&No"}, {IDNOTOALL, L"No to A&ll"}, {IDYESTOALL, L"Yes to &All"}};
        int left = width - margin - rowWidth;
        for (auto [id, caption] : buttons) {
            DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (id == IDYES ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            HWND button = CreateWindowExW(0, L"BUTTON", caption, style, left, height - margin - buttonHeight, buttonWidth,
                                          buttonHeight, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                          instance, nullptr);
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(question.Font), FALSE);
            left += buttonWidth + gap;
        }
        SizeAndCentre(dialog, {width, height});
        SetFocus(GetDlgItem(dialog, IDYES));
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDYES: case IDNO: case IDNOTOALL: case IDYESTOALL: case IDCANCEL:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        DeleteObject(RemovePropW(dialog, L"VelmoraFont"));
        return FALSE;
    }
    return FALSE;
}

} // namespace

void TWinMessageBoxes::ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon)
{
    MessageBoxW(GetActiveWindow(), DisplayText(text).c_str(), WideText(caption).c_str(), MB_OK | IconFlag(icon));
}

bool TWinMessageBoxes::AskYesNo(const std::string& caption, const std::string& text)
{
    return MessageBoxW(GetActiveWindow(), DisplayText(text).c_str(), WideText(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

TYesNoCancel TWinMessageBoxes::AskYesNoCancel(const std::string& caption, const std::string& text)
{
    switch (MessageBoxW(GetActiveWindow(), DisplayText(text).c_str(), WideText(caption).c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return TYesNoCancel::Yes;
    case IDNO: return TYesNoCancel::No;
    default: return TYesNoCancel::Cancel; // Escape and the close box too
    }
}

TOverwriteAnswer TWinMessageBoxes::AskOverwrite(const std::string& text)
{
    TOverwriteQuestion question{DisplayText(text)};
    const INT_PTR answer = ShowModalDialog(GetActiveWindow(), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                           WS_EX_DLGMODALFRAME, OverwriteQuestionProc, reinterpret_cast<LPARAM>(&question));
    switch (answer) {
    case IDYES: return TOverwriteAnswer::Yes;
    case IDNO: return TOverwriteAnswer::No;
    case IDNOTOALL: return TOverwriteAnswer::NoToAll;
    case IDYESTOALL: return TOverwriteAnswer::YesToAll;
    default: return TOverwriteAnswer::Closed;
    }
}

// ---- File dialogs --------------------------------------------------------------

std::wstring FileDialogFilter(const std::string& filter)
{
    std::wstring result = WideText(filter);
    std::replace(result.begin(), result.end(), L'|', L'\0');
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

namespace {

// The default extension as the dialogs take it: without "*" and ".".
std::wstring DefaultExtension(const std::string& ext)
{
    std::wstring result = WideText(ext);
    result.erase(0, result.find_first_not_of(L"*."));
    return result;
}

// What both file dialogs share; the buffer holds the chosen names.
struct TFileDialog {
    explicit TFileDialog(const TFileDialogSettings& settings)
        : Filter(FileDialogFilter(settings.Filter)), Title(WideText(settings.Title)),
          InitialDir(WideText(settings.InitialDir)), DefaultExt(DefaultExtension(settings.DefaultExt))
    {
        std::wstring name = WideText(settings.FileName);
        std::copy_n(name.begin(), std::min(name.size(), Buffer.size() - 1), Buffer.begin());
        Dialog.lStructSize = sizeof Dialog;
        Dialog.hwndOwner = GetActiveWindow();
        Dialog.lpstrFilter = Filter.size() > 2 ? Filter.c_str() : nullptr;
        Dialog.lpstrFile = Buffer.data();
        Dialog.nMaxFile = static_cast<DWORD>(Buffer.size());
        Dialog.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
        Dialog.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
        Dialog.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
        Dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    }

    std::wstring Filter, Title, InitialDir, DefaultExt;
    // The folder and every chosen name of a multiple choice must fit; one that
    // does not ends the dialog as if cancelled.
    std::vector<wchar_t> Buffer = std::vector<wchar_t>(65520, L'\0');
    OPENFILENAMEW Dialog{};
};

} // namespace

bool TWinFileDialogs::ExecuteOpen(const TFileDialogSettings& settings, std::vector<std::string>& files)
{
    TFileDialog open(settings);
    if (settings.MultiSelect)
        open.Dialog.Flags |= OFN_ALLOWMULTISELECT;
    if (settings.MustExist)
        open.Dialog.Flags |= OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&open.Dialog))
        return false;
    // One file: its full path. Several: the folder, then each name, each ended by a null character.
    const wchar_t* first = open.Buffer.data();
    const wchar_t* next = first + wcslen(first) + 1;
    files.clear();
    if (!settings.MultiSelect || *next == L'\0') {
        files.push_back(Utf8Text(first));
        return true;
    }
    std::wstring folder = first;
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    for (; *next; next += wcslen(next) + 1)
        files.push_back(Utf8Text(folder + next));
    return !files.empty();
}

bool TWinFileDialogs::ExecuteSave(const TFileDialogSettings& settings, std::string& file)
{
    TFileDialog save(settings);
    if (settings.OverwritePrompt)
        save.Dialog.Flags |= OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&save.Dialog))
        return false;
    file = Utf8Text(save.Buffer.data());
    return true;
}

bool TWinFileDialogs::ExecuteColor(TColor initial, TColor& chosen)
{
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.rgbResult = static_cast<COLORREF>(ColorToRGB(initial));
    dialog.lpCustColors = FCustomColors;
    dialog.Flags = CC_RGBINIT | CC_ANYCOLOR;
    if (!ChooseColorW(&dialog))
        return false;
    chosen = static_cast<TColor>(dialog.rgbResult & 0xFFFFFF);
    return true;
}

bool TWinFileDialogs::BrowseFolder(const std::string& title, const std::string& initialDir, std::string& folder)
{
    // The dialog is a COM object; the thread may not have COM yet.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    bool chosen = false;
    IFileOpenDialog* dialog = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)))) {
        FILEOPENDIALOGOPTIONS options = 0;
        dialog->GetOptions(&options);
        dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
        if (!title.empty())
            dialog->SetTitle(WideText(title).c_str());
        IShellItem* start = nullptr;
        if (!initialDir.empty() &&
            SUCCEEDED(SHCreateItemFromParsingName(WideText(initialDir).c_str(), nullptr, IID_PPV_ARGS(&start)))) {
            dialog->SetFolder(start);
            start->Release();
        }
        IShellItem* result = nullptr;
        if (SUCCEEDED(dialog->Show(GetActiveWindow())) && SUCCEEDED(dialog->GetResult(&result))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                folder = Utf8Text(path);
                CoTaskMemFree(path);
                chosen = true;
            }
            result->Release();
        }
        dialog->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

} // namespace velmora
