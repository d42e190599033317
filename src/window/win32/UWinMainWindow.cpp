// The main window's construction: the adapters over its controls, the
// window's logic made on them, and the forwarding of the system's messages to
// the logic's handlers.
#include "window/win32/UWinMainWindow.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>

#include <shellapi.h>

#include "platform/UText.h"
#include "window/win32/UWinAbout.h"
#include "window/win32/UWinControls.h"
#include "window/win32/UWinMessageLoop.h"

namespace velmora {

namespace {

void RegisterClasses(WNDPROC windowProc, WNDPROC sheetProc)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    if (GetClassInfoExW(instance, TWinMainWindow::ClassName, &window))
        return;
    window.lpfnWndProc = windowProc;
    window.hInstance = instance;
    window.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    window.lpszClassName = TWinMainWindow::ClassName;
    RegisterClassExW(&window);
    WNDCLASSEXW sheet = window;
    sheet.lpfnWndProc = sheetProc;
    sheet.hIcon = nullptr;
    sheet.lpszClassName = TWinMainWindow::SheetClassName;
    RegisterClassExW(&sheet);
}

constexpr DWORD WindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD WindowExStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;

// The letter after a single "&" in a caption, or 0.
wchar_t MnemonicOf(const std::wstring& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] != L'&')
            return static_cast<wchar_t>(std::towlower(caption[i + 1]));
        ++i;
    }
    return 0;
}

bool IsPushButton(HWND control)
{
    wchar_t className[16] = L"";
    GetClassNameW(control, className, 16);
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return lstrcmpiW(className, L"BUTTON") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

} // namespace

struct TWinMainWindow::TAdapters {
    TWinWindowPlacement Window;
    TWinPageControl PageControl;
    TWinCommand ActAddToList, ActRemoveFromList, ActConvert, ActAddName, ActRemoveName, ActUpdateName, ActSaveOpts;
    TWinButton BtnAdd, BtnConvert, btnExit;
    TWinListView SrcFilesList;
    TWinListColumns SrcFilesColumns;
    TWinProgressBar ProgCurr, ProgTotal;
    TWinListBox NamesList;
    TWinText NameEdit, NameImgEdit, CustFrontHTMLMemo, CustEndHTMLMemo;
    TWinSwatch ShowNameCol;
    TWinComboBox ColorCombo, ProfileListCombo;
    TWinStatusPanel HintPanel, StatePanel;
    // The option table's controls, each adapted as its kind says.
    std::map<std::string, TWinText, std::less<>> Texts;
    std::map<std::string, TWinCheck, std::less<>> Checks;
    std::map<std::string, TWinComboBox, std::less<>> Choices;
    std::map<HWND, std::unique_ptr<TWinSwatch>> Swatches; // the page colours'; ShowNameCol is above
};

TWinMainWindow::TWinMainWindow(const TWindowServices& services) : FServices(services)
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                     ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    RegisterClasses(WindowProc, SheetProc);
    FDpi = SystemDpi();
    const SIZE size{Scale(InitialSize.cx, FDpi), Scale(InitialSize.cy, FDpi)};
    FWindow = CreateWindowExW(WindowExStyle, ClassName, L"Velmora", WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx,
                              size.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!FWindow)
        throw std::runtime_error("the main window cannot be made");
    // The monitor it landed on may have another resolution than the system's.
    if (const int dpi = WindowDpi(FWindow); dpi != FDpi) {
        FDpi = dpi;
        SetWindowPos(FWindow, nullptr, 0, 0, Scale(InitialSize.cx, FDpi), Scale(InitialSize.cy, FDpi),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CreateControls();
    ApplyFonts();

    auto hint = [this](const char* name) -> std::string& { return FLayout.Find(Control(name))->Hint; };
    auto picture = [this](const char* name, TPicture own) {
        HWND button = Control(name);
        return [this, button, own](TButtonPicture p) { SetPicture(button, p == TButtonPicture::Stop ? TPicture::Stop : own,
                                                                  FPictureOf[button].second); };
    };
    auto command = [this](std::initializer_list<const char*> buttons, bool enabled) {
        std::vector<HWND> bound;
        for (const char* name : buttons)
            bound.push_back(Control(name));
        return TWinCommand(bound, enabled);
    };
    FAdapters.reset(new TAdapters{
        .Window = TWinWindowPlacement(FWindow, MinimumSize),
        .PageControl = TWinPageControl(PageControl, Sheets),
        .ActAddToList = command({"BtnAdd"}, true),
        .ActRemoveFromList = command({"btnRemove"}, false),
        .ActConvert = command({"BtnConvert"}, false),
        .ActAddName = command({"BtnAddName"}, false),
        .ActRemoveName = command({"BtnRemoveName"}, false),
        .ActUpdateName = command({"BtnUpdate"}, false),
        .ActSaveOpts = command({"BtnSaveOpts"}, false),
        .BtnAdd = TWinButton(Control("BtnAdd"), hint("BtnAdd"), picture("BtnAdd", TPicture::Add)),
        .BtnConvert = TWinButton(Control("BtnConvert"), hint("BtnConvert"), picture("BtnConvert", TPicture::Convert)),
        .btnExit = TWinButton(Control("btnExit"), hint("btnExit"), picture("btnExit", TPicture::Exit)),
        .SrcFilesList = TWinListView(SrcFilesList),
        .SrcFilesColumns = TWinListColumns(SrcFilesList),
        .ProgCurr = TWinProgressBar(Control("ProgCurr")),
        .ProgTotal = TWinProgressBar(Control("ProgTotal")),
        .NamesList = TWinListBox(NamesList),
        .NameEdit = TWinText(Control("NameEdit")),
        .NameImgEdit = TWinText(Control("NameImgEdit")),
        .CustFrontHTMLMemo = TWinText(Control("CustFrontHTMLMemo")),
        .CustEndHTMLMemo = TWinText(Control("CustEndHTMLMemo")),
        .ShowNameCol = TWinSwatch(Control("ShowNameCol"), THTMLform::UnloadedSwatchColor),
        .ColorCombo = TWinComboBox(ColorCombo),
        .ProfileListCombo = TWinComboBox(Control("ProfileListCombo")),
        .HintPanel = TWinStatusPanel(StatusBar, 0),
        .StatePanel = TWinStatusPanel(StatusBar, 2),
        .Texts = {},
        .Checks = {},
        .Choices = {},
        .Swatches = {},
    });
    // The file list's two columns: the file name, and the status taking the rest.
    FAdapters->SrcFilesColumns.SetColumns({{"File Name", Scale(189, FDpi), TAlignment::Left, false},
                                           {"Status", 0, TAlignment::Center, true}});
    TFormControls controls = MakeControls();
    ForwardOptionControls(controls);
    FForm = std::make_unique<THTMLform>(FServices, controls);
    ForwardCommands();
    Resized();
}

TWinMainWindow::~TWinMainWindow()
{
    // The logic goes first: its placement still reads the window, and it
    // releases the model. Events the destruction sets off find no logic.
    FForm.reset();
    if (FWindow)
        DestroyWindow(FWindow);
    if (FFont)
        DeleteObject(FFont);
    if (FTabImages)
        ImageList_Destroy(FTabImages);
}

bool TWinMainWindow::FormCreate()
{
    return FForm->FormCreate();
}

void TWinMainWindow::Show()
{
    Forward([](THTMLform& form) { form.FormShow(); });
    HWND focus = GetFocus();
    // A window to be minimised is shown normal first.
    const int show = FAdapters->Window.FirstShowCommand();
    ShowWindow(FWindow, show == SW_SHOWMINIMIZED ? SW_SHOWNORMAL : show);
    if (show == SW_SHOWMINIMIZED)
        ShowWindow(FWindow, SW_MINIMIZE);
    UpdateWindow(FWindow);
    // Start-up put the focus on a control while the window was hidden.
    if (focus && IsChild(FWindow, focus))
        SetFocus(focus);
}

void TWinMainWindow::Idle()
{
    Forward([](THTMLform& form) { form.ApplicationIdle(); });
}

HWND TWinMainWindow::Control(std::string_view name) const
{
    const TPlacedControl* control = FLayout.Find(name);
    return control ? control->Window : nullptr;
}

std::string TWinMainWindow::HintOf(std::string_view name) const
{
    const TPlacedControl* control = FLayout.Find(name);
    return control ? control->Hint : std::string();
}

TFormControls TWinMainWindow::MakeControls()
{
    TFormControls c = BindFormControls(*FAdapters);
    c.ShowAboutBox = [this](const std::string& iniFileName) { ShowAboutBox(iniFileName); };
    return c;
}

void TWinMainWindow::Forward(const std::function<void(THTMLform&)>& handler)
{
    if (FForm && FWindow)
        FForm->Guarded([this, &handler] { handler(*FForm); });
}

// ---- Forwarding ---------------------------------------------------------------------

// Each row of the option table: its control, found by the row's name, adapted
// as the row's kind says; an edit or click in it is an options change, and
// leaving it copies its page back. A row without its control is left out, and
// the logic refuses to be made without it.
void TWinMainWindow::ForwardOptionControls(TFormControls& controls)
{
    TAdapters& a = *FAdapters;
    for (const TOptionControl& row : OptionControls()) {
        HWND control = Control(row.Name);
        if (!control)
            continue;
        auto changed = [this, &row] { Forward([&row](THTMLform& form) { form.OptionsChanged(row); }); };
        auto left = [this, &row] { Forward([&row](THTMLform& form) { form.OptionControlExit(row); }); };
        switch (row.Kind) {
        case TOptionKind::Edit: case TOptionKind::Memo: {
            TWinText& text = a.Texts.emplace(row.Name, TWinText(control)).first->second;
            text.OnChange = changed;
            controls.Options[row.Name] = static_cast<ITextControl*>(&text);
            FCommands[control] = [&text, left](int code) {
                if (code == EN_CHANGE)
                    text.Edited();
                else if (code == EN_KILLFOCUS)
                    left();
            };
            break;
        }
        case TOptionKind::Check: {
            TWinCheck& check = a.Checks.emplace(row.Name, TWinCheck(control)).first->second;
            check.OnChange = changed;
            controls.Options[row.Name] = static_cast<ICheckControl*>(&check);
            FCommands[control] = [&check, left](int code) {
                if (code == BN_CLICKED)
                    check.Clicked();
                else if (code == BN_KILLFOCUS)
                    left();
            };
            break;
        }
        case TOptionKind::Choice: {
            const auto caption = FCaptionOf.find(control);
            HWND label = caption == FCaptionOf.end() ? nullptr : caption->second;
            TWinComboBox& choice = a.Choices.emplace(row.Name, TWinComboBox(control, label)).first->second;
            controls.Options[row.Name] = static_cast<IComboBox*>(&choice);
            // The user's choice only: the program's selections send no notice.
            FCommands[control] = [control, changed, left](int code) {
                if (code == CBN_SELENDOK || (code == CBN_SELCHANGE && !SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0)))
                    changed();
                else if (code == CBN_KILLFOCUS)
                    left();
            };
            break;
        }
        case TOptionKind::Swatch: {
            // Swatches never take the focus; the colour buttons change them.
            auto& swatch = a.Swatches[control] = std::make_unique<TWinSwatch>(control, THTMLform::UnloadedSwatchColor);
            controls.Options[row.Name] = static_cast<IColorControl*>(swatch.get());
            break;
        }
        }
    }
}

void TWinMainWindow::ForwardCommands()
{
    using THandler = void (THTMLform::*)();
    const std::pair<const char*, THandler> buttons[] = {
        {"BtnAdd", &THTMLform::ActAddToListExecute},         {"btnRemove", &THTMLform::ActRemoveFromListExecute},
        {"BtnConvert", &THTMLform::BtnConvertClick},         {"BtnAbout", &THTMLform::ActAboutExecute},
        {"BtnAddName", &THTMLform::ActAddNameExecute},       {"BtnUpdate", &THTMLform::ActUpdateNameExecute},
        {"BtnRemoveName", &THTMLform::ActRemoveNameExecute}, {"BtnSaveOpts", &THTMLform::ActSaveOptsExecute},
        {"BtnLoadProfile", &THTMLform::ActOpenProfileExecute}, {"BitBtn1", &THTMLform::ActSaveNewOptsExecute},
        {"BtnClearMRU", &THTMLform::ActClearMRUExecute},
    };
    for (auto [name, handler] : buttons) {
        FCommands[Control(name)] = [this, handler](int code) {
            if (code == BN_CLICKED)
                Forward(handler);
        };
    }
    FCommands[Control("btnExit")] = [this](int code) {
        if (code == BN_CLICKED)
            SendMessageW(FWindow, WM_CLOSE, 0, 0);
    };
    // The colour buttons, each with the selector of its swatch.
    for (auto [button, selector] : FColorSelectors) {
        FCommands[button] = [this, selector](int code) {
            if (code == BN_CLICKED)
                Forward([selector](THTMLform& form) { form.ActPickColExecute(selector); });
        };
    }
    for (const TBrowseField& field : THTMLform::BrowseFields()) {
        std::string name = field.Name;
        FCommands[Control(name + "Browse")] = [this, name](int code) {
            if (code == BN_CLICKED)
                Forward([&name](THTMLform& form) { form.BrowseClick(name); });
        };
    }

    TAdapters& a = *FAdapters;
    a.NameEdit.OnChange = [this] { Forward(&THTMLform::NameEditChange); };
    FCommands[Control("NameEdit")] = [&a](int code) {
        if (code == EN_CHANGE)
            a.NameEdit.Edited();
    };
    FCommands[NamesList] = [this](int code) {
        if (code == LBN_SELCHANGE)
            Forward(&THTMLform::NamesListClick);
    };
    FCommands[ColorCombo] = [this](int code) {
        if (code == CBN_SELCHANGE || code == CBN_SELENDOK)
            Forward(&THTMLform::ColorComboChange);
    };
    HWND profiles = Control("ProfileListCombo");
    FCommands[profiles] = [this, profiles](int code) {
        // Moving through the open list switches nothing; choosing does.
        if (code == CBN_SELENDOK || (code == CBN_SELCHANGE && !SendMessageW(profiles, CB_GETDROPPEDSTATE, 0, 0)))
            Forward(&THTMLform::ProfileListComboChange);
    };
}

void TWinMainWindow::ShowAboutBox(const std::string& iniFileName)
{
    ShowWinAboutBox(FWindow, FServices.OpenUrl, iniFileName);
}

// ---- Messages ---------------------------------------------------------------------------

LRESULT CALLBACK TWinMainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TWinMainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->FWindow = window;
    }
    auto* self = reinterpret_cast<TWinMainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->FWindow = nullptr;
        if (self->OnClosed)
            self->OnClosed();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

// A sheet passes its controls' notices on to the window.
LRESULT CALLBACK TWinMainWindow::SheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_CTLCOLORSTATIC:
        return SendMessageW(GetParent(sheet), message, wParam, lParam);
    }
    return DefWindowProcW(sheet, message, wParam, lParam);
}

LRESULT TWinMainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_VELMORA_PRETRANSLATE:
        return PreTranslate(*reinterpret_cast<MSG*>(lParam));
    case WM_COMMAND:
        // Escape reaches the window as the dialog key Cancel.
        if (!lParam && LOWORD(wParam) == IDCANCEL)
            Forward(&THTMLform::EscapeKey);
        else
            Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        Notify(*reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (!FAdapters)
            break;
        if (control == Control("ShowNameCol"))
            return reinterpret_cast<LRESULT>(FAdapters->ShowNameCol.Brush());
        if (auto found = FAdapters->Swatches.find(control); found != FAdapters->Swatches.end())
            return reinterpret_cast<LRESULT>(found->second->Brush());
        break;
    }
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_COMBOBOX) {
            item.itemHeight = static_cast<UINT>(Scale(16, FDpi));
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem == ColorCombo) {
            DrawColorItem(item);
            return TRUE;
        }
        break;
    }
    case WM_SIZE:
        Resized();
        return 0;
    case WM_GETMINMAXINFO: {
        auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
        limits.ptMinTrackSize = {Scale(MinimumSize.cx, FDpi), Scale(MinimumSize.cy, FDpi)};
        return 0;
    }
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wParam), *reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_ACTIVATE:
        // The focus leaves with the window and comes back to the same control.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            FFocus = focus && IsChild(FWindow, focus) ? focus : FFocus;
        } else if (FFocus && IsWindow(FFocus) && IsWindowVisible(FFocus)) {
            SetFocus(FFocus);
            return 0;
        }
        break;
    case WM_DROPFILES:
        FilesDropped(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE: {
        bool mayClose = false;
        Forward([&mayClose](THTMLform& form) { mayClose = form.CloseQuery(); });
        if (mayClose)
            DestroyWindow(FWindow);
        return 0;
    }
    }
    return DefWindowProcW(FWindow, message, wParam, lParam);
}

bool TWinMainWindow::PreTranslate(MSG& message)
{
    switch (message.message) {
    case WM_MOUSEMOVE:
        PointedAt(message.hwnd, message.pt);
        break;
    case WM_SYSCHAR:
        if (Mnemonic(static_cast<wchar_t>(message.wParam)))
            return true;
        break;
    case WM_KEYDOWN:
        // Ctrl+Tab and Ctrl+Shift+Tab go through the tabs from every control.
        if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
            const bool backwards = GetKeyState(VK_SHIFT) < 0;
            Forward([backwards](THTMLform& form) { form.CtrlTabKey(backwards); });
            return true;
        }
        // Return on a converted row opens its page (the dialog keys would take it).
        if (message.wParam == VK_RETURN && message.hwnd == SrcFilesList) {
            const int row = ListView_GetNextItem(SrcFilesList, -1, LVNI_FOCUSED);
            Forward([row](THTMLform& form) { form.OpenPage(row); });
            return true;
        }
        if (message.hwnd == ColorCombo)
            Forward(&THTMLform::ColorComboKeyDown);
        break;
    case WM_CHAR: case WM_LBUTTONUP:
        // The names list shows the chosen entry after it has taken the key or click.
        if (message.hwnd == NamesList) {
            DispatchMessageW(&message);
            if (message.message == WM_LBUTTONUP) {
                Forward(&THTMLform::NamesListClick);
                return true;
            }
            const std::string typed = Utf8Text(std::wstring(1, static_cast<wchar_t>(message.wParam)));
            const bool withCtrlOrAlt = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
            Forward([&](THTMLform& form) { form.NamesListKeyPress(typed, withCtrlOrAlt); });
            return true;
        }
        break;
    }
    // Tab, the arrow keys, Enter and Escape as in a dialog.
    return IsDialogMessageW(FWindow, &message) != FALSE;
}

// Alt and a letter: Alt+S saves from every tab; any other letter presses the
// button of the shown tab whose caption marks it, or moves to the control
// after the label that marks it.
bool TWinMainWindow::Mnemonic(wchar_t key)
{
    key = static_cast<wchar_t>(std::towlower(key));
    if (key == L's') {
        Forward(&THTMLform::SaveShortcut);
        return true;
    }
    HWND sheet = Sheets[static_cast<std::size_t>(FAdapters->PageControl.ActivePage())];
    if (!IsWindowEnabled(sheet))
        return false;
    for (const TPlacedControl& c : FLayout.Controls()) {
        if (GetParent(c.Window) != sheet || !IsWindowVisible(c.Window) || !IsWindowEnabled(c.Window))
            continue;
        wchar_t caption[128] = L"";
        GetWindowTextW(c.Window, caption, 128);
        if (MnemonicOf(caption) != key)
            continue;
        if (IsPushButton(c.Window))
            Command(c.Window, BN_CLICKED);
        else
            SetFocus(GetNextDlgTabItem(FWindow, c.Window, FALSE));
        return true;
    }
    return false;
}

// The hint of the control under the mouse, or of its nearest enclosing
// control that has one; labels and frames take no mouse, so on a sheet the
// place under the mouse names them.
void TWinMainWindow::PointedAt(HWND window, POINT screen)
{
    std::string hint;
    for (HWND w = window; w && w != FWindow && hint.empty(); w = GetParent(w)) {
        if (std::find(Sheets.begin(), Sheets.end(), w) != Sheets.end()) {
            POINT inSheet = screen;
            ScreenToClient(w, &inSheet);
            for (const TPlacedControl* c = FLayout.At(w, inSheet); c && hint.empty(); c = FLayout.Parent(*c))
                hint = c->Hint;
        }
        if (const TPlacedControl* c = FLayout.Find(w); c && hint.empty())
            hint = c->Hint;
    }
    if (hint == FHint)
        return;
    FHint = hint;
    Forward([&hint](THTMLform& form) { form.ApplicationHint(hint); });
}

void TWinMainWindow::Command(HWND control, int code)
{
    if (auto found = FCommands.find(control); found != FCommands.end())
        found->second(code);
}

void TWinMainWindow::Notify(const NMHDR& header)
{
    if (header.hwndFrom == PageControl && header.code == TCN_SELCHANGE) {
        FAdapters->PageControl.ShowActiveSheet();
    } else if (header.hwndFrom == SrcFilesList && header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        // A row the user selected or deselected; not the program's rebuilding of the list.
        if (!FAdapters->SrcFilesList.IsChanging() && (change.uChanged & LVIF_STATE) &&
            ((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) {
            const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
            Forward([selected](THTMLform& form) { form.SrcFilesListSelectItem(selected); });
        }
    } else if (header.hwndFrom == SrcFilesList && header.code == NM_DBLCLK) {
        const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
        Forward([row](THTMLform& form) { form.OpenPage(row); });
    } else if (header.hwndFrom == SrcFilesList && header.code == NM_RCLICK) {
        PageMenu(reinterpret_cast<const NMITEMACTIVATE&>(header));
    } else if (header.code == HDN_ENDTRACKW || header.code == HDN_ENDTRACKA) {
        // The file name column was resized: the status column takes the rest.
        PostMessageW(FWindow, WM_SIZE, 0, 0);
    }
}

// A converted row offers its page and its folder.
void TWinMainWindow::PageMenu(const NMITEMACTIVATE& click)
{
    const int row = click.iItem;
    if (!FForm || !FForm->CanOpenPage(row))
        return;
    enum { OpenPageItem = 1, OpenFolderItem };
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, OpenPageItem, L"Open page");
    AppendMenuW(menu, MF_STRING, OpenFolderItem, L"Open folder");
    POINT at = click.ptAction;
    ClientToScreen(SrcFilesList, &at);
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, FWindow, nullptr);
    DestroyMenu(menu);
    if (chosen == OpenPageItem)
        Forward([row](THTMLform& form) { form.OpenPage(row); });
    else if (chosen == OpenFolderItem)
        Forward([row](THTMLform& form) { form.OpenPageFolder(row); });
}

void TWinMainWindow::Resized()
{
    if (!StatusBar)
        return;
    RECT client;
    GetClientRect(FWindow, &client);
    SendMessageW(StatusBar, WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(StatusBar, &bar);
    // The hint panel takes what "Status :" and the state panel leave.
    HDC dc = GetDC(StatusBar);
    HGDIOBJ old = SelectObject(dc, FFont);
    SIZE converting{};
    GetTextExtentPoint32W(dc, L"Converting...", 13, &converting);
    SelectObject(dc, old);
    ReleaseDC(StatusBar, dc);
    const int state = std::max<int>(Scale(50, FDpi), converting.cx + Scale(28, FDpi));
    const int parts[3] = {std::max(0, static_cast<int>(client.right) - Scale(50, FDpi) - state),
                          std::max(0, static_cast<int>(client.right) - state), -1};
    SendMessageW(StatusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));

    RECT tabs{0, 0, client.right, client.bottom - (bar.bottom - bar.top)};
    MoveWindow(PageControl, tabs.left, tabs.top, tabs.right, tabs.bottom, TRUE);
    SendMessageW(PageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&tabs));
    for (HWND sheet : Sheets) {
        MoveWindow(sheet, tabs.left, tabs.top, tabs.right - tabs.left, tabs.bottom - tabs.top, TRUE);
        FLayout.Arrange(sheet, FDpi);
    }
    if (FAdapters)
        FAdapters->SrcFilesColumns.FitLastColumn();
}

void TWinMainWindow::DpiChanged(int dpi, const RECT& suggested)
{
    const int old = FDpi;
    FDpi = dpi;
    ApplyFonts();
    // Pictures and the file name column keep their size on the screen.
    for (auto [button, picture] : FPictureOf)
        SetPicture(button, picture.first, picture.second);
    std::vector<TListColumn> columns = FAdapters->SrcFilesColumns.Columns();
    for (TListColumn& column : columns)
        column.Width = MulDiv(column.Width, dpi, old);
    FAdapters->SrcFilesColumns.SetColumns(columns);
    SetWindowPos(FWindow, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinMainWindow::ApplyFonts()
{
    HFONT old = FFont;
    FFont = MessageFont(FDpi);
    for (HWND control : {PageControl, StatusBar, Tips})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
    for (const TPlacedControl& c : FLayout.Controls())
        SendMessageW(c.Window, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
    if (old)
        DeleteObject(old);
}

void TWinMainWindow::SetPicture(HWND button, TPicture picture, int size)
{
    FPictureOf[button] = {picture, size};
    const int pixels = Scale(size, FDpi);
    if (button != Control("BtnConvert")) {
        SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(FPictures.Icon(picture, pixels)));
        return;
    }
    // The large button shows its picture above its caption.
    BUTTON_IMAGELIST list{FPictures.List(picture, pixels), {0, Scale(2, FDpi), 0, Scale(2, FDpi)},
                          BUTTON_IMAGELIST_ALIGN_TOP};
    SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
}

// An entry of the colour drop-down: a swatch of its colour, without a name.
void TWinMainWindow::DrawColorItem(const DRAWITEMSTRUCT& item)
{
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(item.itemID) >= 0) {
        RECT swatch = item.rcItem;
        InflateRect(&swatch, -Scale(3, FDpi), -Scale(2, FDpi));
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(item.itemData));
        FillRect(item.hDC, &swatch, brush);
        DeleteObject(brush);
        FrameRect(item.hDC, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

// Files dropped from the desktop onto the file list join it as the open dialog's do.
void TWinMainWindow::FilesDropped(HDROP drop)
{
    POINT at;
    DragQueryPoint(drop, &at);
    ClientToScreen(FWindow, &at);
    RECT list;
    GetWindowRect(SrcFilesList, &list);
    std::vector<std::string> files;
    if (PtInRect(&list, at) && IsWindowVisible(SrcFilesList)) {
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
            path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
            const DWORD attributes = GetFileAttributesW(path.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
                files.push_back(Utf8Text(path));
        }
    }
    DragFinish(drop);
    if (!files.empty())
        Forward([&files](THTMLform& form) { form.FilesDropped(files); });
}

} // namespace velmora
