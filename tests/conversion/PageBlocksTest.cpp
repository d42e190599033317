// Dumps read, and pages written, in blocks smaller than the dump: the page,
// the file bar's every move and the window messages are those of the dump
// read whole, wherever the edges of the blocks fall.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "EngineSetup.h"
#include "conversion/UDumpLineSource.h"

namespace velmora {
namespace {

using test::TEngineSetup;
using test::TempDir;

// A file bar that writes down every call, into the same log as the pump.
class TLoggedBar : public IProgressBar {
public:
    explicit TLoggedBar(std::string& log) : FLog(log) {}
    void SetMax(int max) override { FLog += "max " + std::to_string(FMax = max) + "\n"; }
    int Max() const override { return FMax; }
    void SetPosition(int position) override { FLog += "position " + std::to_string(FPosition = position) + "\n"; }
    int Position() const override { return FPosition; }
    void StepIt() override { FLog += "step\n"; ++FPosition; }

private:
    std::string& FLog;
    int FMax = 0;
    int FPosition = 0;
};

struct TPageRun {
    std::string Page;
    std::string Log; // the bar's calls and the pumps, in order
    bool Written = false;
};

// Converts dump with names marked up, and its text escaped or not (every way
// a line is written), in blocks of blockSize; the run stops at pump number stopAt.
TPageRun Convert(const std::string& dump, std::size_t blockSize, bool escape, int stopAt)
{
    TEngineSetup setup;
    TPageRun run;
    TLoggedBar bar(run.Log);
    setup.Engine.SetControls(nullptr, &bar, nullptr);
    setup.Engine.SetBlockSize(blockSize);
    setup.Html.FBrokenLines = true;
    setup.AddName("Keel:", 0x0000FF, "", "<B>", "</B>");
    setup.AddName("e", 0x00FF00);
    setup.App.FEscapeText = escape;
    setup.OnPump = [&](int call) {
        run.Log += "pump\n";
        if (call == stopAt)
            setup.Engine.Stop();
    };
    run.Page = setup.PageOf(dump);
    run.Written = setup.Written;
    return run;
}

// The dump read whole: in one block larger than the dump.
TPageRun ConvertWhole(const std::string& dump, bool escape = false, int stopAt = 0)
{
    return Convert(dump, dump.size() + 1, escape, stopAt);
}

void ExpectSameAsWhole(const std::string& dump, int stopAt = 0)
{
    for (bool escape : {false, true}) {
        const TPageRun whole = ConvertWhole(dump, escape, stopAt);
        for (std::size_t blockSize : {1, 2, 3, 7, 16, 63, 64, 65, 100, 333}) {
            const TPageRun blocks = Convert(dump, blockSize, escape, stopAt);
            ASSERT_EQ(blocks.Page, whole.Page) << "block size " << blockSize << ", escaped " << escape;
            EXPECT_EQ(blocks.Log, whole.Log) << "block size " << blockSize << ", escaped " << escape;
            EXPECT_EQ(blocks.Written, whole.Written);
        }
    }
}

// Lines of every length around the joining width, with every kind of line
// ending, and markup to escape: CR LF pairs, broken lines and their joined
// lines fall across block edges for every block size.
std::string MixedDump(int lines)
{
    const char* endings[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
    std::string dump;
    for (int k = 0; k < lines; ++k) {
        const std::size_t length = 60 + (k * 7) % 30; // 60 to 89 characters
        std::string line = (k % 5 == 0 ? "Keel: " : "<b>") + std::to_string(k) + " ";
        line.resize(length, static_cast<char>('a' + k % 26));
        dump += line + endings[k % 4];
    }
    return dump;
}

TEST(PageBlocks, PageAndProgressAreThoseOfTheWholeDump)
{
    const std::string dump = MixedDump(60);
    const std::string log = ConvertWhole(dump).Log;
    EXPECT_TRUE(log.starts_with("position 0\nmax 82\n")) << "8 + 75 lines - 1";
    EXPECT_NE(log.find("step\npump\n"), std::string::npos);
    ExpectSameAsWhole(dump);
}

TEST(PageBlocks, NulInTheSecondBlockEndsTheText)
{
    std::string dump = MixedDump(60);
    dump[100] = '\0'; // in the second block of the 64-byte and 65-byte runs
    ExpectSameAsWhole(dump);
    TEngineSetup setup;
    setup.Engine.SetBlockSize(64);
    EXPECT_EQ(setup.PageOf(dump), setup.PageOf(dump.substr(0, 100)));
}

TEST(PageBlocks, StopInTheMiddleLeavesTheSameRest)
{
    const std::string dump = MixedDump(60);
    const TPageRun whole = ConvertWhole(dump, false, 2);
    EXPECT_FALSE(whole.Written);
    EXPECT_NE(whole.Page.find("\r\n<b>59 "), std::string::npos) << "the last line, as read";
    ExpectSameAsWhole(dump, 2);
}

TEST(PageBlocks, LineSourceNumbersEachPageLineByItsFirstDumpLine)
{
    TempDir dir;
    const std::string dump = dir.Write("dump.txt", "a\r\n" + std::string(77, 'x') + "\r\nb\nc\n" +
                                                       std::string(80, 'y') + "\n");
    TDumpLineSource lines(TPageProgress{}, true, 5);
    ASSERT_TRUE(lines.Open(dump));
    EXPECT_EQ(lines.Lines(), 5u);
    std::vector<std::string> got;
    for (TDumpLine line; lines.Next(line);)
        got.push_back(std::to_string(line.Number) + " " + std::string(line.First) + "|" + std::string(line.Second));
    EXPECT_EQ(got, (std::vector<std::string>{"1 a|", "2 " + std::string(77, 'x') + "|b", "4 c|",
                                             "5 " + std::string(80, 'y') + "|"}));
}

// Every page line as "number first|second", read in blocks of blockSize.
std::vector<std::string> LinesOf(const std::string& path, std::size_t blockSize, bool counted)
{
    TDumpLineSource lines(TPageProgress{}, true, blockSize);
    EXPECT_TRUE(lines.Open(path, counted));
    std::vector<std::string> got;
    for (TDumpLine line; lines.Next(line);)
        got.push_back(std::to_string(line.Number) + " " + std::string(line.First) + "|" + std::string(line.Second));
    return got;
}

// Without a count the dump is read once; the lines are the same, and a NUL
// in the first or a later block ends them as it does after a count.
TEST(PageBlocks, UncountedLinesAreTheCountedOnes)
{
    TempDir dir;
    for (std::size_t nul : {std::string::npos, std::size_t{10}, std::size_t{100}}) {
        std::string dump = MixedDump(60);
        if (nul != std::string::npos)
            dump[nul] = '\0';
        const std::string path = dir.Write("dump.txt", dump);
        const std::vector<std::string> whole = LinesOf(path, dump.size() + 1, true);
        for (std::size_t blockSize : {1, 7, 64, 65, 333})
            EXPECT_EQ(LinesOf(path, blockSize, false), whole) << "block size " << blockSize << ", NUL at " << nul;
    }
}

// The dump changes on disk while its page is written, at the first pump:
// long after the first pass counted its lines, long before the second
// pass reaches the change.
struct TChangeCase {
    const char* Name;
    void (*Change)(const std::string& path);
    std::size_t Kept; // the dump's bytes the page shows
};

void PrintTo(const TChangeCase& c, std::ostream* os) { *os << c.Name; }

class DumpChangingWhileRead : public ::testing::TestWithParam<TChangeCase> {};

std::string NumberedLines()
{
    std::string dump;
    for (int k = 0; k < 400; ++k)
        dump += "line " + std::to_string(1000 + k) + "\n"; // 10 bytes each
    return dump;
}

TEST_P(DumpChangingWhileRead, PageHoldsWhatWasRead)
{
    const TChangeCase& c = GetParam();
    const std::string dump = NumberedLines();
    TEngineSetup setup;
    setup.Engine.SetBlockSize(13); // no multiple of it ends a line
    const std::string path = setup.Dump("dump.txt", dump);
    setup.OnPump = [&](int call) {
        if (call == 1)
            c.Change(path);
    };
    EXPECT_TRUE(setup.Engine.WritePage(path, setup.Out("dump.htm")));

    TEngineSetup expected;
    EXPECT_EQ(TempDir::Read(setup.Out("dump.htm")), expected.PageOf(dump.substr(0, c.Kept)));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DumpChangingWhileRead,
    ::testing::Values(
        TChangeCase{"Shrinks", [](const std::string& path) { std::filesystem::resize_file(path, 2005); }, 2005},
        TChangeCase{"Grows",
                    [](const std::string& path) {
                        std::FILE* f = std::fopen(path.c_str(), "ab");
                        std::fputs("more\nand more\n", f);
                        std::fclose(f);
                    },
                    4000},
        TChangeCase{"GetsANul",
                    [](const std::string& path) {
                        std::FILE* f = std::fopen(path.c_str(), "r+b");
                        std::fseek(f, 3000, SEEK_SET);
                        std::fputc('\0', f);
                        std::fclose(f);
                    },
                    3000}),
    [](const ::testing::TestParamInfo<TChangeCase>& info) { return std::string(info.param.Name); });

TEST(PageBlocks, ReadingStopsAtTheFirstNul)
{
    // The NUL stands past the first blocks, which are read before any is looked at.
    TempDir dir;
    const std::string dump = std::string(300, '\n') + '\0' + std::string(1 << 20, '\n');
    const std::string path = dir.Write("dump.txt", dump);
    for (bool counted : {true, false}) {
        TDumpLineSource lines(TPageProgress{}, false, 64);
        ASSERT_TRUE(lines.Open(path, counted));
        EXPECT_EQ(lines.Lines(), counted ? 300u : 0u);
        for (TDumpLine line; lines.Next(line);) {
        }
        EXPECT_LT(lines.BytesRead(), 64u * 1024) << "the megabyte behind the NUL is not read, counted " << counted;
    }
}

} // namespace
} // namespace velmora
