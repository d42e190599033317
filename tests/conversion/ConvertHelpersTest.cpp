// The engine's free helpers: quotes, image reference directories, directory
// names of a path, output names, page colours and the plain name search.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineSetup.h"
#include "platform/UPaths.h"

namespace velmora {
namespace {

struct TQuotesCase {
    std::string In;
    std::string Out;
};

TEST(StripQuotes, RemovesOnePairAroundTheWholeText)
{
    const std::vector<TQuotesCase> cases = {
        {"\"/p/back.jpg\"", "/p/back.jpg"}, {"\"\"", ""},         {"\"", ""},
        {"\"/p/back.jpg", "\"/p/back.jpg"}, {"/p/back.jpg\"", "/p/back.jpg\""},
        {"\"\"x\"\"", "\"x\""},             {"", ""},             {"a\"b", "a\"b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StripQuotes(c.In), c.Out) << c.In;
}

struct TRelativeCase {
    std::string From;
    std::string To;
    std::string Result;
};

TEST(RelativePath, FromDestinationToImages)
{
    const std::vector<TRelativeCase> cases = {
        {"/out/", "/out/img/", "img/"},
        {"/out/html/", "/out/img/", "../img/"},
        {"/a/b/", "/a/", "../"},
        {"/a/b/c/", "/a/x/y/", "../../x/y/"},
        {"/out/", "/out/", ""},
        // Letter case after the first character counts where the file system tells it apart.
        {"/Out/IMG/", "/out/img/", PathsIgnoreCase ? "" : "../../out/img/"},
        {"/out/", "/OUT/", PathsIgnoreCase ? "" : "../OUT/"},
        {"/out/", "/OUT/img/", PathsIgnoreCase ? "img/" : "../OUT/img/"},
        {"//server/share/html/", "//server/share/img/", "../img/"},
        {"/c:/out/", "/c:/img/", "../img/"},
        {"out/", "/srv/img/", "/srv/img/"}, // different first character: the images directory itself
        {"a/x/", "b/y/", "b/y/"},
        {"O/x/", "o/x/", PathsIgnoreCase ? "" : "o/x/"},
        {"", "/img/", "/img/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RelativePath(c.From, c.To), c.Result) << c.From << " -> " << c.To;
}

#ifdef _WIN32
TEST(RelativePath, DrivesCompareIgnoringCaseOnWindows)
{
    const std::vector<TRelativeCase> cases = {
        {"z:\\out\\", "Z:\\out\\img\\", "img/"},
        {"c:\\out\\", "d:\\img\\", "d:\\img\\"}, // another drive: the images directory itself
    };
    for (const auto& c : cases)
        EXPECT_EQ(RelativePath(c.From, c.To), c.Result) << c.From << " -> " << c.To;
}
#endif

struct TSplitCase {
    std::string Path;
    std::vector<std::string> Names;
};

TEST(SplitPath, DirectoryNamesFromTheRoot)
{
    const std::vector<TSplitCase> cases = {
        {"/out/img/", {"out", "img"}},
        {"//server/share/dir/", {"server", "share", "dir"}},
        {"/a//b/c/", {"b", "c"}}, // a doubled separator ends the reading
        {"rel/dir/", {"dir"}},     // what stands before the first separator is no name
        {"/x", {"x"}},
        {"", {}},
        {"/", {}},
#ifdef _WIN32
        {"c:\\out\\img\\", {"out", "img"}}, // the drive is no name
#else
        {"/a:b/c/", {"a:b", "c"}}, // ":" is an ordinary character
#endif
    };
    for (const auto& c : cases) {
        std::vector<std::string> names = {"stale"};
        EXPECT_EQ(SplitPath(c.Path, names), static_cast<int>(c.Names.size())) << c.Path;
        EXPECT_EQ(names, c.Names) << c.Path;
    }
}

TEST(OutputFileName, DestinationPlusNameWithHtm)
{
    test::TEngineSetup setup;
    setup.IO.FDestDir = "/pages/";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/q3/condump.txt", "/pages/condump.htm"},
        {"/q3/chat.2002.dmp", "/pages/chat.2002.htm"},
        {"/q3/noext", "/pages/noext.htm"},
        {"/q3.dir/noext", "/pages/noext.htm"},
        {"/q3/.hidden", "/pages/.htm"},
        {"plain.txt", "/pages/plain.htm"},
#ifdef _WIN32
        {"c:d.log", "/pages/d.htm"}, // a drive's current directory
#else
        {"/q3/c:d.log", "/pages/c:d.htm"},
#endif
    };
    for (const auto& [source, output] : cases)
        EXPECT_EQ(setup.Engine.OutputFileName(source), output) << source;
}

struct TColorCase {
    TColor Color;
    std::string Html;
};

TEST(ColorToHTML, RedFirstInCapitals)
{
    const std::vector<TColorCase> cases = {
        {0x0000FF, "#FF0000"}, {0xFF8040, "#4080FF"}, {0x400040, "#400040"}, {0x00FFFF, "#FFFF00"},
        {0xFF0000, "#0000FF"}, {0x000000, "#000000"}, {0xABCDEF, "#EFCDAB"},
        {0x01FF8040, "#4080FF"}, // wider than 24 bits: the low 24 bits
        {0x7FFFFFFF, "#FFFFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorToHTML(c.Color), c.Html) << std::hex << c.Color;
}

#ifndef _WIN32
TEST(ColorToHTML, SystemColoursFollowTheDefaultScheme)
{
    auto system = [](int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); };
    const std::vector<TColorCase> cases = {
        {system(5), "#FFFFFF"},  // COLOR_WINDOW
        {system(8), "#000000"},  // COLOR_WINDOWTEXT
        {system(13), "#0078D7"}, // COLOR_HIGHLIGHT
        {system(15), "#F0F0F0"}, // COLOR_BTNFACE
        {system(24), "#FFFFE1"}, // COLOR_INFOBK
        {system(30), "#F0F0F0"}, // COLOR_MENUBAR
        {system(31), "#000000"}, // unknown to the system
        {-1, "#000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorToHTML(c.Color), c.Html) << std::hex << c.Color;
}
#endif

struct TContainsCase {
    std::string Name;
    std::string Line;
    bool IgnoreCase;
    int Position;
};

TEST(ContainsName, OneBasedPositionOfFirstOccurrence)
{
    const std::vector<TContainsCase> cases = {
        {"Red", "the Red team", false, 5},
        {"red", "the Red team", false, 0},
        {"red", "the Red team", true, 5},
        {"RED:", "red: hi", true, 1},
        {"ab", "xaab ab", false, 3},
        {"", "anything", true, 0},
        {"longer", "long", false, 0},
        {"\xc3\xa9", "\xc3\x89", true, 0}, // accented letters are not folded
        {"^1", "x^1A^2n", false, 2},
        {std::string("a\0b", 3), std::string("xa\0b", 4), false, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ContainsName(c.Name, c.Line, c.IgnoreCase), c.Position) << c.Name << " in " << c.Line;
}

} // namespace
} // namespace velmora
