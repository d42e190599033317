// Real console dumps and logs convert, and their pages keep every byte.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <utility>
#include <string>
#include <vector>

#include "EngineSetup.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The real dumps of the shared test data, every one of which must be there.
std::vector<std::string> RealDumps()
{
    static const char* const Names[] = {"ioq3-server-qconsole.log", "q3llm-games.log", "ql-condump-aug2025.txt",
                                        "ql-condump-june2025.txt", "wop-client-qconsole.log", "xp-client-qconsole.log"};
    std::vector<std::string> paths;
    for (const char* name : Names) {
        std::string path = std::string(VELMORA_SHARED_TESTDATA) + "/q3dumps/" + name;
        EXPECT_TRUE(fs::is_regular_file(path)) << "missing test data: " << path;
        paths.push_back(path);
    }
    return paths;
}

// The dump's lines as the page writer reads them (these files end lines with LF).
std::vector<std::string> LinesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf; (lf = bytes.find('\n', start)) != std::string::npos; start = lf + 1)
        lines.push_back(bytes.substr(start, lf - start));
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

TEST(RealDumps, PlainPageHoldsEveryLineExactly)
{
    auto dumps = RealDumps();
    test::TEngineSetup setup;
    setup.List(dumps);
    std::string message;
    ASSERT_TRUE(setup.Engine.Convert(message)) << message;
    for (const std::string& dump : dumps) {
        std::string expected;
        for (const std::string& line : LinesOf(TempDir::Read(dump)))
            expected += line + "<BR>\r\n";
        std::string page = TempDir::Read(setup.Engine.OutputFileName(dump));
        std::size_t bodyStart = page.find("\r\n<BR>\r\n") + 8; // after the front HTML item
        ASSERT_EQ(page.substr(bodyStart, expected.size()), expected) << dump;
        EXPECT_EQ(page.substr(bodyStart + expected.size()),
                  "<BR>\r\n<!-- Created by Velmora -->\r\n</BODY> </HTML>\r\n");
    }
}

TEST(RealDumps, HighlightedJoinedPageHoldsEveryLineInOrder)
{
    auto dumps = RealDumps();
    for (bool ignoreCase : {false, true}) {
        test::TEngineSetup setup;
        setup.Html.FBrokenLines = true;
        setup.App.FCaseSensitive = ignoreCase;
        setup.AddName("was railed by", 0x0000FF);
        setup.AddName(": ", 0x00FF00, "/icons/chat.gif", "<I>", "</I>");
        setup.AddName("^1", 0xFF0000);
        setup.List(dumps);
        std::string message;
        ASSERT_TRUE(setup.Engine.Convert(message)) << message;
        for (std::size_t k = 0; k < dumps.size(); ++k) {
            EXPECT_EQ(setup.IO.FFiles[k].Status->Status, StatusCode::Converted);
            std::string page = TempDir::Read(setup.Engine.OutputFileName(dumps[k]));
            std::size_t at = 0;
            for (const std::string& line : LinesOf(TempDir::Read(dumps[k]))) {
                std::size_t found = page.find(line, at);
                ASSERT_NE(found, std::string::npos) << dumps[k] << ": " << line;
                at = found + line.size();
            }
        }
    }
}

// The text a reader sees in a page body: tags removed, references decoded.
// Fails the test when a "<" starts anything but the page's own tags.
std::string VisibleText(const std::string& body, const std::string& dump)
{
    std::string text;
    for (std::size_t at = 0; at < body.size();) {
        if (body[at] == '<') {
            std::size_t end = body.find('>', at);
            const std::string tag = body.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
            const bool ours = tag == "<BR>" || tag == "</FONT>" ||
                              (tag.size() == 22 && tag.starts_with("<FONT color=\"#") && tag.ends_with("\">"));
            EXPECT_TRUE(ours) << dump << ": a dump '<' became markup: " << tag;
            at = end == std::string::npos ? body.size() : end + 1;
            continue;
        }
        if (body[at] == '&') {
            bool decoded = false;
            for (auto [reference, c] : {std::pair{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}})
                if (body.compare(at, std::strlen(reference), reference) == 0) {
                    text += c;
                    at += std::strlen(reference);
                    decoded = true;
                    break;
                }
            EXPECT_TRUE(decoded) << dump << ": a raw '&' in the page";
            if (decoded)
                continue;
        }
        text += body[at++];
    }
    return text;
}

// The line without its colour codes ("^" and a letter or digit).
std::string WithoutCodes(const std::string& line)
{
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '^' && i + 1 < line.size() && std::isalnum(static_cast<unsigned char>(line[i + 1])) &&
            static_cast<unsigned char>(line[i + 1]) < 0x80)
            ++i;
        else
            text += line[i];
    }
    return text;
}

TEST(RealDumps, EscapedColouredPageShowsTheDumpTextWithoutCodes)
{
    auto dumps = RealDumps();
    test::TEngineSetup setup;
    setup.App.FEscapeText = true;
    setup.App.FColorCodes = TColorCodes::Colors;
    setup.List(dumps);
    std::string message;
    ASSERT_TRUE(setup.Engine.Convert(message)) << message;
    const std::string footer = "<BR>\r\n<!-- Created by Velmora -->\r\n</BODY> </HTML>\r\n";
    for (const std::string& dump : dumps) {
        std::string expected;
        for (const std::string& line : LinesOf(TempDir::Read(dump)))
            expected += WithoutCodes(line) + "\r\n";
        std::string page = TempDir::Read(setup.Engine.OutputFileName(dump));
        std::size_t bodyStart = page.find("\r\n<BR>\r\n") + 8;
        ASSERT_TRUE(page.ends_with(footer)) << dump;
        std::string text = VisibleText(page.substr(bodyStart, page.size() - footer.size() - bodyStart), dump);
        EXPECT_EQ(text, expected) << dump;
        EXPECT_EQ(WithoutCodes(text), text) << dump << ": a colour code is left in the text";
    }
}

} // namespace
} // namespace velmora
