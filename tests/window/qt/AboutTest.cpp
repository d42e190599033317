// The About box as the user meets it: texts, logo, contact link and keys.
#include <string>
#include <vector>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "WindowFixture.h"

#include "window/qt/UJpegImage.h"
#include "window/qt/ULogo.h"
#include "window/qt/UQtAbout.h"

namespace velmora {
namespace {

std::string Text(const QWidget& box, const char* name)
{
    return box.findChild<QLabel*>(name)->text().toStdString();
}

void NoMail(const std::string&) {}

TEST(AboutBox, ShowsAuthorAddressAndVersionInAFixedToolWindow)
{
    TQtAboutBox box(NoMail, "");
    EXPECT_EQ(box.windowTitle().toStdString(), "About : Velmora ");
    EXPECT_EQ(Text(box, "lblAboutName"), "Written by");
    EXPECT_EQ(Text(box, "lblAuthName"), VELMORA_AUTHOR_NAME);
    EXPECT_EQ(Text(box, "lblEmail"), VELMORA_CONTACT_ADDRESS);
    EXPECT_EQ(Text(box, "lblVertxt"), "Version");
    EXPECT_EQ(Text(box, "lblVersion"), VELMORA_VERSION);

    EXPECT_EQ(box.minimumSize(), QSize(281, 322));
    EXPECT_EQ(box.maximumSize(), QSize(281, 322));
    Qt::WindowFlags flags = box.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::Tool));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));

    std::vector<std::string> focusable;
    for (QWidget* child : box.findChildren<QWidget*>())
        if (child->focusPolicy() != Qt::NoFocus)
            focusable.push_back(child->objectName().toStdString());
    EXPECT_EQ(focusable, std::vector<std::string>{"BtnCloseAbout"});
    EXPECT_EQ(box.findChild<QPushButton*>("BtnCloseAbout")->text().toStdString(), "&Close");
}

TEST(AboutBox, ShowsTheLogoDecodedAtItsSize)
{
    TQtAboutBox box(NoMail, "");
    auto* logo = box.findChild<QLabel*>("LogoImg");
    EXPECT_EQ(logo->pixmap().size(), QSize(249, 187));
    EXPECT_EQ(logo->size(), QSize(249, 187));
}

TEST(AboutBox, UnreadableJpegDecodesToNothing)
{
    std::span<const unsigned char> logo = LogoJpeg();
    const std::vector<unsigned char> garbage = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    const std::vector<std::span<const unsigned char>> cases = {
        {},                                  // nothing at all
        garbage,                             // not a JPEG
        logo.first(logo.size() / 2),         // cut off in the middle of the picture
        logo.first(20),                      // cut off in the header
    };
    for (std::span<const unsigned char> bytes : cases)
        EXPECT_TRUE(DecodeJpeg(bytes).isNull()) << bytes.size() << " bytes";
}

TEST(AboutBox, ClickOnTheAddressHandsMailtoToTheDesktop)
{
    std::vector<std::string> opened;
    TQtAboutBox box([&](const std::string& url) { opened.push_back(url); }, "");
    box.show();
    QTest::mouseClick(box.findChild<QLabel*>("lblEmail"), Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<std::string>{std::string("mailto:") + VELMORA_CONTACT_ADDRESS});
}

TEST(AboutBox, EscapeKeepsItOpenEnterOnCloseClosesIt)
{
    TQtAboutBox box(NoMail, "");
    box.open();
    auto* close = box.findChild<QPushButton*>("BtnCloseAbout");
    QTest::keyClick(close, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    QTest::keyClick(close, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

class AboutCommand : public test::WindowTest {
protected:
    // Opens the box with the About button; once it is up, notes where it
    // stands, moves it to moveTo and closes it with Enter.
    QPoint OpenMoveAndClose(QPoint moveTo)
    {
        QPoint shownAt(-1, -1);
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            shownAt = box->pos();
            box->move(moveTo);
            QTest::keyClick(box->findChild<QPushButton*>("BtnCloseAbout"), Qt::Key_Return);
        });
        Find<QPushButton>("BtnAbout")->click();
        return shownAt;
    }
};

TEST_F(AboutCommand, EachOpeningShowsANewBoxWhereTheLastOneWasClosed)
{
    Start();
    Show();
    OpenMoveAndClose({120, 90});
    EXPECT_EQ(OpenMoveAndClose({40, 30}), QPoint(120, 90));
    EXPECT_EQ(OpenMoveAndClose({40, 30}), QPoint(40, 30));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace velmora
