// The "Highlight Options" tab and the colour buttons as the user works them:
// typing, clicking lines, Add, Update, Remove, the drop-down and the colour dialog.
#include <string>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "WindowFixture.h"
#include "settings/UHighLighter.h"
#include "window/qt/UQtControls.h"

namespace velmora {
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

class NamesEditor : public test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Start();
        Show();
        Find<QTabWidget>("PageControl")->setCurrentIndex(1);
        QApplication::processEvents();
    }

    void Fill(const TEditors& e)
    {
        Find<QLineEdit>("NameEdit")->setText(QString::fromStdString(e.Name));
        Find<QLineEdit>("NameImgEdit")->setText(QString::fromStdString(e.Image));
        Find<QPlainTextEdit>("CustFrontHTMLMemo")->setPlainText(QString::fromStdString(e.Before));
        Find<QPlainTextEdit>("CustEndHTMLMemo")->setPlainText(QString::fromStdString(e.After));
        TQtColorSwatch(Find<QFrame>("ShowNameCol")).SetColor(e.Color);
    }
    TEditors Shown()
    {
        return {Find<QLineEdit>("NameEdit")->text().toStdString(),
                Find<QLineEdit>("NameImgEdit")->text().toStdString(),
                Find<QPlainTextEdit>("CustFrontHTMLMemo")->toPlainText().toStdString(),
                Find<QPlainTextEdit>("CustEndHTMLMemo")->toPlainText().toStdString(),
                TQtColorSwatch(Find<QFrame>("ShowNameCol")).GetColor()};
    }
    void Add(const TEditors& e)
    {
        Fill(e);
        Press("BtnAddName");
    }
    void Press(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    // A click on a line of the names list, as the user makes it.
    void ClickLine(int row)
    {
        auto* list = Find<QListWidget>("NamesList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        auto* list = Find<QListWidget>("NamesList");
        for (int i = 0; i < list->count(); ++i)
            lines.push_back(list->item(i)->text().toStdString());
        return lines;
    }
    int SelectedLine()
    {
        auto* list = Find<QListWidget>("NamesList");
        return list->selectedItems().isEmpty() ? -1 : list->row(list->selectedItems().front());
    }
    bool Enabled(const char* action) { return Find<QAction>(action)->isEnabled(); }
    // Remove and Update are enabled together.
    bool LineCommandsEnabled()
    {
        EXPECT_EQ(Enabled("ActRemoveName"), Enabled("ActUpdateName"));
        return Enabled("ActRemoveName");
    }
};

const TEditors Alice{"Alice:", "alice.gif", "<b>", "</b>", 0x0000FF};
const TEditors Bob{"Bob", "bob.jpg", "<i>", "</i>", 0x00FF00};
const TEditors Carol{"Carol", "", "", "", 0xFF0000};

TEST_F(NamesEditor, AddFollowsTheNameField)
{
    auto* edit = Find<QLineEdit>("NameEdit");
    edit->setFocus();
    EXPECT_FALSE(Enabled("ActAddName"));
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_TRUE(Enabled("ActAddName"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_FALSE(Enabled("ActAddName"));
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_TRUE(Enabled("ActAddName")) << "a blank is a name";
}

TEST_F(NamesEditor, AddWithNoLineSelectedAppendsHighlightsAndClearsTheEditors)
{
    Add(Alice);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Alice:"});
    EXPECT_EQ(SelectedLine(), 0);
    EXPECT_EQ(Shown(), (TEditors{"", "", "", "", DefaultTextColor}));
    EXPECT_FALSE(Enabled("ActAddName"));
    EXPECT_FALSE(LineCommandsEnabled());
    EXPECT_TRUE(Enabled("ActSaveOpts"));
}

TEST_F(NamesEditor, AddWithALineSelectedKeepsThatLineInTheEditors)
{
    Add(Alice);
    ClickLine(0);
    EXPECT_EQ(Shown(), Alice);
    EXPECT_TRUE(LineCommandsEnabled());

    Add(Bob);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Alice:", "Bob"}));
    EXPECT_EQ(SelectedLine(), 1);
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
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Alice:", "BOB", "Carol"}));
    ClickLine(1);
    EXPECT_EQ(Shown(), bob2);
}

TEST_F(NamesEditor, UpdateTakesAnyNameForTheSelectedLine)
{
    Add(Alice);
    Add(Bob);
    ClickLine(1);
    Fill({"alice:", "x.gif", "", "", 0x000080});
    Press("BtnUpdate");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Alice:", "alice:"})) << "no merge by name";
    EXPECT_EQ(SelectedLine(), 1);
    EXPECT_EQ(Shown(), (TEditors{"alice:", "x.gif", "", "", 0x000080}));

    Find<QLineEdit>("NameEdit")->clear();
    Press("BtnUpdate");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Alice:", ""}));
    Find<QLineEdit>("NameEdit")->setText("Dave");
    Press("BtnUpdate");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Alice:", "Dave"}));
}

TEST_F(NamesEditor, RemoveSelectsTheFollowingLineOrKeepsTheLastEntryInTheEditors)
{
    Add(Alice);
    Add(Bob);
    Add(Carol);
    ClickLine(1);
    Press("BtnRemoveName");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Alice:", "Carol"}));
    EXPECT_EQ(SelectedLine(), 1);
    EXPECT_EQ(Shown(), Carol);
    EXPECT_TRUE(LineCommandsEnabled());

    Press("BtnRemoveName");
    ClickLine(0);
    Press("BtnRemoveName");
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(SelectedLine(), -1);
    EXPECT_FALSE(LineCommandsEnabled());
    EXPECT_EQ(Shown(), Alice);
    EXPECT_TRUE(Enabled("ActAddName"));
    Press("BtnAddName");
    EXPECT_EQ(Lines(), std::vector<std::string>{"Alice:"});
}

TEST_F(NamesEditor, DropDownOnlySetsTheSwatchUntilAddStoresIt)
{
    auto* combo = Find<QComboBox>("ColorCombo");
    Find<QLineEdit>("NameEdit")->setText("Eve");
    combo->setCurrentIndex(9); // red
    EXPECT_EQ(Shown().Color, TColor(0x0000FF));
    EXPECT_FALSE(Enabled("ActSaveOpts"));
    Press("BtnAddName");
    EXPECT_TRUE(Enabled("ActSaveOpts"));
    ClickLine(0);
    EXPECT_EQ(Shown().Color, TColor(0x0000FF));

    // Showing an entry leaves the drop-down where it was.
    TQtColorSwatch(Find<QFrame>("ShowNameCol")).SetColor(0x00FF00);
    Press("BtnUpdate");
    ClickLine(0);
    EXPECT_EQ(combo->currentIndex(), 9);
}

TEST_F(NamesEditor, PickedPageColourIsSavedWithTheProfile)
{
    ASSERT_FALSE(Enabled("ActSaveOpts"));
    Find<QTabWidget>("PageControl")->setCurrentIndex(2);
    Dialogs.ColorAnswers.push_back(TColor(0x112233));
    Press("BtnBackCol");
    EXPECT_EQ(TQtColorSwatch(Find<QFrame>("ShowBackCol")).GetColor(), TColor(0x112233));
    EXPECT_TRUE(Enabled("ActSaveOpts"));
    Find<QTabWidget>("PageControl")->setCurrentIndex(3);
    Press("BtnSaveOpts");

    THighlightProfile saved(nullptr, TPlatform{});
    ASSERT_TRUE(saved.LoadFromFile(DefaultProfile()));
    EXPECT_EQ(saved.HTMLOptions().FBackColor, TColor(0x112233));
}

TEST_F(NamesEditor, HighlightColourFromTheDialogWaitsForAdd)
{
    Dialogs.ColorAnswers.push_back(TColor(0x445566));
    Press("BtnCustom");
    EXPECT_EQ(Shown().Color, TColor(0x445566));
    EXPECT_FALSE(Enabled("ActSaveOpts"));
}

TEST_F(NamesEditor, ColourDialogStartsAtTheSwatchAndCancelChangesNothing)
{
    const struct {
        const char* Button;
        const char* Swatch;
    } cases[] = {{"BtnCustom", "ShowNameCol"}, {"BtnBackCol", "ShowBackCol"}, {"BtnTextCol", "ShowTextCol"},
                 {"BtnLinkCol", "ShowLinkCol"}, {"BtnVisLinkcol", "ShowVisLinkCol"}};
    for (const auto& c : cases) {
        const TColor before = TQtColorSwatch(Find<QFrame>(c.Swatch)).GetColor();
        Dialogs.ColorAnswers.push_back(std::nullopt);
        Press(c.Button);
        ASSERT_FALSE(Dialogs.ColorPresets.empty()) << c.Button;
        EXPECT_EQ(Dialogs.ColorPresets.back(), before) << c.Button;
        EXPECT_EQ(TQtColorSwatch(Find<QFrame>(c.Swatch)).GetColor(), before) << c.Button;
        EXPECT_FALSE(Enabled("ActSaveOpts")) << c.Button;
    }
}

} // namespace
} // namespace velmora
