// The application settings file as the window uses it: the recent-profile
// list, the "Use ini defaults" switch and the default colours and extension.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/UIniFile.h"
#include "platform/UPaths.h"
#include "settings/UCustomIni.h"
#include "support/FakeControls.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::FakeCheck;
using test::FakeComboBox;
using test::FakeCommand;
using test::TempDir;

#ifdef _WIN32
const std::string NewLine = "\r\n";
#else
const std::string NewLine = "\n";
#endif

class CustomIni : public ::testing::Test {
protected:
    CustomIni() : FAction(&FSaveCommand), FIniPath(FDir.File("velmora.ini")) { FSaveCommand.Enabled = true; }
    void SetUp() override { RestoreBuiltInDefaults(); }
    void TearDown() override { RestoreBuiltInDefaults(); }

    // A settings object on the test's file with both controls linked.
    std::unique_ptr<TCustomIni> Make()
    {
        auto ini = std::make_unique<TCustomIni>(FIniPath, &FAction, FDir.Path());
        ini->LinkControls(&FCombo, &FCheck);
        return ini;
    }
    std::unique_ptr<TCustomIni> Loaded()
    {
        auto ini = Make();
        ini->LoadSettings();
        return ini;
    }
    void WriteFile(const std::string& text) { FDir.Write("velmora.ini", text); }
    std::string ReadFile() const { return TempDir::Read(FIniPath); }
    std::string DefaultProfile() const { return FDir.File("Default.cfg"); }
    std::string Read(const std::string& section, const std::string& key) const
    {
        return TIniFile(FIniPath).ReadString(section, key, "<missing>");
    }

    TempDir FDir;
    FakeCommand FSaveCommand;
    TSettingsAction FAction;
    FakeComboBox FCombo;
    FakeCheck FCheck;
    std::string FIniPath;
};

std::string ProfilesSection(const std::vector<std::string>& paths)
{
    std::string text = "[Profiles]\n";
    for (std::size_t i = 0; i < paths.size(); ++i)
        text += "Profile #" + std::to_string(i) + "=" + paths[i] + "\n";
    return text;
}

TEST_F(CustomIni, NoSettingsFileGivesTheDefaultProfileAndSavesBuiltInValues)
{
    auto ini = Loaded();
    EXPECT_EQ(ini->RecentProfiles(), std::vector<std::string>{DefaultProfile()});
    EXPECT_EQ(ini->GetCurrentProfile(), DefaultProfile());
    EXPECT_EQ(FCombo.Items, std::vector<std::string>{DefaultProfile()});
    EXPECT_EQ(FCombo.Selected, 0);
    EXPECT_FALSE(FCheck.Checked);
    EXPECT_FALSE(fs::exists(FIniPath)) << "loading writes nothing";

    ini->SaveSettings();
    EXPECT_EQ(ReadFile(), "[Profiles]" + NewLine + "Profile #0=" + DefaultProfile() + NewLine + NewLine +
                              "[Defaults storage]" + NewLine + "Use ini defaults=0" + NewLine + NewLine +
                              "[Defaults]" + NewLine + "HTML Background=4194368" + NewLine +
                              "HTML Text Color=16777215" + NewLine + "HTML Link Color=65535" + NewLine +
                              "Visited Link color=16711680" + NewLine + "Default Profile Extention=.cfg" + NewLine);
}

TEST_F(CustomIni, ReadsTwentyEntriesAndRewritesOnlyTheFirstNineteen)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 21; ++i)
        paths.push_back("/profiles/p" + std::to_string(i) + ".cfg");
    WriteFile(ProfilesSection(paths)); // Profile #20 lies beyond what is read
    auto ini = Loaded();
    std::vector<std::string> first20(paths.begin(), paths.begin() + 20);
    EXPECT_EQ(ini->RecentProfiles(), first20);
    EXPECT_EQ(FCombo.Items, first20);

    ini->AddRecentProfile("/profiles/new.cfg");
    ini->SaveSettings();
    EXPECT_EQ(Read("Profiles", "Profile #0"), "/profiles/new.cfg");
    for (int i = 1; i <= 18; ++i)
        EXPECT_EQ(Read("Profiles", "Profile #" + std::to_string(i)), paths[static_cast<std::size_t>(i - 1)]);
    EXPECT_EQ(Read("Profiles", "Profile #19"), "/profiles/p19.cfg") << "index 19 keeps its old text";
    EXPECT_EQ(Read("Profiles", "Profile #20"), "/profiles/p20.cfg");
}

TEST_F(CustomIni, PathThatTheFileCannotHoldIsLeftOutAndTheRestIsSaved)
{
    auto ini = Loaded();
    ini->AddRecentProfile("/q3/two\nlines.cfg");
    ini->AddRecentProfile("/q3/clan.cfg");
    ini->SetUseIniDefaults(true);
    ini->SaveSettings();
    EXPECT_EQ(Read("Profiles", "Profile #0"), "/q3/clan.cfg");
    EXPECT_EQ(Read("Profiles", "Profile #1"), DefaultProfile());
    EXPECT_EQ(Read("Profiles", "Profile #2"), "<missing>");
    EXPECT_EQ(Read("Defaults storage", "Use ini defaults"), "1");
    EXPECT_EQ(Read("Defaults", "Default Profile Extention"), ".cfg");
}

TEST_F(CustomIni, SkipsMissingIndexesEmptyValuesAndDuplicates)
{
    WriteFile("[Profiles]\n"
              "Profile #0=/q3/p0.cfg\n"
              "Profile #1=/q3/Clan.cfg\n"
              "Profile #2=/q3/p2.cfg\n"
              "Profile #4=\n"
              "Profile #5=/q3/Clan.cfg\n"
              "Profile #6=/Q3/CLAN.CFG\n"
              "Profile #19=/q3/p19.cfg\n");
    auto ini = Loaded();
    // Paths equal but for case are one file only where the file system says so.
    std::vector<std::string> expected{"/q3/p0.cfg", "/q3/Clan.cfg", "/q3/p2.cfg", "/Q3/CLAN.CFG", "/q3/p19.cfg"};
    if (PathsIgnoreCase)
        expected.erase(expected.begin() + 3);
    EXPECT_EQ(ini->RecentProfiles(), expected);
}

TEST_F(CustomIni, AddingAListedPathMovesItToTheTop)
{
    WriteFile(ProfilesSection({"/a.cfg", "/b.cfg", "/c.cfg", "/d.cfg"}));
    auto ini = Loaded();
    FSaveCommand.Enabled = true;
    ini->AddRecentProfile("/c.cfg");
    const std::vector<std::string> expected = {"/c.cfg", "/a.cfg", "/b.cfg", "/d.cfg"};
    EXPECT_EQ(ini->RecentProfiles(), expected);
    EXPECT_EQ(FCombo.Items, expected);
    EXPECT_EQ(FCombo.Selected, 0);
    EXPECT_EQ(FCombo.UpdateDepth, 0);
    EXPECT_FALSE(FSaveCommand.Enabled);
    EXPECT_EQ(ini->GetCurrentProfile(), "/c.cfg");
}

TEST_F(CustomIni, DefaultsAreReadOnlyWhenTheSwitchIsOn)
{
    const std::string defaults = "[Defaults]\n"
                                 "HTML Background=$102030\n"
                                 "html text color=0x405060\n"
                                 "HTML Link Color=not a number\n"
                                 "Visited Link color=-16\n"
                                 "Default Profile Extention=.q3p\n";
    WriteFile("[Defaults storage]\nUse ini defaults=1\n" + defaults);
    auto ini = Loaded();
    EXPECT_TRUE(ini->UseIniDefaults());
    EXPECT_TRUE(FCheck.Checked);
    EXPECT_EQ(DefaultBackColor, 0x102030);
    EXPECT_EQ(DefaultTextColor, 0x405060);
    EXPECT_EQ(DefaultLinkColor, BuiltInLinkColor);
    EXPECT_EQ(DefaultVisitedLinkColor, -16);
    EXPECT_EQ(DefaultProfileExtension, ".q3p");
    EXPECT_EQ(ini->GetCurrentProfile(), DefaultProfile()) << "the extension read takes effect next run";

    RestoreBuiltInDefaults();
    WriteFile("[Defaults storage]\nUse ini defaults=0\n" + defaults);
    auto off = Loaded();
    EXPECT_FALSE(off->UseIniDefaults());
    EXPECT_FALSE(FCheck.Checked);
    EXPECT_EQ(DefaultBackColor, BuiltInBackColor);
    EXPECT_EQ(DefaultProfileExtension, ".cfg");
    off->SaveSettings();
    EXPECT_EQ(Read("Defaults", "HTML Background"), "4194368");
    EXPECT_EQ(Read("Defaults", "HTML Text Color"), "16777215");
    EXPECT_EQ(Read("Defaults", "HTML Link Color"), "65535");
    EXPECT_EQ(Read("Defaults", "Visited Link color"), "16711680");
    EXPECT_EQ(Read("Defaults", "Default Profile Extention"), ".cfg");
}

TEST_F(CustomIni, SwitchIsOnForAnyNonZeroNumber)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"1", true}, {"5", true}, {"$10", true}, {"-1", true}, {"0", false}, {"yes", false}, {"", false}};
    for (const auto& [text, on] : cases) {
        WriteFile("[Defaults storage]\nUse ini defaults=" + text + "\n");
        EXPECT_EQ(Loaded()->UseIniDefaults(), on) << text;
    }
}

TEST_F(CustomIni, ClearRecentProfilesLeavesExactlyTheDefaultProfile)
{
    WriteFile(ProfilesSection({"/a.cfg", "/b.cfg", "/c.cfg"}) + "Stale key=gone\n");
    auto ini = Loaded();
    FSaveCommand.Enabled = true;
    ini->ClearRecentProfiles();
    EXPECT_EQ(ini->RecentProfiles(), std::vector<std::string>{DefaultProfile()});
    EXPECT_EQ(FCombo.Items, std::vector<std::string>{DefaultProfile()});
    EXPECT_EQ(FCombo.Selected, 0);
    EXPECT_FALSE(FSaveCommand.Enabled);
    EXPECT_FALSE(TIniFile(FIniPath).SectionExists("Profiles")) << "the whole section is erased";
    EXPECT_EQ(Read("Defaults", "HTML Background"), "4194368");

    ini->SaveSettings(); // as at close
    EXPECT_EQ(Read("Profiles", "Profile #0"), DefaultProfile());
    EXPECT_EQ(Read("Profiles", "Profile #1"), "<missing>");
    EXPECT_EQ(Read("Profiles", "Stale key"), "<missing>");
}

TEST_F(CustomIni, LoadSettingsClearsTheNotifierAndLinksStayWhenNotGiven)
{
    WriteFile(ProfilesSection({"/a.cfg", "/b.cfg"}) + "[Defaults storage]\nUse ini defaults=1\n");
    auto ini = Make();
    ini->LinkControls(nullptr, nullptr);
    EXPECT_TRUE(FSaveCommand.Enabled);
    ini->LoadSettings();
    EXPECT_FALSE(FSaveCommand.Enabled);
    EXPECT_EQ(FCombo.Items, (std::vector<std::string>{"/a.cfg", "/b.cfg"}));
    EXPECT_TRUE(FCheck.Checked);
    ini->SetUseIniDefaults(false);
    EXPECT_FALSE(FCheck.Checked);

    // Without controls the notifier is still cleared at the end.
    FSaveCommand.Enabled = true;
    TCustomIni bare(FIniPath, &FAction, FDir.Path());
    bare.LoadSettings();
    EXPECT_FALSE(FSaveCommand.Enabled);
    EXPECT_TRUE(bare.UseIniDefaults());
}

// A combo box whose second item cannot be added.
class FailingCombo : public FakeComboBox {
public:
    void AddItem(const std::string& text) override
    {
        if (Count() == 1)
            throw std::runtime_error("out of resources");
        FakeComboBox::AddItem(text);
    }
};

TEST_F(CustomIni, FailedRefillStillEndsTheUpdateSelectsAndClearsTheNotifier)
{
    FailingCombo combo;
    TCustomIni ini(FIniPath, &FAction, FDir.Path());
    ini.LinkControls(&combo, nullptr);
    ini.AddRecentProfile("/a.cfg");
    FSaveCommand.Enabled = true;
    EXPECT_THROW(ini.AddRecentProfile("/b.cfg"), std::runtime_error);
    EXPECT_EQ(combo.UpdateDepth, 0);
    EXPECT_EQ(combo.Selected, 0);
    EXPECT_FALSE(FSaveCommand.Enabled);
    EXPECT_EQ(ini.GetCurrentProfile(), "/b.cfg");
}

TEST_F(CustomIni, FailedSaveRaisesWithThePathAndKeepsTheList)
{
    FDir.Write("afile", "");
    std::string path = FDir.File("afile/velmora.ini");
    TCustomIni ini(path, &FAction, FDir.Path());
    ini.LoadSettings();
    try {
        ini.SaveSettings();
        ADD_FAILURE() << "no error raised";
    } catch (const EGenException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(ini.RecentProfiles(), std::vector<std::string>{DefaultProfile()});
}

TEST_F(CustomIni, ConstructionAndDestructionTouchNoFile)
{
    {
        auto ini = Loaded();
        ini->AddRecentProfile("/a.cfg");
        ini->SetUseIniDefaults(true);
        EXPECT_EQ(ini->GetIniFileName(), FIniPath);
        EXPECT_EQ(ini->ProfileExtension(), ".cfg");
    }
    EXPECT_FALSE(fs::exists(FIniPath));
}

TEST(SettingsFileName, IsTheProgramDirectoryAndTheExecutablesNameWithIni)
{
    struct Case {
        std::string Dir, Exe, Expected;
    };
    const std::vector<Case> cases = {
        {"/opt/velmora/", "/opt/velmora/velmora", "/opt/velmora/velmora.ini"},
        {"/home/u/.config/velmora/", "/usr/bin/velmora", "/home/u/.config/velmora/velmora.ini"},
        {"/opt/q3/", "/opt/q3/Converter.exe", "/opt/q3/Converter.ini"},
        {"/opt/q3", "/opt/q3/conv.v2.bin", std::string("/opt/q3") + PathDelim + "conv.v2.ini"},
        {"/opt/q3/", "", "/opt/q3/velmora.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingsFileName(c.Dir, c.Exe), c.Expected) << c.Exe;
}

} // namespace
} // namespace velmora
