// The Win32 window forwards what the user does to the window's logic: the
// keys of the window, the hint under the mouse, a conversion run started from
// the keyboard, and the placement kept between two starts. The behaviour
// itself is tested on fakes (tests/window).
#include <filesystem>
#include <fstream>

#include "platform/UPaths.h"
#include "../StoredPlacement.h"
#include "WinWindowFixture.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

using WinWindow = WinWindowTest;

TEST_F(WinWindow, KeysRemoveFromTheFirstTabSaveFromAnyTabAndClose)
{
    WriteProfile(Dir, "Default.cfg", "T", {WriteDump(Dir, "a.txt", 3), WriteDump(Dir, "b.txt", 3)});
    Start();
    Show();
    HWND list = Find("SrcFilesList");
    PressKey(VK_ESCAPE); // Remove is disabled: nothing is selected
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);

    // The user selects the first row.
    LVITEMW selected{};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
    ASSERT_TRUE(IsWindowEnabled(Find("btnRemove")));
    ShowTab(1);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2) << "Escape removes on the first tab only";
    ShowTab(0);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_TRUE(IsWindowEnabled(Find("BtnSaveOpts")));

    ShowTab(1);
    PressAlt('s');
    EXPECT_FALSE(IsWindowEnabled(Find("BtnSaveOpts"))) << "Alt+S saved from another tab";
    EXPECT_EQ(ReadProfile(DefaultProfile())->IOOptions().FFiles.size(), 1u);

    PressAlt('x'); // "E&xit" is on the first tab only
    EXPECT_TRUE(IsWindow(Form->Handle()));
    ShowTab(0);
    PressAlt('x');
    EXPECT_EQ(Form->Handle(), nullptr) << "Alt+X closed the window";
}

// Ctrl+Tab and Ctrl+Shift+Tab go round the tabs from whichever control has
// the focus, a drop-down and a list among them.
TEST_F(WinWindow, CtrlTabGoesRoundTheTabsFromEveryControl)
{
    Start();
    Show();
    HWND tabs = Find("PageControl");
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    const struct {
        int Tab;
        const char* Control;
        bool Shift;
        int Next;
    } rows[] = {
        {ConvertSheet, "SrcFilesList", false, HighlightOptSheet},
        {ConvertSheet, "SrcFilesList", true, ConfigSheet},
        {HighlightOptSheet, "NamesList", false, ColorProfileSheet},
        {PageStyleSheet, "PageStyleCombo", false, ConfigSheet},
        {ConfigSheet, "SkipExistingCheck", false, ConvertSheet},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Control);
        ShowTab(row.Tab);
        SetFocus(Find(row.Control));
        keys[VK_SHIFT] = row.Shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PressKey(VK_TAB);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), row.Next);
    }
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

TEST_F(WinWindow, HintPanelShowsTheHintUnderTheMouse)
{
    Start();
    Show();
    struct Row {
        int Tab;
        const char* Control;
        const char* Hint;
    };
    const Row rows[] = {
        {0, "BtnAdd", "Click to add files to convert to HTML"},
        {0, "BtnAbout", " "}, // no hint of its own: the frame has none, the tab's is blank
        {ConfigSheet, "lblInDir", " "}, // a label inside a frame whose hint is blank
        {ConfigSheet, "SkipExistingCheck", "Do not overwrite existing files (no prompt)"},
        {1, "NameImgEditBrowse", "Select an image (HTML icon) to place in front of the highlighted name"},
    };
    for (const Row& row : rows) {
        ShowTab(row.Tab);
        HWND control = Find(row.Control);
        RECT place;
        GetWindowRect(control, &place);
        const POINT centre{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        SetCursorPos(centre.x, centre.y);
        // Labels and frames take no mouse: the window under them gets the move.
        PostMessageW(WindowFromPoint(centre), WM_MOUSEMOVE, 0, 0);
        ProcessMessages();
        EXPECT_EQ(StatusText(Find("StatusBar"), 0), row.Hint) << row.Control;
    }
}

// On the Page Style tab Alt+T reaches the style, and choosing Modern enables
// the modern options, the caption of "Lines to keep" with its list.
TEST_F(WinWindow, ChoosingTheModernStyleEnablesTheModernOptions)
{
    Start();
    Show();
    ShowTab(PageStyleSheet);
    HWND style = Find("PageStyleCombo");
    const char* modernOnly[] = {"KeepLinesCombo", "lblKeepLines", "WriteIndexCheck", "PlayerStatsCheck"};
    for (const char* name : modernOnly)
        ASSERT_FALSE(IsWindowEnabled(Find(name))) << name << " with the Classic style";
    PressAlt('t');
    EXPECT_EQ(GetFocus(), style);

    // The user picks "Modern" from the closed list with the keyboard.
    SendMessageW(style, CB_SETCURSEL, 1, 0);
    SendMessageW(GetParent(style), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(style), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(style));
    for (const char* name : modernOnly)
        EXPECT_TRUE(IsWindowEnabled(Find(name))) << name;
    EXPECT_TRUE(IsWindowEnabled(Find("BtnSaveOpts"))) << "the change marks the profile changed";
}

// Converts two real dumps through the window, one under a name that is not
// ASCII, and leaves the pages, the dumps and the profile in build-windows/
// win32-window-pages/, where scripts/test-windows compares the pages with
// those of the Linux build.
TEST_F(WinWindow, AltHConvertsTheProfilesDumpsAndEachRowSaysConverted)
{
    const std::string pages = PathText(fs::absolute(FileSystemPath(VELMORA_BIN_DIR "\\..\\win32-window-pages"))) + "\\";
    fs::remove_all(FileSystemPath(pages));
    fs::create_directories(FileSystemPath(pages + "windows\\img"));
    // Copies of the bytes, not of the read-only files, so that the next run can remove them.
    const std::string dumps[] = {pages + "condump.txt", pages + "Ärger – Лог.txt"};
    const char* real[] = {"ql-condump-june2025.txt", "ql-condump-aug2025.txt"};
    for (int i = 0; i < 2; ++i) {
        std::string bytes = TempDir::Read(VELMORA_SHARED_TESTDATA "/q3dumps/" + std::string(real[i]));
        ASSERT_FALSE(bytes.empty()) << real[i];
        std::ofstream(FileSystemPath(dumps[i]), std::ios::binary) << bytes;
    }

    TPlatform platform;
    platform.ProgramDir = Dir.Path();
    THighlightProfile profile(nullptr, platform);
    profile.HTMLOptions().SetTitle("Zäh & <laut>");
    profile.HTMLOptions().SetBrokenLines(true);
    profile.HTMLOptions().SetFrontPageHTML("<H1>Top</H1>");
    profile.AddName("execing", "", "<B>", "</B>", 0x0000FF);
    profile.AddName("WARNING", "", "", "", 0x00FF00);
    profile.IOOptions().AddFiles({dumps[0], dumps[1]});
    profile.IOOptions().SetDestDir(pages + "windows\\");
    profile.IOOptions().SetDestImgDir(pages + "windows\\img\\");
    ASSERT_TRUE(profile.SaveToFile(DefaultProfile()));
    fs::copy_file(FileSystemPath(DefaultProfile()), FileSystemPath(pages + "profile.cfg"));

    Start();
    Show();
    PressAlt('h');
    HWND list = Find("SrcFilesList");
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(CellText(list, row, 1), "Converted") << CellText(list, row, 0);
    for (const char* page : {"condump.htm", "Ärger – Лог.htm"})
        EXPECT_GT(fs::file_size(FileSystemPath(pages + "windows\\" + page)), 50000u) << page;
    EXPECT_EQ(WindowText(Find("BtnConvert")), "Convert to &HTML") << "the window is back from its run";

    // Return on a row, and a double-click on the other, open their pages.
    ASSERT_TRUE(CellText(list, 1, 0).ends_with("condump.txt"));
    LVITEMW focused{};
    focused.stateMask = focused.state = LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focused));
    SetFocus(list);
    PressKey(VK_RETURN);
    RECT first{LVIR_LABEL, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(first.left + 2, (first.top + first.bottom) / 2));
    ProcessMessages();
    ASSERT_EQ(Urls.size(), 2u);
    EXPECT_EQ(Urls[0].substr(0, 8), "file:///");
    EXPECT_TRUE(Urls[0].ends_with("/windows/condump.htm")) << Urls[0];
    EXPECT_TRUE(Urls[1].ends_with("%D0%9B%D0%BE%D0%B3.htm")) << Urls[1];
}

TEST_F(WinWindow, PlacementIsSavedAtCloseAndRestoredAtTheNextStart)
{
    for (int show : {SW_SHOWNORMAL, SW_SHOWMAXIMIZED}) {
        SCOPED_TRACE(show);
        Start();
        Show();
        SetWindowPos(Form->Handle(), nullptr, 40, 50, 700, 420, SWP_NOZORDER);
        ListView_SetColumnWidth(Find("SrcFilesList"), 0, 250);
        ShowWindow(Form->Handle(), show);
        ProcessMessages();
        SendMessageW(Form->Handle(), WM_CLOSE, 0, 0);
        ASSERT_EQ(Form->Handle(), nullptr);

        ExpectStoredPlacement(IniPath(), show == SW_SHOWMAXIMIZED ? 3 : 1);

        Form.reset();
        Start();
        Show();
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(Form->Handle(), &placement);
        const RECT& normal = placement.rcNormalPosition;
        EXPECT_EQ(normal.left, 40);
        EXPECT_EQ(normal.top, 50);
        EXPECT_EQ(normal.right, 740);
        EXPECT_EQ(normal.bottom, 470);
        EXPECT_EQ(IsZoomed(Form->Handle()) != FALSE, show == SW_SHOWMAXIMIZED);
        EXPECT_EQ(ListView_GetColumnWidth(Find("SrcFilesList"), 0), 250);
        Form.reset();
        fs::remove(FileSystemPath(IniPath()));
    }
}

} // namespace
} // namespace velmora::test
