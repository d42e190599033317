// The main window's controls: the five tabs with their sheets, every control of
// each sheet in its keyboard order with its place, caption and hint, and the
// status bar. Every control gets the name the window's logic and the tests
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

HWND TWinMainWindow::AddLabel(const char* name, const char* text, RECT design, unsigned anchors)
{
    // A "&" marks the letter that, with Alt, moves to the control the label names.
    return Add(L"STATIC", name, text, SS_LEFT, design, anchors);
}

HWND TWinMainWindow::AddButton(const char* name, const char* text, RECT design, unsigned anchors, const char* hint,
                               TPicture picture)
{
    HWND button = Add(L"BUTTON", name, text, TabStop | BS_PUSHBUTTON, design, anchors, hint);
    SetPicture(button, picture, 16);
    return button;
}

HWND TWinMainWindow::AddCheck(const char* name, const char* text, RECT design, const char* hint)
{
    // BS_NOTIFY: leaving the box is reported, which copies its page back.
    return Add(L"BUTTON", name, text, TabStop | BS_AUTOCHECKBOX | BS_NOTIFY, design, akTopLeft, hint);
}

HWND TWinMainWindow::AddEdit(const char* name, RECT design, unsigned anchors, const char* hint, bool memo)
{
    const DWORD style = memo ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
    return Add(L"EDIT", name, "", TabStop | style, design, anchors, hint, WS_EX_CLIENTEDGE);
}

HWND TWinMainWindow::AddBrowseEdit(const char* name, RECT design, unsigned anchors, const char* hint)
{
    const int button = 26, gap = 2;
    RECT field = design;
    field.right -= button + gap;
    HWND edit = AddEdit(name, field, anchors, hint);
    // The button stays with the field's right end.
    const unsigned buttonAnchors = (anchors & akRight ? akRight : akLeft) | (anchors & (akTop | akBottom));
    HWND browse = Add(L"BUTTON", (std::string(name) + "Browse").c_str(), "...", TabStop | BS_PUSHBUTTON,
                      R(field.right + gap, design.top, button, design.bottom - design.top), buttonAnchors, hint);
    // Its tip shows the field's hint.
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = FSheet;
    tool.uId = reinterpret_cast<UINT_PTR>(browse);
    std::wstring tip = WideText(hint);
    tool.lpszText = tip.data();
    SendMessageW(Tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return edit;
}

HWND TWinMainWindow::AddChoice(const char* name, RECT design, const char* hint, std::initializer_list<const char*> items)
{
    HWND list = Add(WC_COMBOBOXW, name, "", TabStop | CBS_DROPDOWNLIST, design, akTopLeft, hint);
    for (const char* item : items)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(item).c_str()));
    return list;
}

HWND TWinMainWindow::AddSwatch(const char* name, RECT design, const char* hint)
{
    // A label painted in its colour (WM_CTLCOLORSTATIC), framed by a bevel.
    return Add(L"STATIC", name, "", SS_NOTIFY | SS_SUNKEN, design, akTopLeft, hint);
}

HWND TWinMainWindow::AddColorButton(const char* name, RECT design, const char* hint, int selector)
{
    HWND button = AddButton(name, "", design, akTopLeft, hint, TPicture::Palette);
    FColorSelectors[button] = selector;
    return button;
}

HWND TWinMainWindow::BeginFrame(const char* name, const char* caption, RECT design, unsigned anchors, const char* hint)
{
    HWND frame = Add(L"BUTTON", name, caption, BS_GROUPBOX, design, anchors, hint);
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

    const std::pair<const char*, TPicture> tabs[] = {{"HTML Generation", TPicture::FileList},
                                                     {"Highlight Options", TPicture::Names},
                                                     {"HTML Options", TPicture::Palette},
                                                     {"Page Style", TPicture::PageStyle},
                                                     {"Configuration", TPicture::Settings}};
    const int count = static_cast<int>(std::size(tabs));
    FTabImages = ImageList_Create(Scale(16, FDpi), Scale(16, FDpi), ILC_COLOR32 | ILC_MASK, count, 0);
    for (int i = 0; i < count; ++i) {
        ImageList_AddIcon(FTabImages, FPictures.Icon(tabs[i].second, Scale(16, FDpi)));
        std::wstring caption = WideText(tabs[i].first);
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
    AddLabel("lblSourcefiles", "Quake 3 dump files to be converted :", R(6, 6, 300, 16));
    AddButton("BtnAdd", "&Add To List", R(6, 248, 136, 26), akLeft | akBottom, "Click to add files to convert to HTML",
              TPicture::Add);
    SrcFilesList = Add(WC_LISTVIEWW, "SrcFilesList", "", TabStop | LVS_REPORT | LVS_SHOWSELALWAYS, R(6, 24, 402, 218),
                       akAll, "", WS_EX_CLIENTEDGE);
    SendMessageW(SrcFilesList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddButton("btnRemove", "&Remove From List", R(272, 248, 136, 26), akRight | akBottom,
              "Click to remove the selected files from the list", TPicture::Remove);
    HWND convert = Add(L"BUTTON", "BtnConvert", "Convert to &HTML", TabStop | BS_PUSHBUTTON | BS_MULTILINE,
                       R(416, 6, 156, 64), akTop | akRight, "Start converting the files on the list to HTML");
    SetPicture(convert, TPicture::Convert, 32);
    BeginFrame("BtnGroup", "", R(416, 190, 156, 84), akRight | akBottom);
    AddButton("BtnAbout", "Ab&out", R(8, 10, 140, 30), akTopLeft, "", TPicture::About);
    AddButton("btnExit", "E&xit", R(8, 46, 140, 30), akTopLeft, "", TPicture::Exit);
    EndFrame();
    BeginFrame("ProgressGroup", "Progress", R(416, 76, 156, 100), akTop | akRight);
    AddLabel("lblcurrProgress", "Current File", R(8, 18, 140, 16));
    Add(PROGRESS_CLASSW, "ProgCurr", "", 0, R(8, 36, 140, 16), akTopLeft, "Shows progress on the file being converted");
    AddLabel("lblTotProgress", "Total Progress", R(8, 58, 140, 16));
    Add(PROGRESS_CLASSW, "ProgTotal", "", 0, R(8, 76, 140, 16), akTopLeft, "Shows how many files have been converted");
    EndFrame();
}

// ---- Tab 1: the names to highlight ---------------------------------------------

void TWinMainWindow::CreateHighlightSheet()
{
    NewSheet("HighlightOptSheet");
    AddLabel("lblNames", "Names to be highlighted", R(6, 6, 210, 16));
    AddLabel("lnlEditNameText", "Name (include a : to highlight chat text)", R(224, 6, 348, 16));
    AddEdit("NameEdit", R(224, 24, 348, 23), akTop | akLeft | akRight, "Enter a new name or edit the selected one");
    BeginFrame("CustHtmlGroup", "Custom HTML (before/after the line)", R(224, 52, 348, 144), akAll);
    AddLabel("lblCustFront", "Before the line", R(8, 16, 200, 16));
    AddEdit("CustFrontHTMLMemo", R(8, 32, 332, 56), akAll,
            "Enter any custom HTML you want appearing before the highlighted name", true);
    AddLabel("lblCustEnd", "After the line", R(8, 90, 200, 16), akLeft | akBottom);
    AddEdit("CustEndHTMLMemo", R(8, 106, 332, 32), akLeft | akRight | akBottom,
            "Enter any custom HTML you want appearing after the highlighted name", true);
    EndFrame();
    AddLabel("lblNameImg", "Name Icon file", R(224, 204, 200, 16), akLeft | akBottom);
    AddBrowseEdit("NameImgEdit", R(224, 222, 222, 23), akLeft | akRight | akBottom,
                  "Select an image (HTML icon) to place in front of the highlighted name");
    BeginFrame("ColorGroup", "Highlight color", R(452, 198, 120, 76), akRight | akBottom);
    AddSwatch("ShowNameCol", R(8, 20, 38, 22), "Displays the highlight color for the selected name");
    AddColorButton("BtnCustom", R(52, 19, 28, 24), "Click to select a new highlight color", 0);
    ColorCombo = Add(WC_COMBOBOXW, "ColorCombo", "", TabStop | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                     R(8, 47, 104, 240), akTopLeft, "Click to select a new highlight color");
    for (TColor color : THTMLform::BasicColors)
        SendMessageW(ColorCombo, CB_ADDSTRING, 0, static_cast<LPARAM>(color));
    SendMessageW(ColorCombo, CB_SETCURSEL, 0, 0);
    EndFrame();
    AddButton("BtnAddName", "Add", R(6, 248, 68, 26), akLeft | akBottom, "Add a new name to be highlighted", TPicture::Add);
    NamesList = Add(WC_LISTBOXW, "NamesList", "", TabStop | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                    R(6, 24, 210, 218), akTop | akLeft | akBottom, "Click to select and edit names to be highlighted",
                    WS_EX_CLIENTEDGE);
    AddButton("BtnRemoveName", "Remove", R(77, 248, 68, 26), akLeft | akBottom, "Remove the selected name from the list",
              TPicture::Remove);
    AddButton("BtnUpdate", "Update", R(148, 248, 68, 26), akLeft | akBottom, "Update the information for the selected name",
              TPicture::Update);
}

// ---- Tab 2: the page options ----------------------------------------------------

void TWinMainWindow::CreateColorProfileSheet()
{
    NewSheet("ColorProfileSheet");
    AddLabel("lblTitle", "Page title", R(6, 6, 200, 16));
    AddEdit("TitleEdit", R(6, 24, 318, 23), akTop | akLeft | akRight, "Enter a title for the page");
    AddLabel("lblAuth", "Created by:", R(6, 50, 200, 16));
    AddEdit("AuthEdit", R(6, 68, 318, 23), akTop | akLeft | akRight, "Enter the name of the author");

    // How the text of the dump reaches the page; stored with the general options.
    BeginFrame("DumpTextGroup", "Dump text", R(6, 96, 318, 62), akTop | akLeft | akRight);
    AddCheck("EscapeTextCheck", "Escape HTML in dump text", R(8, 17, 300, 20),
             "Show markup typed in the game as text instead of passing it into the page");
    AddLabel("lblColorCodes", "Game colour codes", R(8, 40, 110, 16));
    AddChoice("ColorCodesCombo", R(124, 36, 150, 120), "What to do with colour codes such as ^1 in the dump text",
              {"Keep as written", "Remove", "Show as colours"});
    EndFrame();

    BeginFrame("HTMLColGroup", "HTML Colors", R(6, 162, 192, 112), akLeft | akBottom);
    struct TRow {
        const char* SwatchName;
        const char* SwatchHint;
        const char* Label;
        const char* Caption;
        const char* ButtonName;
        const char* ButtonHint;
    };
    const TRow rows[4] = {
        {"ShowBackCol", "Displays the current background color value", "lblBackCol", "Background color", "BtnBackCol",
         "Click to select a new background color"},
        {"ShowTextCol", "Displays the current text color value", "lblTextCol", "Text color", "BtnTextCol",
         "Click to select a new text color"},
        {"ShowLinkCol", "Displays the current link color value", "lblLinkCol", "Link color", "BtnLinkCol",
         "Click to select a new link color"},
        {"ShowVisLinkCol", "Displays the current visited link color value", "lblVisLinkCol", "Visited link color",
         "BtnVisLinkcol", "Click to select a new visited link color"},
    };
    for (int i = 0; i < 4; ++i) {
        const int top = 19 + i * 22;
        AddSwatch(rows[i].SwatchName, R(8, top, 36, 19), rows[i].SwatchHint);
        AddLabel(rows[i].Label, rows[i].Caption, R(50, top + 2, 110, 16));
        AddColorButton(rows[i].ButtonName, R(162, top - 1, 24, 21), rows[i].ButtonHint, i + 1);
    }
    EndFrame();

    AddLabel("lblCustomHTML", "Custom HTML (top/end of the page)", R(206, 162, 300, 16));
    AddEdit("FrontPageHTMLMemo", R(206, 180, 366, 46), akAll, "Enter custom HTML to appear before the dump text", true);
    AddEdit("EndPageHTMLMemo", R(206, 230, 366, 44), akLeft | akRight | akBottom,
            "Enter any HTML to appear after the dump text", true);

    BeginFrame("HTMLIMGGroup", "Other HTML Options", R(332, 6, 240, 112), akTop | akRight);
    AddLabel("lblImgFile", "Background Image File", R(8, 18, 200, 16));
    AddBrowseEdit("BackImageEdit", R(8, 36, 224, 23), akTop | akLeft | akRight,
                  "Select a file to use for the HTML page background");
    AddCheck("RelImgCheck", "Save relative images directory", R(8, 64, 224, 20),
             "Save the images path relative to the HTML path");
    AddCheck("BrokenLinesCheck", "Treat long lines as broken", R(8, 86, 224, 20),
             "Treat long lines in dump files as broken lines");
    EndFrame();
}

// ---- Tab 3: the page style -------------------------------------------------------

void TWinMainWindow::CreatePageStyleSheet()
{
    NewSheet("PageStyleSheet");
    AddLabel("lblPageStyle", "Page s&tyle", R(6, 10, 76, 16));
    AddChoice("PageStyleCombo", R(86, 6, 160, 120), "Classic: the page as before; Modern: UTF-8 with links to lines",
              {"Classic", "Modern"});

    // What only a modern page has; the window's logic enables it while the style is Modern.
    BeginFrame("ModernGroup", "Modern pages", R(6, 36, 566, 96), akTop | akLeft | akRight);
    HWND caption = AddLabel("lblKeepLines", "&Lines to keep", R(8, 24, 84, 16));
    HWND keep = AddChoice("KeepLinesCombo", R(96, 20, 180, 120), "Which dump lines the page shows; links to lines stay valid",
                          {"All lines", "Chat and game events", "Chat only"});
    // The caption greys with its list.
    FCaptionOf[keep] = caption;
    AddCheck("WriteIndexCheck", "Write an &index page", R(8, 48, 300, 20),
             "After a run, list the modern pages of the destination in index.htm");
    AddCheck("PlayerStatsCheck", "&Player stats", R(8, 70, 300, 20),
             "Add a table of each player's chat lines, kills and deaths to the page");
    EndFrame();
}

// ---- Tab 4: configuration -------------------------------------------------------

void TWinMainWindow::CreateConfigSheet()
{
    NewSheet("ConfigSheet");
    BeginFrame("AppOptsGroup", "General Application Options", R(6, 4, 566, 74), akTop | akLeft | akRight, " ");
    AddLabel("lblCurrProfile", "Current Profile", R(8, 21, 84, 16));
    Add(WC_COMBOBOXW, "ProfileListCombo", "", TabStop | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL,
        R(94, 17, 430, 240), akTop | akLeft | akRight, "Select one of the recently used profiles");
    AddButton("BtnLoadProfile", "", R(530, 16, 28, 24), akTop | akRight, "", TPicture::Open);
    AddCheck("INIDefsCheck", "Use defaults from INI file", R(8, 47, 180, 20),
             "Toggle use of ini defaults when creating new files");
    AddCheck("CaseSensCheck", "Case sensitive highlighting", R(196, 47, 190, 20),
             "Toggle case sensitivity when highlighting dump files");
    Add(L"BUTTON", "BtnClearMRU", "Clear MRU", TabStop | BS_PUSHBUTTON, R(478, 45, 80, 24), akTop | akRight,
        "Clear the Most Recently Used profiles list");
    EndFrame();

    BeginFrame("IOOptsGroup", "Input/Output Options", R(6, 82, 290, 150), akTop | akLeft | akBottom, " ");
    AddCheck("PromptOnOverwCheck", "Prompt before overwriting existing files", R(8, 20, 274, 20),
             "Prompt to overwrite existing files");
    AddCheck("SkipExistingCheck", "Skip existing files", R(8, 44, 274, 20), "Do not overwrite existing files (no prompt)");
    EndFrame();

    BeginFrame("HTMLGenGroup", "HTML Generation Options", R(302, 82, 270, 150), akTop | akRight | akBottom, " ");
    AddLabel("lblInDir", "Source Files Directory", R(8, 17, 250, 16));
    AddBrowseEdit("InputDirEdit", R(8, 34, 254, 23), akTop | akLeft | akRight, "Default location for dump files");
    AddLabel("lblDestDir", "Destination Directory ", R(8, 61, 250, 16));
    AddBrowseEdit("DestDirEdit", R(8, 78, 254, 23), akTop | akLeft | akRight,
                  "Directory where the generated HTML files will be stored");
    AddLabel("lblImgDir", "HTML Images Directory", R(8, 105, 250, 16));
    AddBrowseEdit("DestImgEdit", R(8, 122, 254, 23), akTop | akLeft | akRight,
                  "Directory for storing images listed in the HTML files");
    EndFrame();

    AddButton("BtnSaveOpts", "&Save options", R(432, 238, 140, 36), akRight | akBottom,
              "Save all changes to the current profile", TPicture::Save);
    AddButton("BitBtn1", "S&ave as ...", R(6, 238, 140, 36), akLeft | akBottom, "Save the current profile under a new name",
              TPicture::Save);
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
