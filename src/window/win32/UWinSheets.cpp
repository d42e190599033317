// The main window's controls: the five tabs with their sheets, every control of
// each sheet in its keyboard order with its place (its caption and hint come
// from the window's table of texts), and the status bar. Every control gets the name the window's logic and the tests
// know it by; the option controls are found again by the names of the option table.
#include <iterator>

#include "platform/UText.h"
#include "window/win32/UWinControls.h"
#include "window/win32/UWinMainWindow.h"

namespace velmora {

namespace {

// A design rectangle from its left, top, width and height.
constexpr RECT R(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

constexpr DWORD TabStop = WS_TABSTOP;

} // namespace

HWND TWinMainWindow::Add(const wchar_t* className, const char* name, const char* text, DWORD style, RECT design,
                         unsigned anchors, const char* hint, DWORD exStyle)
{
    // Control identifiers start above those of the dialog keys (IDOK, IDCANCEL).
    const auto id = static_cast<INT_PTR>(100 + FLayout.Controls().size());
    HWND control = CreateWindowExW(exStyle, className, WideText(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                   Scale(design.left, FDpi), Scale(design.top, FDpi),
                                   Scale(design.right - design.left, FDpi), Scale(design.bottom - design.top, FDpi),
                                   FSheet, reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
    FLayout.Add(control, FFrame, design, anchors, name, hint);
    return control;
}

HWND TWinMainWindow::Add(const wchar_t* className, const TControlText& texts, DWORD style, RECT design,
                         unsigned anchors, DWORD exStyle)
{
    return Add(className, texts.Name, texts.Caption, style, design, anchors, texts.Hint, exStyle);
}

HWND TWinMainWindow::AddLabel(const TControlText& texts, RECT design, unsigned anchors)
{
    // A "&" marks the letter that, with Alt, moves to the control the label names.
    return Add(L"STATIC", texts, SS_LEFT, design, anchors);
}

HWND TWinMainWindow::AddButton(const TControlText& texts, RECT design, unsigned anchors, TPicture picture)
{
    HWND button = Add(L"BUTTON", texts, TabStop | BS_PUSHBUTTON, design, anchors);
    SetPicture(button, picture, 16);
    return button;
}

HWND TWinMainWindow::AddCheck(const TControlText& texts, RECT design)
{
    // BS_NOTIFY: leaving the box is reported, which copies its page back.
    return Add(L"BUTTON", texts, TabStop | BS_AUTOCHECKBOX | BS_NOTIFY, design);
}

HWND TWinMainWindow::AddEdit(const TControlText& texts, RECT design, unsigned anchors, bool memo)
{
    const DWORD style = memo ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
    return Add(L"EDIT", texts, TabStop | style, design, anchors, WS_EX_CLIENTEDGE);
}

HWND TWinMainWindow::AddBrowseEdit(const TControlText& texts, RECT design, unsigned anchors)
{
    const int button = 26, gap = 2;
    RECT field = design;
    field.right -= button + gap;
    HWND edit = AddEdit(texts, field, anchors);
    // The button stays with the field's right end.
    const unsigned buttonAnchors = (anchors & akRight ? akRight : akLeft) | (anchors & (akTop | akBottom));
    HWND browse = Add(L"BUTTON", (std::string(texts.Name) + "Browse").c_str(), "...", TabStop | BS_PUSHBUTTON,
                      R(field.right + gap, design.top, button, design.bottom - design.top), buttonAnchors, texts.Hint);
    // Its tip shows the field's hint.
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = FSheet;
    tool.uId = reinterpret_cast<UINT_PTR>(browse);
    std::wstring tip = WideText(texts.Hint);
    tool.lpszText = tip.data();
    SendMessageW(Tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return edit;
}

HWND TWinMainWindow::AddChoice(const TControlText& texts, RECT design, std::span<const char* const> choices)
{
    HWND list = Add(WC_COMBOBOXW, texts, TabStop | CBS_DROPDOWNLIST, design);
    for (const char* choice : choices)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(choice).c_str()));
    return list;
}

HWND TWinMainWindow::AddSwatch(const TControlText& texts, RECT design)
{
    // A label painted in its colour (WM_CTLCOLORSTATIC), framed by a bevel.
    return Add(L"STATIC", texts, SS_NOTIFY | SS_SUNKEN, design);
}

HWND TWinMainWindow::AddColorButton(const TControlText& texts, RECT design, int selector)
{
    HWND button = AddButton(texts, design, akTopLeft, TPicture::Palette);
    FColorSelectors[button] = selector;
    return button;
}

HWND TWinMainWindow::BeginFrame(const TControlText& texts, RECT design, unsigned anchors)
{
    HWND frame = Add(L"BUTTON", texts, BS_GROUPBOX, design, anchors);
    FFrame = static_cast<int>(FLayout.Controls().size()) - 1;
    return frame;
}

void TWinMainWindow::EndFrame()
{
    FFrame = -1;
}

HWND TWinMainWindow::NewSheet(const char* name)
{
    FSheet = CreateWindowExW(WS_EX_CONTROLPARENT, SheetClassName, nullptr, WS_CHILD, 0, 0, 0, 0,
                             FWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    // Above the tab control, whose display area it covers.
    SetWindowPos(FSheet, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FLayout.Add(FSheet, -1, {}, 0, name, " ");
    Sheets.push_back(FSheet);
    return FSheet;
}

void TWinMainWindow::CreateControls()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    PageControl = CreateWindowExW(0, WC_TABCONTROLW, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP |
                                  TCS_HOTTRACK, 0, 0, 0, 0, FWindow, nullptr, instance, nullptr);
    FLayout.Add(PageControl, -1, {}, 0, "PageControl", " ");
    Tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FWindow, nullptr, instance, nullptr);
    // The tip comes up at once and goes after two seconds.
    SendMessageW(Tips, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(0, 0));
    SendMessageW(Tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(2000, 0));
    SendMessageW(Tips, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(0, 0));

    const TPicture pictures[] = {TPicture::FileList, TPicture::Names, TPicture::Palette, TPicture::PageStyle,
                                 TPicture::Settings};
    static_assert(std::size(pictures) == std::size(SheetTexts));
    const int count = static_cast<int>(std::size(pictures));
    FTabImages = ImageList_Create(Scale(16, FDpi), Scale(16, FDpi), ILC_COLOR32 | ILC_MASK, count, 0);
    for (int i = 0; i < count; ++i) {
        ImageList_AddIcon(FTabImages, FPictures.Icon(pictures[i], Scale(16, FDpi)));
        std::wstring caption = WideText(SheetTexts[i].Caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = caption.data();
        item.iImage = i;
        SendMessageW(PageControl, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(PageControl, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FTabImages));

    CreateConvertSheet();
    CreateHighlightSheet();
    CreateColorProfileSheet();
    CreatePageStyleSheet();
    CreateConfigSheet();
    CreateStatusBar();
}

// ---- Tab 0: the dump files -----------------------------------------------------

void TWinMainWindow::CreateConvertSheet()
{
    NewSheet("ConvertSheet");
    AddLabel(Texts("lblSourcefiles"), R(6, 6, 300, 16));
    AddButton(Texts("BtnAdd"), R(6, 248, 136, 26), akLeft | akBottom, TPicture::Add);
    SrcFilesList = Add(WC_LISTVIEWW, Texts("SrcFilesList"), TabStop | LVS_REPORT | LVS_SHOWSELALWAYS,
                       R(6, 24, 402, 218), akAll, WS_EX_CLIENTEDGE);
    SendMessageW(SrcFilesList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddButton(Texts("btnRemove"), R(272, 248, 136, 26), akRight | akBottom, TPicture::Remove);
    HWND convert = Add(L"BUTTON", Texts("BtnConvert"), TabStop | BS_PUSHBUTTON | BS_MULTILINE,
                       R(416, 6, 156, 64), akTop | akRight);
    SetPicture(convert, TPicture::Convert, 32);
    BeginFrame(Texts("BtnGroup"), R(416, 190, 156, 84), akRight | akBottom);
    AddButton(Texts("BtnAbout"), R(8, 10, 140, 30), akTopLeft, TPicture::About);
    AddButton(Texts("btnExit"), R(8, 46, 140, 30), akTopLeft, TPicture::Exit);
    EndFrame();
    BeginFrame(Texts("ProgressGroup"), R(416, 76, 156, 100), akTop | akRight);
    AddLabel(Texts("lblcurrProgress"), R(8, 18, 140, 16));
    Add(PROGRESS_CLASSW, Texts("ProgCurr"), 0, R(8, 36, 140, 16), akTopLeft);
    AddLabel(Texts("lblTotProgress"), R(8, 58, 140, 16));
    Add(PROGRESS_CLASSW, Texts("ProgTotal"), 0, R(8, 76, 140, 16), akTopLeft);
    EndFrame();
}

// ---- Tab 1: the names to highlight ---------------------------------------------

void TWinMainWindow::CreateHighlightSheet()
{
    NewSheet("HighlightOptSheet");
    AddLabel(Texts("lblNames"), R(6, 6, 210, 16));
    AddLabel(Texts("lnlEditNameText"), R(224, 6, 348, 16));
    AddEdit(Texts("NameEdit"), R(224, 24, 348, 23), akTop | akLeft | akRight);
    BeginFrame(Texts("CustHtmlGroup"), R(224, 52, 348, 144), akAll);
    AddLabel(Texts("lblCustFront"), R(8, 16, 200, 16));
    AddEdit(Texts("CustFrontHTMLMemo"), R(8, 32, 332, 56), akAll, true);
    AddLabel(Texts("lblCustEnd"), R(8, 90, 200, 16), akLeft | akBottom);
    AddEdit(Texts("CustEndHTMLMemo"), R(8, 106, 332, 32), akLeft | akRight | akBottom, true);
    EndFrame();
    AddLabel(Texts("lblNameImg"), R(224, 204, 200, 16), akLeft | akBottom);
    AddBrowseEdit(Texts("NameImgEdit"), R(224, 222, 222, 23), akLeft | akRight | akBottom);
    BeginFrame(Texts("ColorGroup"), R(452, 198, 120, 76), akRight | akBottom);
    AddSwatch(Texts("ShowNameCol"), R(8, 20, 38, 22));
    AddColorButton(Texts("BtnCustom"), R(52, 19, 28, 24), 0);
    ColorCombo = Add(WC_COMBOBOXW, Texts("ColorCombo"), TabStop | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                     R(8, 47, 104, 240), akTopLeft);
    for (TColor color : THTMLform::BasicColors)
        SendMessageW(ColorCombo, CB_ADDSTRING, 0, static_cast<LPARAM>(color));
    SendMessageW(ColorCombo, CB_SETCURSEL, 0, 0);
    EndFrame();
    AddButton(Texts("BtnAddName"), R(6, 248, 68, 26), akLeft | akBottom, TPicture::Add);
    NamesList = Add(WC_LISTBOXW, Texts("NamesList"), TabStop | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                    R(6, 24, 210, 218), akTop | akLeft | akBottom, WS_EX_CLIENTEDGE);
    AddButton(Texts("BtnRemoveName"), R(77, 248, 68, 26), akLeft | akBottom, TPicture::Remove);
    AddButton(Texts("BtnUpdate"), R(148, 248, 68, 26), akLeft | akBottom, TPicture::Update);
}

// ---- Tab 2: the page options ----------------------------------------------------

void TWinMainWindow::CreateColorProfileSheet()
{
    NewSheet("ColorProfileSheet");
    AddLabel(Texts("lblTitle"), R(6, 6, 200, 16));
    AddEdit(Texts("TitleEdit"), R(6, 24, 318, 23), akTop | akLeft | akRight);
    AddLabel(Texts("lblAuth"), R(6, 50, 200, 16));
    AddEdit(Texts("AuthEdit"), R(6, 68, 318, 23), akTop | akLeft | akRight);

    // How the text of the dump reaches the page; stored with the general options.
    BeginFrame(Texts("DumpTextGroup"), R(6, 96, 318, 62), akTop | akLeft | akRight);
    AddCheck(Texts("EscapeTextCheck"), R(8, 17, 300, 20));
    AddLabel(Texts("lblColorCodes"), R(8, 40, 110, 16));
    AddChoice(Texts("ColorCodesCombo"), R(124, 36, 150, 120), ColorCodesChoices);
    EndFrame();

    BeginFrame(Texts("HTMLColGroup"), R(6, 162, 192, 112), akLeft | akBottom);
    for (int i = 0; i < 4; ++i) {
        const int top = 19 + i * 22;
        const TColorRow& row = PageColorRows[i];
        AddSwatch(*row.Swatch, R(8, top, 36, 19));
        AddLabel(*row.Label, R(50, top + 2, 110, 16));
        AddColorButton(*row.Button, R(162, top - 1, 24, 21), i + 1);
    }
    EndFrame();

    AddLabel(Texts("lblCustomHTML"), R(206, 162, 300, 16));
    AddEdit(Texts("FrontPageHTMLMemo"), R(206, 180, 366, 46), akAll, true);
    AddEdit(Texts("EndPageHTMLMemo"), R(206, 230, 366, 44), akLeft | akRight | akBottom, true);

    BeginFrame(Texts("HTMLIMGGroup"), R(332, 6, 240, 112), akTop | akRight);
    AddLabel(Texts("lblImgFile"), R(8, 18, 200, 16));
    AddBrowseEdit(Texts("BackImageEdit"), R(8, 36, 224, 23), akTop | akLeft | akRight);
    AddCheck(Texts("RelImgCheck"), R(8, 64, 224, 20));
    AddCheck(Texts("BrokenLinesCheck"), R(8, 86, 224, 20));
    EndFrame();
}

// ---- Tab 3: the page style -------------------------------------------------------

void TWinMainWindow::CreatePageStyleSheet()
{
    NewSheet("PageStyleSheet");
    AddLabel(Texts("lblPageStyle"), R(6, 10, 76, 16));
    AddChoice(Texts("PageStyleCombo"), R(86, 6, 160, 120), PageStyleChoices);

    // What only a modern page has; the window's logic enables it while the style is Modern.
    BeginFrame(Texts("ModernGroup"), R(6, 36, 566, 96), akTop | akLeft | akRight);
    HWND caption = AddLabel(Texts("lblKeepLines"), R(8, 24, 84, 16));
    HWND keep = AddChoice(Texts("KeepLinesCombo"), R(96, 20, 180, 120), KeepLinesChoices);
    // The caption greys with its list.
    FCaptionOf[keep] = caption;
    AddCheck(Texts("WriteIndexCheck"), R(8, 48, 300, 20));
    AddCheck(Texts("PlayerStatsCheck"), R(8, 70, 300, 20));
    EndFrame();
}

// ---- Tab 4: configuration -------------------------------------------------------

void TWinMainWindow::CreateConfigSheet()
{
    NewSheet("ConfigSheet");
    BeginFrame(Texts("AppOptsGroup"), R(6, 4, 566, 74), akTop | akLeft | akRight);
    AddLabel(Texts("lblCurrProfile"), R(8, 21, 84, 16));
    Add(WC_COMBOBOXW, Texts("ProfileListCombo"), TabStop | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL,
        R(94, 17, 430, 240), akTop | akLeft | akRight);
    AddButton(Texts("BtnLoadProfile"), R(530, 16, 28, 24), akTop | akRight, TPicture::Open);
    AddCheck(Texts("INIDefsCheck"), R(8, 47, 180, 20));
    AddCheck(Texts("CaseSensCheck"), R(196, 47, 190, 20));
    Add(L"BUTTON", Texts("BtnClearMRU"), TabStop | BS_PUSHBUTTON, R(478, 45, 80, 24), akTop | akRight);
    EndFrame();

    BeginFrame(Texts("IOOptsGroup"), R(6, 82, 290, 150), akTop | akLeft | akBottom);
    AddCheck(Texts("PromptOnOverwCheck"), R(8, 20, 274, 20));
    AddCheck(Texts("SkipExistingCheck"), R(8, 44, 274, 20));
    EndFrame();

    BeginFrame(Texts("HTMLGenGroup"), R(302, 82, 270, 150), akTop | akRight | akBottom);
    AddLabel(Texts("lblInDir"), R(8, 17, 250, 16));
    AddBrowseEdit(Texts("InputDirEdit"), R(8, 34, 254, 23), akTop | akLeft | akRight);
    AddLabel(Texts("lblDestDir"), R(8, 61, 250, 16));
    AddBrowseEdit(Texts("DestDirEdit"), R(8, 78, 254, 23), akTop | akLeft | akRight);
    AddLabel(Texts("lblImgDir"), R(8, 105, 250, 16));
    AddBrowseEdit(Texts("DestImgEdit"), R(8, 122, 254, 23), akTop | akLeft | akRight);
    EndFrame();

    AddButton(Texts("BtnSaveOpts"), R(432, 238, 140, 36), akRight | akBottom, TPicture::Save);
    AddButton(Texts("BitBtn1"), R(6, 238, 140, 36), akLeft | akBottom, TPicture::Save);
}

// ---- Status bar -----------------------------------------------------------------

void TWinMainWindow::CreateStatusBar()
{
    StatusBar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                FWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    FLayout.Add(StatusBar, -1, {}, 0, "StatusBar", "");
    const int parts[3] = {400, 442, -1};
    SendMessageW(StatusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    SendMessageW(StatusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"Status :"));
}

} // namespace velmora
