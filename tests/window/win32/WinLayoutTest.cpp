// The Win32 main window as the user sees it: its controls with their captions,
// hints and frames, the commands' states at start, the smallest size and the
// edges each control follows when the window grows.
#include <map>
#include <vector>

#include "WinWindowFixture.h"

namespace velmora::test {
namespace {

using WinLayout = WinWindowTest;

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

// The colour a swatch is painted in.
COLORREF PaintedColor(HWND window, HWND swatch)
{
    HDC dc = GetDC(swatch);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(swatch)));
    ReleaseDC(swatch, dc);
    LOGBRUSH painted{};
    GetObjectW(brush, sizeof painted, &painted);
    return painted.lbColor;
}

TEST_F(WinLayout, EveryControlHasItsCaptionHintAndPlace)
{
    struct Row {
        const char* Parent;
        const char* Name;
        const char* Caption;
        const char* Hint;
    };
    const Row rows[] = {
        {"ConvertSheet", "lblSourcefiles", "Quake 3 dump files to be converted :", ""},
        {"ConvertSheet", "BtnAdd", "&Add To List", "Click to add files to convert to HTML"},
        {"ConvertSheet", "SrcFilesList", "", ""},
        {"ConvertSheet", "btnRemove", "&Remove From List", "Click to remove the selected files from the list"},
        {"ConvertSheet", "BtnConvert", "Convert to &HTML", "Start converting the files on the list to HTML"},
        {"BtnGroup", "BtnAbout", "Ab&out", ""},
        {"BtnGroup", "btnExit", "E&xit", ""},
        {"ConvertSheet", "ProgressGroup", "Progress", ""},
        {"ProgressGroup", "lblcurrProgress", "Current File", ""},
        {"ProgressGroup", "ProgCurr", "", "Shows progress on the file being converted"},
        {"ProgressGroup", "lblTotProgress", "Total Progress", ""},
        {"ProgressGroup", "ProgTotal", "", "Shows how many files have been converted"},
        {"HighlightOptSheet", "lblNames", "Names to be highlighted", ""},
        {"HighlightOptSheet", "lnlEditNameText", "Name (include a : to highlight chat text)", ""},
        {"HighlightOptSheet", "NameEdit", "", "Enter a new name or edit the selected one"},
        {"HighlightOptSheet", "CustHtmlGroup", "Custom HTML (before/after the line)", ""},
        {"CustHtmlGroup", "CustFrontHTMLMemo", "", "Enter any custom HTML you want apeating before the highlighted name"},
        {"CustHtmlGroup", "CustEndHTMLMemo", "", "Enter any custom HTML you want apeating after the highlighted name"},
        {"HighlightOptSheet", "lblNameImg", "Name Icon file", ""},
        {"HighlightOptSheet", "NameImgEdit", "", "Select an image (HTML icon) to place in front of the highlighted name"},
        {"HighlightOptSheet", "NameImgEditBrowse", "...", "Select an image (HTML icon) to place in front of the highlighted name"},
        {"HighlightOptSheet", "ColorGroup", "Highlight color", ""},
        {"ColorGroup", "ShowNameCol", "", "Displays the highlight color for the selected name"},
        {"ColorGroup", "BtnCustom", "", "Click to select a new highlight color"},
        {"ColorGroup", "ColorCombo", "", "Click to select a new highlight color"},
        {"HighlightOptSheet", "BtnAddName", "Add", "Add a new name to be highlighted"},
        {"HighlightOptSheet", "NamesList", "", "Click to select and edit names to be highlighted"},
        {"HighlightOptSheet", "BtnRemoveName", "Remove", "Remove the selected name from the list"},
        {"HighlightOptSheet", "BtnUpdate", "Update", "Update the information for the selcted name"},
        {"ColorProfileSheet", "lblTitle", "Page title", ""},
        {"ColorProfileSheet", "TitleEdit", "", "Enter a title for the page"},
        {"ColorProfileSheet", "lblAuth", "Created by:", ""},
        {"ColorProfileSheet", "AuthEdit", "", "Enter the name of the author"},
        {"ColorProfileSheet", "HTMLColGroup", "HTML Colors", ""},
        {"HTMLColGroup", "ShowBackCol", "", "Displays the current background color value"},
        {"HTMLColGroup", "lblBackCol", "Background color", ""},
        {"HTMLColGroup", "BtnBackCol", "", "Click to select a new background color"},
        {"HTMLColGroup", "ShowTextCol", "", "Displays the current text color value"},
        {"HTMLColGroup", "BtnTextCol", "", "Click to select a new text color"},
        {"HTMLColGroup", "ShowLinkCol", "", "Displays the current link color value"},
        {"HTMLColGroup", "BtnLinkCol", "", "Click to select a new link color"},
        {"HTMLColGroup", "ShowVisLinkCol", "", "Displays the current visited link color value"},
        {"HTMLColGroup", "lblVisLinkCol", "Visited link color", ""},
        {"HTMLColGroup", "BtnVisLinkcol", "", "Click to select a new visited link color"},
        {"ColorProfileSheet", "lblCustomHTML", "Custom HTML (top/end of the page)", ""},
        {"ColorProfileSheet", "FrontPageHTMLMemo", "", "Enter custom HTMl to apear befor the dump text"},
        {"ColorProfileSheet", "EndPageHTMLMemo", "", "Enter any HTML to apear after the dump text"},
        {"ColorProfileSheet", "HTMLIMGGroup", "Other HTML Options", ""},
        {"HTMLIMGGroup", "lblImgFile", "Background Image File", ""},
        {"HTMLIMGGroup", "BackImageEdit", "", "Select a file to use for the HTML page background"},
        {"HTMLIMGGroup", "RelImgCheck", "Save relative images directory", "Save the images path relative to the HTML path"},
        {"HTMLIMGGroup", "BrokenLinesCheck", "Treat long lines as broken", "Treat long lines in dump files as broken lines"},
        {"PageStyleSheet", "lblPageStyle", "Page s&tyle", ""},
        {"PageStyleSheet", "PageStyleCombo", "", "Classic: the page as before; Modern: UTF-8 with links to lines"},
        {"PageStyleSheet", "ModernGroup", "Modern pages", ""},
        {"ModernGroup", "lblKeepLines", "&Lines to keep", ""},
        {"ModernGroup", "KeepLinesCombo", "", "Which dump lines the page shows; links to lines stay valid"},
        {"ModernGroup", "WriteIndexCheck", "Write an &index page",
         "After a run, list the modern pages of the destination in index.htm"},
        {"ModernGroup", "PlayerStatsCheck", "&Player stats",
         "Add a table of each player's chat lines, kills and deaths to the page"},
        {"ConfigSheet", "AppOptsGroup", "General Application Options", " "},
        {"AppOptsGroup", "lblCurrProfile", "Current Profile", ""},
        {"AppOptsGroup", "ProfileListCombo", "", "Select one of the recently used profiles"},
        {"AppOptsGroup", "BtnLoadProfile", "", ""},
        {"AppOptsGroup", "INIDefsCheck", "Use defaults from INI file", "Toggle use of ini defaults when creating new files"},
        {"AppOptsGroup", "CaseSensCheck", "Case sensitive highlighting", "Toggle case sensitivity when highlighting dump files"},
        {"AppOptsGroup", "BtnClearMRU", "Clear MRU", "Clear the Most Recently Used profiles list"},
        {"ConfigSheet", "IOOptsGroup", "Inpu/Output Options", " "},
        {"IOOptsGroup", "PromptOnOverwCheck", "Prompt before overwriting existing files", "Prompt to overwrite existing files"},
        {"IOOptsGroup", "SkipExistingCheck", "Skip existing files", "Do not overwrite existing files (no prompt)"},
        {"ConfigSheet", "HTMLGenGroup", "HTML Generation Options", " "},
        {"HTMLGenGroup", "lblInDir", "Source Files Directory", ""},
        {"HTMLGenGroup", "InputDirEdit", "", "Default location for dump files"},
        {"HTMLGenGroup", "lblDestDir", "Destination Directory ", ""},
        {"HTMLGenGroup", "DestDirEdit", "", "Directory where the generated HTML files will be stored"},
        {"HTMLGenGroup", "lblImgDir", "HTML Images Directory", ""},
        {"HTMLGenGroup", "DestImgEdit", "", "Directory for storing images listed in the HTML files"},
        {"ConfigSheet", "BtnSaveOpts", "&Save options", "Save all changes to the current profile"},
        {"ConfigSheet", "BitBtn1", "S&ave as ...", "Save the current profile under a new name"},
    };
    Form = std::make_unique<TWinMainWindow>(Services(ProcessMessages));
    EXPECT_EQ(WindowText(Form->Handle()), "Velmora");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        HWND control = Find(row.Name);
        HWND parent = Find(row.Parent);
        ASSERT_TRUE(control && parent);
        // Inside its sheet, and inside its frame's place.
        EXPECT_TRUE(IsChild(parent, control) || Inside(PlaceOf(control), PlaceOf(parent)));
        EXPECT_EQ(WindowText(control), row.Caption);
        EXPECT_EQ(Form->HintOf(row.Name), row.Hint);
    }

    HWND tabs = Find("PageControl");
    const char* sheets[] = {"ConvertSheet", "HighlightOptSheet", "ColorProfileSheet", "PageStyleSheet", "ConfigSheet"};
    const char* captions[] = {"HTML Generation", "Highlight Options", "HTML Options", "Page Style", "Configuration"};
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
    for (int i = 0; i < 5; ++i) {
        wchar_t caption[64] = L"";
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(Utf8Text(caption), captions[i]);
        EXPECT_EQ(Form->HintOf(sheets[i]), " ");
    }
    EXPECT_EQ(Form->HintOf("PageControl"), " ");

    HWND list = Find("SrcFilesList");
    std::vector<std::string> columnCaptions;
    for (int i = 0; i < 2; ++i) {
        wchar_t caption[64] = L"";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.pszText = caption;
        column.cchTextMax = 64;
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        columnCaptions.push_back(Utf8Text(caption));
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, i == 0 ? LVCFMT_LEFT : LVCFMT_CENTER);
    }
    EXPECT_EQ(columnCaptions, (std::vector<std::string>{"File Name", "Status"}));
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), Scale(189, WindowDpi(Form->Handle())));
    EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & (LVS_SINGLESEL | LVS_EDITLABELS | LVS_TYPEMASK), LVS_REPORT);
    EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);

    HWND colors = Find("ColorCombo");
    ASSERT_EQ(SendMessageW(colors, CB_GETCOUNT, 0, 0), 16);
    EXPECT_EQ(SendMessageW(colors, CB_GETCURSEL, 0, 0), 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(SendMessageW(colors, CB_GETITEMDATA, static_cast<WPARAM>(i), 0), THTMLform::BasicColors[i]) << i;
    for (const char* swatch : {"ShowNameCol", "ShowBackCol", "ShowTextCol", "ShowLinkCol", "ShowVisLinkCol"})
        EXPECT_EQ(PaintedColor(Form->Handle(), Find(swatch)), COLORREF(0x8080FF)) << swatch;
}

// Tab and Shift+Tab go through a sheet's controls in the order of its
// children that take the focus.
TEST_F(WinLayout, EachSheetsControlsTakeTheFocusInTheirKeyboardOrder)
{
    const std::pair<const char*, std::vector<std::string>> sheets[] = {
        {"ConvertSheet", {"BtnAdd", "SrcFilesList", "btnRemove", "BtnConvert", "BtnAbout", "btnExit"}},
        {"HighlightOptSheet",
         {"NameEdit", "CustFrontHTMLMemo", "CustEndHTMLMemo", "NameImgEdit", "NameImgEditBrowse", "BtnCustom",
          "ColorCombo", "BtnAddName", "NamesList", "BtnRemoveName", "BtnUpdate"}},
        {"ColorProfileSheet",
         {"TitleEdit", "AuthEdit", "EscapeTextCheck", "ColorCodesCombo", "BtnBackCol", "BtnTextCol", "BtnLinkCol",
          "BtnVisLinkcol", "FrontPageHTMLMemo", "EndPageHTMLMemo", "BackImageEdit", "BackImageEditBrowse",
          "RelImgCheck", "BrokenLinesCheck"}},
        {"PageStyleSheet", {"PageStyleCombo", "KeepLinesCombo", "WriteIndexCheck", "PlayerStatsCheck"}},
        {"ConfigSheet",
         {"ProfileListCombo", "BtnLoadProfile", "INIDefsCheck", "CaseSensCheck", "BtnClearMRU", "PromptOnOverwCheck",
          "SkipExistingCheck", "InputDirEdit", "InputDirEditBrowse", "DestDirEdit", "DestDirEditBrowse", "DestImgEdit",
          "DestImgEditBrowse", "BtnSaveOpts", "BitBtn1"}},
    };
    Form = std::make_unique<TWinMainWindow>(Services(ProcessMessages));
    for (const auto& [sheet, expected] : sheets) {
        std::map<HWND, std::string> names;
        for (const std::string& name : expected)
            names[Find(name.c_str())] = name;
        std::vector<std::string> order;
        for (HWND child = GetWindow(Find(sheet), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP)
                order.push_back(names.count(child) ? names[child] : "unexpected " + WindowText(child));
        EXPECT_EQ(order, expected) << sheet;
    }
}

TEST_F(WinLayout, CommandsStartEnabledAsDesignedAndConvertFollowsTheList)
{
    Form = std::make_unique<TWinMainWindow>(Services(ProcessMessages));
    const std::pair<const char*, bool> states[] = {
        {"BtnAdd", true},        {"btnRemove", false},      {"BtnConvert", false},  {"BtnAbout", true},
        {"btnExit", true},       {"BtnAddName", false},     {"BtnRemoveName", false}, {"BtnUpdate", false},
        {"BtnCustom", true},     {"BtnBackCol", true},      {"BtnLoadProfile", true}, {"BtnClearMRU", true},
        {"BtnSaveOpts", false},  {"BitBtn1", true},
    };
    for (auto [name, enabled] : states)
        EXPECT_EQ(IsWindowEnabled(Find(name)) != FALSE, enabled) << name;

    Form.reset();
    WriteProfile(Dir, "Default.cfg", "T", {WriteDump(Dir, "a.txt", 3)});
    Start();
    EXPECT_TRUE(IsWindowEnabled(Find("BtnConvert")));
    EXPECT_FALSE(IsWindowEnabled(Find("btnRemove")));
    EXPECT_EQ(StatusText(Find("StatusBar"), 1), "Status :");
}

TEST_F(WinLayout, WindowKeepsItsMinimumSizeAndEachControlFollowsItsEdges)
{
    Start();
    Show();
    HWND window = Form->Handle();
    const int dpi = WindowDpi(window);
    auto size = [window] {
        RECT r;
        GetWindowRect(window, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    EXPECT_EQ(size().cx, Scale(602, dpi));
    EXPECT_EQ(size().cy, Scale(368, dpi));
    SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(size().cx, Scale(600, dpi));
    EXPECT_EQ(size().cy, Scale(368, dpi));
    // Every tab shows whole at the smallest width, in one row.
    HWND tabs = Find("PageControl");
    RECT last, bar;
    SendMessageW(tabs, TCM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&last));
    GetClientRect(tabs, &bar);
    EXPECT_LE(last.right, bar.right);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0), 1);

    // Controls that grow in width and height, in height only, that move with the right edge, and
    // that grow in width only.
    struct Row {
        std::vector<const char*> GrowBoth, GrowHeight, MoveRight, GrowWidthOnly;
    };
    const Row rows[] = {
        {{"SrcFilesList"}, {}, {"BtnConvert", "ProgressGroup", "BtnGroup", "btnRemove", "btnExit"}, {}},
        {{"CustHtmlGroup", "CustFrontHTMLMemo"}, {"NamesList"}, {"ColorGroup", "ColorCombo", "NameImgEditBrowse"}, {}},
        {{"FrontPageHTMLMemo"}, {}, {"HTMLIMGGroup", "BackImageEditBrowse"}, {}},
        {{}, {}, {}, {"ModernGroup"}},
        {{}, {"IOOptsGroup", "HTMLGenGroup"}, {"HTMLGenGroup", "BtnSaveOpts", "BtnClearMRU", "BtnLoadProfile"}, {}},
    };
    const SIZE grown{Scale(300, dpi), Scale(190, dpi)};
    std::map<std::string, RECT> before;
    for (const Row& row : rows)
        for (const auto* names : {&row.GrowBoth, &row.GrowHeight, &row.MoveRight, &row.GrowWidthOnly})
            for (const char* name : *names)
                before[name] = PlaceOf(Find(name));
    SetWindowPos(window, nullptr, 0, 0, size().cx + grown.cx, size().cy + grown.cy, SWP_NOMOVE | SWP_NOZORDER);
    for (const Row& row : rows) {
        for (const char* name : row.GrowBoth) {
            RECT now = PlaceOf(Find(name));
            EXPECT_GT(now.right - now.left, before[name].right - before[name].left) << name;
            EXPECT_GT(now.bottom - now.top, before[name].bottom - before[name].top) << name;
        }
        for (const char* name : row.GrowHeight) {
            RECT now = PlaceOf(Find(name));
            EXPECT_EQ(now.right - now.left, before[name].right - before[name].left) << name;
            EXPECT_GT(now.bottom - now.top, before[name].bottom - before[name].top) << name;
        }
        for (const char* name : row.MoveRight) {
            RECT now = PlaceOf(Find(name));
            EXPECT_EQ(now.right - now.left, before[name].right - before[name].left) << name;
            EXPECT_EQ(now.right - before[name].right, grown.cx) << name;
        }
        for (const char* name : row.GrowWidthOnly) {
            RECT now = PlaceOf(Find(name));
            EXPECT_EQ(now.right - now.left - (before[name].right - before[name].left), grown.cx) << name;
            EXPECT_EQ(now.bottom - now.top, before[name].bottom - before[name].top) << name;
        }
    }
}

} // namespace
} // namespace velmora::test
