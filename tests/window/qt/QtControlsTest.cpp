// Adapters whose Qt side does more than pass a value on: memo lines, which
// profiles keep joined by CR LF, and the progress bar, which only repaints
// for a visible move.
#include <QAction>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>

#include "WindowFixture.h"
#include "window/qt/UQtControls.h"

namespace velmora::test {
namespace {

using QtControls = WindowTest;

TEST_F(QtControls, MemoLinesAreStoredWithCRLFAndShownAsLines)
{
    Start();
    Show();
    Find<QTabWidget>("PageControl")->setCurrentIndex(2);
    auto* memo = Find<QPlainTextEdit>("FrontPageHTMLMemo");
    memo->setFocus();
    QTest::keyClicks(memo, "<H1>Top");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "second</H1>");
    QTest::keyClick(memo, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(ReadProfile(DefaultProfile())->HTMLOptions().FFrontPageHTML, "<H1>Top\r\nsecond</H1>");

    // A profile's CR LF, and a lone CR, are line breaks in the memo.
    auto profile = ReadProfile(DefaultProfile());
    profile->HTMLOptions().SetEndPageHTML("<HR>\r\n<P>\rend");
    ASSERT_TRUE(profile->SaveToFile(Dir.File("lines.cfg")));
    Dialogs.OpenAnswers = {std::vector<std::string>{Dir.File("lines.cfg")}};
    Find<QAction>("ActOpenProfile")->trigger();
    EXPECT_EQ(Find<QPlainTextEdit>("EndPageHTMLMemo")->toPlainText(), "<HR>\n<P>\nend");
    EXPECT_EQ(Find<QPlainTextEdit>("FrontPageHTMLMemo")->toPlainText(), "<H1>Top\nsecond</H1>");
}

TEST(QtProgressBar, MovesInHalfPercentStepsAndShowsBothEndsAtOnce)
{
    QProgressBar bar;
    bar.setRange(0, 100);
    bar.setValue(0); // as the window's bars start
    TQtProgressBar progress(&bar);
    progress.SetMax(1000);
    const std::pair<int, int> steps[] = {
        // position set, position shown
        {4, 0},      // 0.4 %: not yet
        {5, 5},      // half a percent
        {9, 5},      {10, 10},
        {997, 997},  // a long way at once
        {1000, 1000}, // the end, though only 0.3 % on
        {3, 3},      {0, 0}, // the start, though only 0.3 % back
        {2000, 1000}, // beyond the end: the end
    };
    for (auto [set, shown] : steps) {
        progress.SetPosition(set);
        EXPECT_EQ(bar.value(), shown) << set;
        EXPECT_EQ(bar.maximum(), 1000) << set;
    }
    EXPECT_EQ(progress.Position(), 1000);
    progress.SetPosition(0);
    for (int i = 0; i < 5; ++i)
        progress.StepIt();
    EXPECT_EQ(progress.Position(), 5);
    EXPECT_EQ(bar.value(), 5);
}

} // namespace
} // namespace velmora::test
