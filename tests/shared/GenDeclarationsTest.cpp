// The shared declarations: status texts, the change notifier and the defaults
// that new highlight entries take.
#include <gtest/gtest.h>

#include <map>

#include "shared/UGenDeclarations.h"
#include "support/FakeControls.h"

namespace velmora {
namespace {

using test::FakeCommand;

TEST(StatusTextTest, EveryCodeFrom0To255_HasItsText)
{
    const std::map<int, std::string> known = {
        {0, "Ready"},
        {1, "Converted"},
        {2, "Converted. Overwritten existing file"},
        {3, "Not converted. Skipped existing file"},
        {4, "Error reading source file"},
        {5, "Not converted. Skipped existing file"},
        {6, "Not converted. Error writing to output file"},
        {8, "Canceled by user"},
    };
    for (int code = 0; code <= 255; ++code) {
        auto it = known.find(code);
        std::string expected = it != known.end() ? it->second : "Unknown status";
        EXPECT_EQ(IoResClass::StatusText(static_cast<std::uint8_t>(code)), expected) << "code " << code;
    }
}

TEST(StatusTextTest, ObjectReadsItsOwnStatus_NewOneReadsReady)
{
    IoResClass status;
    EXPECT_EQ(status.Status, 0);
    EXPECT_EQ(status.StatusText(), "Ready");
    status.Status = StatusCode::Canceled;
    EXPECT_EQ(status.StatusText(), "Canceled by user");
    status.Status = 200;
    EXPECT_EQ(status.StatusText(), "Unknown status");
}

TEST(SettingsActionTest, SetChanged_DrivesTheBoundCommand)
{
    FakeCommand save;
    TSettingsAction notifier(&save);
    notifier.SetChanged(true);
    EXPECT_TRUE(save.Enabled);
    EXPECT_TRUE(notifier.IsChanged());
    notifier.SetChanged(false);
    EXPECT_FALSE(save.Enabled);
    EXPECT_FALSE(notifier.IsChanged());
}

TEST(SettingsActionTest, WithoutCommand_CountsAsChangedAndIgnoresSetChanged)
{
    TSettingsAction notifier(nullptr);
    notifier.SetChanged(false);
    EXPECT_TRUE(notifier.IsChanged());
}

TEST(HighLightInfoTest, New_TakesTheDefaultTextColourOfTheMoment)
{
    DefaultTextColor = 0x123456;
    THighLightInfo info;
    RestoreBuiltInDefaults();
    EXPECT_EQ(info.FColor, 0x123456);
    EXPECT_EQ(THighLightInfo().FColor, 0xFFFFFF);
    EXPECT_TRUE(info.FImageFile.empty() && info.FHTMLBefore.empty() && info.FHTMLAfter.empty());
}

TEST(SharedDefaultsTest, RestoreBuiltInDefaults_PutsBackEveryValue)
{
    DefaultBackColor = DefaultTextColor = DefaultLinkColor = DefaultVisitedLinkColor = 1;
    DefaultProfileExtension = ".prf";
    RestoreBuiltInDefaults();
    EXPECT_EQ(DefaultBackColor, 0x400040);
    EXPECT_EQ(DefaultTextColor, 0xFFFFFF);
    EXPECT_EQ(DefaultLinkColor, 0x00FFFF);
    EXPECT_EQ(DefaultVisitedLinkColor, 0xFF0000);
    EXPECT_EQ(DefaultProfileExtension, ".cfg");
    EXPECT_EQ(MaxRecentProfiles, 20);
}

} // namespace
} // namespace velmora
