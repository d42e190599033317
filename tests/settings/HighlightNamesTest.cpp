// The names editor's operations on a profile, seen through the fake list box,
// edits, swatch and commands: what is listed, selected and shown.
#include <gtest/gtest.h>

#include "settings/UHighLighter.h"
#include "support/FakeControls.h"

namespace velmora {
namespace {

using namespace velmora::test;

class HighlightNamesTest : public ::testing::Test {
protected:
    HighlightNamesTest()
    {
        profile.BindControls(&list, &name, &image, &swatch, &before, &after, &remove, &update);
    }
    ~HighlightNamesTest() override { RestoreBuiltInDefaults(); }

    void Add(const std::string& n, TColor color = 0x10)
    {
        profile.AddName(n, n + ".gif", "<" + n + ">", "</" + n + ">", color);
    }
    std::string Editor() const
    {
        return name.Text + "|" + image.Text + "|" + before.Text + "|" + after.Text + "|" + std::to_string(swatch.Color);
    }

    FakeCommand save;
    TSettingsAction notifier{&save};
    THighlightProfile profile{&notifier, TPlatform{nullptr, nullptr, "/opt/velmora/"}};
    FakeListBox list;
    FakeText name, image, before, after;
    FakeColor swatch;
    FakeCommand remove, update;
};

TEST_F(HighlightNamesTest, AddName_New_AppendsSelectsTheLastRowAndMarksChanged)
{
    Add("Sarge", 0x20);
    EXPECT_EQ(list.Items, std::vector<std::string>{"Sarge"});
    EXPECT_EQ(list.Selected, 0);
    EXPECT_TRUE(save.Enabled);
    // Nothing was selected before, so the refill emptied the editor; the new
    // selection does not refresh it.
    EXPECT_EQ(Editor(), "||||" + std::to_string(DefaultTextColor));
    ASSERT_EQ(profile.Names().size(), 1u);
    const THighLightInfo& info = *profile.Names()[0].Info;
    EXPECT_EQ(info.FColor, 0x20);
    EXPECT_EQ(info.FImageFile, "Sarge.gif");
    EXPECT_EQ(info.FHTMLBefore, "<Sarge>");
    EXPECT_EQ(info.FHTMLAfter, "</Sarge>");
}

TEST_F(HighlightNamesTest, AddName_WithARowSelected_EditorKeepsShowingThatRow)
{
    Add("Sarge", 0x20);
    list.SetSelectedIndex(0);
    Add("Anarki", 0x30);
    EXPECT_EQ(list.Items, (std::vector<std::string>{"Sarge", "Anarki"}));
    EXPECT_EQ(list.Selected, 1);
    EXPECT_EQ(Editor(), "Sarge|Sarge.gif|<Sarge>|</Sarge>|32");
}

TEST_F(HighlightNamesTest, AddName_SameNameOtherCase_UpdatesInPlaceWithTheNewSpelling)
{
    Add("Sarge", 0x20);
    Add("Anarki", 0x30);
    Add("Xaero", 0x40);
    save.Enabled = false;
    profile.AddName("SARGE", "new.gif", "<i>", "</i>", 0x50);
    EXPECT_EQ(list.Items, (std::vector<std::string>{"SARGE", "Anarki", "Xaero"}));
    EXPECT_EQ(list.Selected, 2) << "the last row, although the first was updated";
    const THighLightInfo& info = *profile.Names()[0].Info;
    EXPECT_EQ(info.FColor, 0x50);
    EXPECT_EQ(info.FImageFile, "new.gif");
    EXPECT_EQ(info.FHTMLBefore, "<i>");
    EXPECT_EQ(info.FHTMLAfter, "</i>");
    EXPECT_TRUE(save.Enabled);
}

TEST_F(HighlightNamesTest, UpdateName_ReplacesTheItemAndShowsItWhenSelected)
{
    Add("Sarge");
    Add("Anarki");
    list.SetSelectedIndex(0);
    save.Enabled = false;
    profile.UpdateName("Doom", "d.gif", "<u>", "</u>", 0x60, 0);
    EXPECT_EQ(list.Items, (std::vector<std::string>{"Doom", "Anarki"}));
    EXPECT_EQ(list.Selected, 0);
    EXPECT_EQ(Editor(), "Doom|d.gif|<u>|</u>|96");
    EXPECT_TRUE(save.Enabled);
}

TEST_F(HighlightNamesTest, UpdateName_ToTheNameOfAnotherItem_KeepsBoth)
{
    Add("Sarge");
    Add("Anarki");
    profile.UpdateName("sarge", "", "", "", 1, 1);
    EXPECT_EQ(list.Items, (std::vector<std::string>{"Sarge", "sarge"}));
}

TEST_F(HighlightNamesTest, UpdateName_BeyondTheEnd_OnlyRefreshesAndMarksChanged)
{
    Add("Sarge", 0x20);
    list.Items = {"stale"};
    save.Enabled = false;
    profile.UpdateName("Doom", "", "", "", 0, 1);
    EXPECT_EQ(list.Items, std::vector<std::string>{"Sarge"});
    EXPECT_EQ(profile.Names()[0].Info->FColor, 0x20);
    EXPECT_TRUE(save.Enabled);
}

TEST_F(HighlightNamesTest, RemoveName_LastRow_LeavesNoneSelectedAndTheEditorShowingIt)
{
    Add("Sarge", 0x20);
    Add("Anarki", 0x30);
    list.SetSelectedIndex(1);
    profile.ShowSelectedName();
    EXPECT_TRUE(remove.Enabled && update.Enabled);
    save.Enabled = false;

    profile.RemoveName(1);
    EXPECT_EQ(list.Items, std::vector<std::string>{"Sarge"});
    EXPECT_EQ(list.Selected, -1);
    EXPECT_FALSE(remove.Enabled);
    EXPECT_FALSE(update.Enabled);
    EXPECT_EQ(Editor(), "Anarki|Anarki.gif|<Anarki>|</Anarki>|48");
    EXPECT_TRUE(save.Enabled);
}

TEST_F(HighlightNamesTest, RemoveName_OtherRow_SelectsTheRowThatMovedUpAndShowsIt)
{
    Add("Sarge", 0x20);
    Add("Anarki", 0x30);
    Add("Xaero", 0x40);
    list.SetSelectedIndex(1);
    profile.RemoveName(1);
    EXPECT_EQ(list.Items, (std::vector<std::string>{"Sarge", "Xaero"}));
    EXPECT_EQ(list.Selected, 1);
    EXPECT_EQ(Editor(), "Xaero|Xaero.gif|<Xaero>|</Xaero>|64");
    EXPECT_TRUE(remove.Enabled && update.Enabled);
}

TEST_F(HighlightNamesTest, RemoveName_EmptyName_RemovesTheItem)
{
    Add("Sarge");
    Add("Anarki");
    profile.UpdateName("", "", "", "", 0, 0);
    save.Enabled = false;
    profile.RemoveName(0);
    EXPECT_EQ(list.Items, std::vector<std::string>{"Anarki"});
    EXPECT_EQ(profile.Names().size(), 1u);
    EXPECT_TRUE(save.Enabled);
}

TEST_F(HighlightNamesTest, UpdateNamesList_NoSelection_EmptiesTheEditorAndTakesTheDefaultTextColour)
{
    Add("Sarge");
    list.SetSelectedIndex(0);
    profile.ShowSelectedName();
    list.SetSelectedIndex(-1);
    DefaultTextColor = 0x0A0B0C;
    profile.UpdateNamesList();
    EXPECT_EQ(Editor(), "||||" + std::to_string(0x0A0B0C));
    EXPECT_FALSE(remove.Enabled || update.Enabled);
    EXPECT_EQ(list.UpdateDepth, 0);
}

TEST_F(HighlightNamesTest, ShowSelectedName_ItemWithoutInfo_ShowsOnlyTheName)
{
    Add("Sarge", 0x20);
    list.SetSelectedIndex(0);
    profile.ShowSelectedName();
    profile.Names()[0].Info.reset();
    profile.Names()[0].Name = "Bare";
    profile.ShowSelectedName();
    EXPECT_EQ(Editor(), "Bare|Sarge.gif|<Sarge>|</Sarge>|32");
}

TEST(HighlightNamesUnboundTest, NameOperations_WithoutControlsOrNotifier_StillEditTheList)
{
    THighlightProfile profile(nullptr, TPlatform{nullptr, nullptr, "/opt/velmora/"});
    profile.AddName("Sarge", "", "", "", 1);
    profile.AddName("Anarki", "", "", "", 2);
    profile.UpdateName("Doom", "", "", "", 3, 0);
    profile.RemoveName(1);
    profile.ShowSelectedName();
    ASSERT_EQ(profile.Names().size(), 1u);
    EXPECT_EQ(profile.Names()[0].Name, "Doom");
    EXPECT_EQ(profile.Names()[0].Info->FColor, 3);
}

} // namespace
} // namespace velmora
