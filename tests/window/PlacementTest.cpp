// Where windows come back: the placement keys of the settings file, read when
// a window is first shown and written when it closes, and the About box.
#include <filesystem>

#include "platform/UIniFile.h"
#include "window/UAbout.h"
#include "window/UFormPlacement.h"
#include "FormFixture.h"
#include "StoredPlacement.h"

namespace velmora::test {
namespace {

const std::string Section = "Main Window Placement";

class Placement : public ::testing::Test {
protected:
    std::string Ini() const { return Dir.File("velmora.ini"); }
    // A placement of the fake window over the test's settings file.
    std::unique_ptr<TFormPlacement> Make(TFormPlacement::TRestore restore = TFormPlacement::TRestore::StateAndPosition)
    {
        auto placement = std::make_unique<TFormPlacement>(Window, Section, restore);
        placement->SetIniFileName(Ini());
        placement->StoreColumns(Columns, "SrcFilesList");
        return placement;
    }
    TempDir Dir;
    FakeWindowPlacement Window;
    FakeListColumns Columns;
};

TEST_F(Placement, RestoreAppliesTheStoredStateAndTheKeyOfThisScreenOrThePlainOne)
{
    struct Case {
        const char* ScreenKey; // NormPos(1024x768)
        const char* PlainKey;  // NormPos
        int ShowCmd;
        int PixelsPerInch;
        TWindowBounds Expected;
        TWindowState State;
    };
    const Case cases[] = {
        {"1,2,601,402", "5,6,705,406", 1, 96, {1, 2, 600, 400}, TWindowState::Normal},
        {"", "5,6,705,406", 3, 96, {5, 6, 700, 400}, TWindowState::Maximized}, // empty: the plain key
        {nullptr, "5,6,705,406", 2, 96, {5, 6, 700, 400}, TWindowState::Minimized},
        {nullptr, "5,6,705,406", 7, 96, {5, 6, 700, 400}, TWindowState::Minimized},
        {nullptr, "5,6,705,406", 1, 120, {10, 20, 602, 368}, TWindowState::Normal}, // another resolution: not moved
        {nullptr, "9,9,9,9", 1, 96, {10, 20, 602, 368}, TWindowState::Normal},      // no width: not moved
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.PlainKey + std::to_string(c.ShowCmd) + std::to_string(c.PixelsPerInch));
        std::filesystem::remove(Ini());
        TIniFile ini(Ini());
        if (c.ScreenKey)
            ini.WriteString(Section, "NormPos(1024x768)", c.ScreenKey);
        ini.WriteString(Section, "NormPos", c.PlainKey);
        ini.WriteInteger(Section, "ShowCmd", c.ShowCmd);
        ini.WriteInteger(Section, "PixelsPerInch", c.PixelsPerInch);
        Window = FakeWindowPlacement();
        auto placement = Make();
        placement->WindowShown();
        EXPECT_EQ(Window.Bounds, c.Expected);
        EXPECT_EQ(Window.WindowState, c.State);
        placement->Save(); // not saved again at destruction
    }
}

TEST_F(Placement, SaveWritesTheKeysAndColumnsThatRestoreReadsBack)
{
    auto placement = Make();
    placement->WindowShown();
    Window.Bounds = {40, 50, 700, 420};
    Window.WindowState = TWindowState::Maximized;
    Columns.List[0].Width = 250;
    ASSERT_TRUE(placement->Save());
    ExpectStoredPlacement(Ini(), 3);
    // Beyond what both front ends store alike:
    TIniFile ini(Ini());
    EXPECT_EQ(ini.ReadString(Section, "NormPos(1024x768)", ""), "40,50,740,470");
    EXPECT_EQ(ini.ReadString(Section, "MinMaxPos", ""), "-1,-1,-1,-1");
    EXPECT_EQ(ini.ReadInteger(Section, "PixelsPerInch", 0), 96);
    EXPECT_EQ(ini.ReadInteger(Section, "Visible", -1), 0);
    EXPECT_EQ(ini.ReadString(Section + ".SrcFilesList_Columns", "Item0_AutoSize", ""), "False");

    Window = FakeWindowPlacement();
    Columns = FakeListColumns();
    Make()->WindowShown();
    EXPECT_EQ(Window.Bounds, (TWindowBounds{40, 50, 700, 420}));
    EXPECT_EQ(Window.WindowState, TWindowState::Maximized);
    EXPECT_EQ(Columns.List[0].Width, 250);
    EXPECT_TRUE(Columns.List[1].AutoSize);
}

// A stored position that would leave the title bar out of reach (another
// screen setup, a panel where the window stood) moves the frame, title bar
// included, into the work area; one within reach is kept.
TEST_F(Placement, RestoredFrameOutOfReachIsMovedIntoTheWorkArea)
{
    struct Case {
        const char* Name;
        const char* NormPos;
        std::vector<TWindowBounds> Areas;
        TWindowBounds Expected;
    };
    const TWindowBounds screen{0, 0, 1024, 768};
    const Case cases[] = {
        {"far off screen", "3000,3000,3700,3450", {screen}, {320, 314, 700, 450}},
        {"title bar above the screen", "10,5,610,405", {screen}, {10, 24, 600, 400}},
        {"title bar under a top panel", "10,40,610,440", {{0, 30, 1024, 738}}, {10, 54, 600, 400}},
        {"only a sliver beside the screen", "1000,100,1600,500", {screen}, {420, 100, 600, 400}},
        {"larger than the work area", "-500,-500,1500,1500", {screen}, {4, 24, 1016, 740}},
        {"on the second screen", "1100,100,1700,500", {screen, {1024, 0, 1280, 1024}}, {1100, 100, 600, 400}},
        {"within reach", "100,100,700,500", {screen}, {100, 100, 600, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::filesystem::remove(Ini());
        TIniFile ini(Ini());
        ini.WriteString(Section, "NormPos(1024x768)", c.NormPos);
        ini.WriteInteger(Section, "ShowCmd", 1);
        ini.WriteInteger(Section, "PixelsPerInch", 96);
        Window = FakeWindowPlacement();
        Window.Areas = c.Areas;
        Window.Margins = {4, 24, 4, 4};
        auto placement = Make();
        placement->WindowShown();
        EXPECT_EQ(Window.Bounds, c.Expected);
        placement->Save();
    }
}

TEST_F(Placement, AWindowNeverShownKeepsWhatIsStoredAndOneShownSavesWhenDestroyed)
{
    Make().reset();
    EXPECT_FALSE(TIniFile(Ini()).SectionExists(Section));
    auto placement = Make();
    placement->WindowShown();
    placement.reset();
    EXPECT_EQ(TIniFile(Ini()).ReadInteger(Section, "Visible", -1), 1) << "saved at destruction";
}

TEST_F(Placement, AboutBoxComesBackToItsPositionOnlyAndMailsTheAddressShown)
{
    TIniFile(Ini()).WriteString("About Placement", "NormPos", "70,80,900,900");
    TIniFile(Ini()).WriteInteger("About Placement", "PixelsPerInch", 96);
    Window.Bounds = {0, 0, 281, 322};
    FakeText email;
    email.Text = "me@example.org";
    std::vector<std::string> urls;
    TfrmAbout about(Window, email, [&](const std::string& url) { urls.push_back(url); }, Ini());
    about.FormShow();
    EXPECT_EQ(Window.Bounds, (TWindowBounds{70, 80, 281, 322}));
    about.lblEmailClick();
    EXPECT_EQ(urls, std::vector<std::string>{"mailto:me@example.org"});
    Window.Bounds = {5, 6, 281, 322};
    about.FormClose();
    EXPECT_EQ(TIniFile(Ini()).ReadString("About Placement", "NormPos", ""), "5,6,286,328");
    EXPECT_THROW(TfrmAbout(Window, email, nullptr, Ini()), std::invalid_argument);
}

using AboutCommand = FormTest;

TEST_F(AboutCommand, ShowsTheBoxWithTheMainWindowsSettingsFile)
{
    StartOnDefault();
    Form->ActAboutExecute();
    EXPECT_EQ(W.AboutBoxes, std::vector<std::string>{IniPath()});
}

} // namespace
} // namespace velmora::test
