// The Win32 main window as the user sees it: its controls with their captions,
// hints and frames, the commands' states at start, the smallest size and the
// edges each control follows when the window grows.
#include <iterator>
#include <map>
#include <vector>

#include "WinWindowFixture.h"
#include "window/UControlTexts.h"

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
    Form = std::make_unique<TWinMainWindow>(Services(ProcessMessages));
    EXPECT_EQ(WindowText(Form->Handle()), "Velmora");
    // Beside the controls both front ends have: the icon field's browse
    // button, a button of its own here, which shows the field's hint.
    const TControlText browse{"HighlightOptSheet", "NameImgEditBrowse", "...",
                              "Select an image (HTML icon) to place in front of the highlighted name"};
    std::vector<TControlText> rows(std::begin(ControlTexts), std::end(ControlTexts));
    rows.push_back(browse);
    for (const TControlText& row : rows) {
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
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
    for (int i = 0; i < 5; ++i) {
        wchar_t caption[64] = L"";
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(Utf8Text(caption), SheetTexts[i].Caption);
        EXPECT_EQ(Form->HintOf(SheetTexts[i].Name), " ");
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
