// The real message boxes and dialogs, answered from a timer once they are up:
// the overwrite question's four buttons, messages, and how the file and
// colour dialogs are set up.
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "window/qt/UQtDialogs.h"

namespace velmora::test {
namespace {

// Runs act on the modal window of type T as soon as one is up.
template <class T>
void WhenShown(std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        auto* shown = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!shown && ++*tries < 400)
            return;
        timer->stop();
        timer->deleteLater();
        ASSERT_NE(shown, nullptr) << "no dialog came up";
        act(shown);
    });
    timer->start();
}

TEST(QtMessageBoxes, EachButtonOfTheOverwriteQuestionGivesItsAnswer)
{
    const std::pair<QMessageBox::StandardButton, TOverwriteAnswer> buttons[] = {
        {QMessageBox::Yes, TOverwriteAnswer::Yes},
        {QMessageBox::No, TOverwriteAnswer::No},
        {QMessageBox::NoToAll, TOverwriteAnswer::NoToAll},
        {QMessageBox::YesToAll, TOverwriteAnswer::YesToAll},
        {QMessageBox::NoButton, TOverwriteAnswer::Closed}, // closed without a button
    };
    TQtMessageBoxes boxes;
    for (auto [button, answer] : buttons) {
        SCOPED_TRACE(button);
        QString text;
        int buttonCount = 0;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            buttonCount = static_cast<int>(box->buttons().size());
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            if (button == QMessageBox::NoButton)
                box->done(QDialog::Rejected);
            else
                box->button(button)->click();
        });
        EXPECT_EQ(boxes.AskOverwrite("Do you want to replace the existing file?\rpage.htm"), answer);
        EXPECT_EQ(text, "Do you want to replace the existing file?\npage.htm");
        EXPECT_EQ(buttonCount, 4);
    }
}

TEST(QtMessageBoxes, MessagesAndYesNoQuestionsShowTheirTextsWithLineBreaks)
{
    TQtMessageBoxes boxes;
    WhenShown<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Fatal Error");
        EXPECT_EQ(box->text(), "Error loading configuration file.\nDelete the Corrupted file and try again.");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->button(QMessageBox::Ok)->click();
    });
    boxes.ShowMessage("Fatal Error", "Error loading configuration file.\rDelete the Corrupted file and try again.",
                      TMsgIcon::Error);
    for (bool yes : {true, false}) {
        WhenShown<QMessageBox>([yes](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "Configuration changed");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(boxes.AskYesNo("Configuration changed", "Do you want to save the changes ?"), yes);
    }
}

// The window system shows a box's title in a title bar beside its own icon and
// buttons; a box sized to a short text had a long title cut ("Con… mora").
TEST(QtMessageBoxes, BoxesAreWideEnoughForTheirWholeTitle)
{
    TQtMessageBoxes boxes;
    for (const char* caption : {"Conversion Error", "Error writing to the configuration file"}) {
        SCOPED_TRACE(caption);
        WhenShown<QMessageBox>([](QMessageBox* box) {
            QFont bold = box->font();
            bold.setBold(true);
            const int titleBar = box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
            EXPECT_GE(box->width(), QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 4 * titleBar);
            box->button(QMessageBox::Ok)->click();
        });
        boxes.ShowMessage(caption, "Canceled by user", TMsgIcon::Information);
    }
}

// A display name set for the application is appended by the window system to
// every title ("About : Velmora  — Velmora"); the program's titles are shown
// exactly as it writes them. The tests run on the program's application.
TEST(QtApplication, SetsNoDisplayNameForTheWindowSystemToAppend)
{
    EXPECT_EQ(QGuiApplication::applicationName(), "velmora");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName())
        << "no display name of its own";
}

TEST(QtMessageBoxes, QuestionWithCancelGivesEachAnswerAndEscapeCancels)
{
    const std::pair<int, TYesNoCancel> keys[] = {
        {Qt::Key_Y, TYesNoCancel::Yes}, {Qt::Key_N, TYesNoCancel::No}, {Qt::Key_Escape, TYesNoCancel::Cancel}};
    TQtMessageBoxes boxes;
    for (auto [key, answer] : keys) {
        SCOPED_TRACE(key);
        WhenShown<QMessageBox>([key](QMessageBox* box) {
            EXPECT_EQ(box->buttons().size(), 3);
            if (key == Qt::Key_Escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(key == Qt::Key_Y ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(boxes.AskYesNoCancel("Configuration changed", "Do you want to save the changes ?"), answer);
    }
}

TEST(QtFileDialogs, SaveDialogAsksBeforeOverwritingWhenToldTo)
{
    TempDir dir;
    TQtFileDialogs dialogs;
    for (bool prompt : {true, false}) {
        SCOPED_TRACE(prompt);
        TFileDialogSettings settings;
        settings.Title = "Choose a new file name";
        settings.Filter = "Configuration files|*.cfg|All files|*.*";
        settings.DefaultExt = ".cfg";
        settings.InitialDir = dir.Path();
        settings.OverwritePrompt = prompt;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            EXPECT_EQ(dialog->testOption(QFileDialog::DontConfirmOverwrite), !prompt);
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(dialog->windowTitle(), "Choose a new file name");
            EXPECT_EQ(dialog->defaultSuffix(), "cfg");
            EXPECT_EQ(dialog->nameFilters(), (QStringList{"Configuration files (*.cfg)", "All files (*.*)"}));
            dialog->selectFile(QString::fromStdString(dir.File("new.cfg")));
            static_cast<QDialog*>(dialog)->accept(); // as the Save button does
        });
        std::string chosen;
        EXPECT_TRUE(dialogs.ExecuteSave(settings, chosen));
        EXPECT_EQ(chosen, dir.File("new.cfg"));
    }
}

TEST(QtFileDialogs, OpenDialogShowsTheFiltersAndChoosesAsManyFilesAsAllowed)
{
    TempDir dir;
    TQtFileDialogs dialogs;
    struct Case {
        const char* Filter;
        QStringList Expected;
        bool MultiSelect, MustExist;
        QFileDialog::FileMode Mode;
    };
    const Case cases[] = {
        {"Quake 3 Dump files|*.txt;*.dmp;*.dump|All files|*.*",
         {"Quake 3 Dump files (*.txt *.dmp *.dump)", "All files (*.*)"}, true, true, QFileDialog::ExistingFiles},
        {"JPEG files (*.jpg;*.jpeg)|*.jpg;*.jpeg|GIF files (*.gif)|*.gif|All files (*.*)|*.*",
         {"JPEG files (*.jpg *.jpeg)", "GIF files (*.gif)", "All files (*.*)"}, false, true, QFileDialog::ExistingFile},
        {"Configuration files|*.cfg|All files|*.*", {"Configuration files (*.cfg)", "All files (*.*)"}, false, false,
         QFileDialog::AnyFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Filter);
        TFileDialogSettings settings;
        settings.Title = "Select files to be converted to HTML";
        settings.Filter = c.Filter;
        settings.InitialDir = dir.Path();
        settings.MultiSelect = c.MultiSelect;
        settings.MustExist = c.MustExist;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            EXPECT_EQ(dialog->nameFilters(), c.Expected);
            EXPECT_EQ(dialog->fileMode(), c.Mode);
            EXPECT_EQ(dialog->windowTitle(), "Select files to be converted to HTML");
            dialog->reject();
        });
        std::vector<std::string> files;
        EXPECT_FALSE(dialogs.ExecuteOpen(settings, files));
    }
}

TEST(QtFileDialogs, ColourDialogStartsAtThePresetAndGivesTheChosenColour)
{
    TQtFileDialogs dialogs;
    WhenShown<QColorDialog>([](QColorDialog* dialog) {
        EXPECT_EQ(dialog->currentColor(), QColor(0x33, 0x22, 0x11));
        dialog->setCurrentColor(QColor(0x01, 0x02, 0x03));
        dialog->accept();
    });
    TColor chosen = 0;
    EXPECT_TRUE(dialogs.ExecuteColor(0x112233, chosen));
    EXPECT_EQ(chosen, TColor(0x030201));
}

} // namespace
} // namespace velmora::test
