// The "Highlight Options" tab and the colour buttons: typing a name, clicking
// lines, Add, Update, Remove, the colour drop-down and the colour dialog.
#include <string>
#include <vector>

#include "FormFixture.h"

namespace velmora::test {
namespace {

// What the editors show for one entry.
struct TEditors {
    std::string Name, Image, Before, After;
    TColor Color;
    bool operator==(const TEditors&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TEditors& e)
{
    return os << "{" << e.Name << ", " << e.Image << ", " << e.Before << ", " << e.After << ", " << e.Color << "}";
}

class NamesEditor : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        StartOnDefault();
    }
    void Fill(const TEditors& e)
    {
        W.NameEdit.SetText(e.Name);
        W.NameImgEdit.SetText(e.Image);
        W.CustFrontHTMLMemo.SetText(e.Before);
        W.CustEndHTMLMemo.SetText(e.After);
        W.ShowNameCol.SetColor(e.Color);
    }
    TEditors Shown() const
    {
        return {W.NameEdit.Text, W.NameImgEdit.Text, W.CustFrontHTMLMemo.Text, W.CustEndHTMLMemo.Text,
                W.ShowNameCol.Color};
    }
    void Add(const TEditors& e)
    {
        Fill(e);
        Run(&THTMLform::ActAddNameExecute);
    }
    void ClickLine(int row)
    {
        W.NamesList.SetSelectedIndex(row);
        Form->NamesListClick();
    }
    // Remove and Update are enabled together.
    bool LineCommandsEnabled()
    {
        EXPECT_EQ(W.ActRemoveName.Enabled, W.ActUpdateName.Enabled);
        return W.ActRemoveName.Enabled;
    }
};

const TEditors Alice{"Alice:", "alice.gif", "<b>", "</b>", 0x0000FF};
const TEditors Bob{"Bob", "bob.jpg", "<i>", "</i>", 0x00FF00};
const TEditors Carol{"Carol", "", "", "", 0xFF0000};

TEST_F(NamesEditor, AddFollowsTheNameField)
{
    EXPECT_FALSE(W.ActAddName.Enabled);
    W.NameEdit.SetText("A");
    EXPECT_TRUE(W.ActAddName.Enabled);
    W.NameEdit.SetText("");
    EXPECT_FALSE(W.ActAddName.Enabled);
    W.NameEdit.SetText(" ");
    EXPECT_TRUE(W.ActAddName.Enabled) << "a blank is a name";
}

TEST_F(NamesEditor, AddWithNoLineSelectedAppendsHighlightsAndClearsTheEditors)
{
    Add(Alice);
    EXPECT_EQ(W.NamesList.Items, std::vector<std::string>{"Alice:"});
    EXPECT_EQ(W.NamesList.Selected, 0);
    EXPECT_EQ(Shown(), (TEditors{"", "", "", "", DefaultTextColor}));
    EXPECT_FALSE(W.ActAddName.Enabled);
    EXPECT_FALSE(LineCommandsEnabled());
    EXPECT_TRUE(Changed());
}

TEST_F(NamesEditor, AddWithALineSelectedKeepsThatLineInTheEditors)
{
    Add(Alice);
    ClickLine(0);
    EXPECT_EQ(Shown(), Alice);
    EXPECT_TRUE(LineCommandsEnabled());

    Add(Bob);
    EXPECT_EQ(W.NamesList.Items, (std::vector<std::string>{"Alice:", "Bob"}));
    EXPECT_EQ(W.NamesList.Selected, 1);
    EXPECT_EQ(Shown(), Alice);
    EXPECT_TRUE(LineCommandsEnabled());
}

TEST_F(NamesEditor, AddingANameInOtherLetterCaseUpdatesThatEntryInPlace)
{
    Add(Alice);
    Add(Bob);
    Add(Carol);
    TEditors bob2{"BOB", "b2.gif", "<u>", "</u>", 0x123456};
    Add(bob2);
    EXPECT_EQ(W.NamesList.Items, (std::vector<std::string>{"Alice:", "BOB", "Carol"}));
    W.NamesList.SetSelectedIndex(1);
    Form->NamesListKeyPress("b", false); // a letter typed in the list shows the selected entry too
    EXPECT_EQ(Shown(), bob2);
}

TEST_F(NamesEditor, UpdateTakesAnyNameForTheSelectedLine)
{
    Add(Alice);
    Add(Bob);
    ClickLine(1);
    Fill({"alice:", "x.gif", "", "", 0x000080});
    Run(&THTMLform::ActUpdateNameExecute);
    EXPECT_EQ(W.NamesList.Items, (std::vector<std::string>{"Alice:", "alice:"})) << "no merge by name";
    EXPECT_EQ(W.NamesList.Selected, 1);
    EXPECT_EQ(Shown(), (TEditors{"alice:", "x.gif", "", "", 0x000080}));

    W.NameEdit.SetText("");
    Run(&THTMLform::ActUpdateNameExecute);
    EXPECT_EQ(W.NamesList.Items, (std::vector<std::string>{"Alice:", ""}));
    W.NameEdit.SetText("Dave");
    Run(&THTMLform::ActUpdateNameExecute);
    EXPECT_EQ(W.NamesList.Items, (std::vector<std::string>{"Alice:", "Dave"}));
}

TEST_F(NamesEditor, RemoveSelectsTheFollowingLineOrKeepsTheLastEntryInTheEditors)
{
    Add(Alice);
    Add(Bob);
    Add(Carol);
    ClickLine(1);
    Run(&THTMLform::ActRemoveNameExecute);
    EXPECT_EQ(W.NamesList.Items, (std::vector<std::string>{"Alice:", "Carol"}));
    EXPECT_EQ(W.NamesList.Selected, 1);
    EXPECT_EQ(Shown(), Carol);
    EXPECT_TRUE(LineCommandsEnabled());

    Run(&THTMLform::ActRemoveNameExecute);
    ClickLine(0);
    Run(&THTMLform::ActRemoveNameExecute);
    EXPECT_TRUE(W.NamesList.Items.empty());
    EXPECT_EQ(W.NamesList.Selected, -1);
    EXPECT_FALSE(LineCommandsEnabled());
    EXPECT_EQ(Shown(), Alice);
    EXPECT_TRUE(W.ActAddName.Enabled);
    Run(&THTMLform::ActAddNameExecute);
    EXPECT_EQ(W.NamesList.Items, std::vector<std::string>{"Alice:"});
}

TEST_F(NamesEditor, DropDownOnlySetsTheSwatchUntilAddStoresIt)
{
    W.NameEdit.SetText("Eve");
    W.ColorCombo.Selected = 9; // red
    Form->ColorComboChange();
    EXPECT_EQ(W.ShowNameCol.Color, TColor(0x0000FF));
    EXPECT_FALSE(Changed());
    // A key in the drop-down applies the colour selected before the key moves it.
    W.ColorCombo.Selected = 10;
    Form->ColorComboKeyDown();
    EXPECT_EQ(W.ShowNameCol.Color, TColor(0x00FF00));
    Run(&THTMLform::ActAddNameExecute);
    EXPECT_TRUE(Changed());
    ClickLine(0);
    EXPECT_EQ(W.ShowNameCol.Color, TColor(0x00FF00));
}

TEST_F(NamesEditor, DropDownShowsTheSwatchsColourWhenItIsABasicOneAndNoneOtherwise)
{
    Add(Alice); // red, the tenth basic colour
    EXPECT_EQ(W.ColorCombo.Selected, 15) << "the cleared editors: white";
    W.NameEdit.SetText("Dave");
    Dialogs.ColorAnswers.push_back(TColor(0x123456));
    Form->ActPickColExecute(0);
    EXPECT_EQ(W.ColorCombo.Selected, -1) << "not one of the 16";
    Run(&THTMLform::ActAddNameExecute);
    ClickLine(0);
    EXPECT_EQ(W.ColorCombo.Selected, 9);
    ClickLine(1);
    EXPECT_EQ(W.ColorCombo.Selected, -1);
    EXPECT_EQ(W.ShowNameCol.Color, TColor(0x123456));
}

TEST_F(NamesEditor, OnlyKeysThatTypeIntoTheListShowTheSelectedEntryAgain)
{
    Add(Alice);
    ClickLine(0);
    W.NameEdit.SetText("Alicia:"); // a rename in progress
    // Tab, Return, Escape, Backspace, an arrow (types nothing), Ctrl+A, Alt+B.
    const std::pair<const char*, bool> keys[] = {{"\t", false}, {"\r", false}, {"\x1b", false}, {"\b", false},
                                                 {"", false},    {"\x01", true}, {"b", true}};
    for (auto [typed, withCtrlOrAlt] : keys)
        Form->NamesListKeyPress(typed, withCtrlOrAlt);
    EXPECT_EQ(W.NameEdit.Text, "Alicia:");
    Run(&THTMLform::ActUpdateNameExecute);
    EXPECT_EQ(W.NamesList.Items, std::vector<std::string>{"Alicia:"}) << "the rename reached the entry";

    W.NameEdit.SetText("typed");
    Form->NamesListKeyPress("a", false); // a letter searches the list, which shows its entry
    EXPECT_EQ(W.NameEdit.Text, "Alicia:");
}

TEST_F(NamesEditor, PickedPageColourIsSavedWithTheProfileAndBecomesTheDefaultWithIniDefaults)
{
    ASSERT_FALSE(Changed());
    Dialogs.ColorAnswers.push_back(TColor(0x112233));
    Form->ActPickColExecute(1);
    EXPECT_EQ(W.Swatches.at("ShowBackCol").Color, TColor(0x112233));
    EXPECT_TRUE(Changed());
    EXPECT_EQ(DefaultBackColor, BuiltInBackColor) << "without ini defaults";
    Run(&THTMLform::ActSaveOptsExecute);
    EXPECT_EQ(ReadProfile(DefaultProfile())->HTMLOptions().FBackColor, TColor(0x112233));

    Click("INIDefsCheck");
    Leave();
    Dialogs.ColorAnswers.push_back(TColor(0x445566));
    Form->ActPickColExecute(4);
    EXPECT_EQ(DefaultBackColor, TColor(0x112233));
    EXPECT_EQ(DefaultVisitedLinkColor, TColor(0x445566));
}

TEST_F(NamesEditor, HighlightColourFromTheDialogWaitsForAdd)
{
    Dialogs.ColorAnswers.push_back(TColor(0x445566));
    Form->ActPickColExecute(0);
    EXPECT_EQ(W.ShowNameCol.Color, TColor(0x445566));
    EXPECT_FALSE(Changed());
}

TEST_F(NamesEditor, ColourDialogStartsAtTheSwatchCancelChangesNothingAndOtherSelectorsDoNothing)
{
    const char* const swatches[] = {"ShowNameCol", "ShowBackCol", "ShowTextCol", "ShowLinkCol", "ShowVisLinkCol"};
    for (int selector = 0; selector < 5; ++selector) {
        SCOPED_TRACE(selector);
        FakeColor& swatch = selector == 0 ? W.ShowNameCol : W.Swatches.at(swatches[selector]);
        swatch.Color = 0x010203 * (selector + 1);
        Dialogs.ColorAnswers.push_back(std::nullopt);
        Form->ActPickColExecute(selector);
        ASSERT_EQ(Dialogs.ColorPresets.size(), static_cast<std::size_t>(selector + 1));
        EXPECT_EQ(Dialogs.ColorPresets.back(), swatch.Color);
        EXPECT_EQ(swatch.Color, 0x010203 * (selector + 1));
        EXPECT_FALSE(Changed());
    }
    Form->ActPickColExecute(-1);
    Form->ActPickColExecute(5);
    EXPECT_EQ(Dialogs.ColorPresets.size(), 5u) << "no dialog for a selector outside 0..4";
}

} // namespace
} // namespace velmora::test
