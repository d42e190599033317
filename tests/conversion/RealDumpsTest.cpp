// Real console dumps and logs convert, and their pages keep every byte.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "EngineSetup.h"
#include "platform/UText.h"

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

// What a reader sees of a dump line on a modern page: UTF-8 (a line that is
// not is read as Windows-1252), without colour codes ("^" and a letter or
// digit, "^x" and six hexadecimal digits), then without control characters
// other than tab.
std::string VisibleText(const std::string& line)
{
    const std::string text = AsUtf8(line);
    std::string withoutCodes;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '^' && k + 1 < text.size() && std::isalnum(static_cast<unsigned char>(text[k + 1]))) {
            bool hex = text[k + 1] == 'x' && k + 8 <= text.size();
            for (std::size_t h = k + 2; hex && h < k + 8; ++h)
                hex = std::isxdigit(static_cast<unsigned char>(text[h]));
            k += hex ? 7 : 1;
            continue;
        }
        withoutCodes += text[k];
    }
    std::string shown;
    for (std::size_t k = 0; k < withoutCodes.size(); ++k) {
        const auto c = static_cast<unsigned char>(withoutCodes[k]);
        if (c == 0xC2 && k + 1 < withoutCodes.size() && static_cast<unsigned char>(withoutCodes[k + 1]) < 0xA0) {
            ++k; // U+0080 to U+009F
            continue;
        }
        if ((c >= 0x20 && c != 0x7F) || c == '\t')
            shown += withoutCodes[k];
    }
    return shown;
}

// The text of markup: tags left out, the four character references read.
std::string TextOfMarkup(const std::string& html)
{
    std::string text;
    for (std::size_t k = 0; k < html.size(); ++k) {
        if (html[k] == '<') {
            k = html.find('>', k);
            continue;
        }
        if (html[k] == '&') {
            const std::size_t end = html.find(';', k);
            const std::string name = html.substr(k, end - k + 1);
            text += name == "&lt;" ? "<" : name == "&gt;" ? ">" : name == "&amp;" ? "&" : name == "&quot;" ? "\"" : "?";
            k = end;
            continue;
        }
        text += html[k];
    }
    return text;
}

// Every tag of the page closed in order (void elements, comments, the
// doctype, and the contents of style and script elements aside).
bool TagsBalanced(const std::string& page, std::string& problem)
{
    static const std::set<std::string> Void = {"meta", "img", "br", "link", "hr", "input"};
    std::vector<std::string> open;
    for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
        if (page.compare(at, 4, "<!--") == 0) {
            at = page.find("-->", at);
            continue;
        }
        if (page.compare(at, 2, "<!") == 0)
            continue;
        const bool closing = page[at + 1] == '/';
        const std::size_t nameStart = at + (closing ? 2 : 1);
        const std::size_t nameEnd = page.find_first_of(" >", nameStart);
        const std::string name = page.substr(nameStart, nameEnd - nameStart);
        if (closing) {
            if (open.empty() || open.back() != name) {
                problem = "</" + name + "> at byte " + std::to_string(at);
                return false;
            }
            open.pop_back();
        } else if (!Void.count(name)) {
            open.push_back(name);
            if (name == "style" || name == "script")
                at = page.find("</" + name + ">", at) - 1; // their text is no markup
        }
    }
    problem = open.empty() ? "" : "<" + open.back() + "> left open";
    return open.empty();
}

TEST(RealDumps, ModernColouredPageIsValidAndShowsEachLineWithoutCodes)
{
    auto dumps = RealDumps();
    test::TEngineSetup setup;
    setup.App.SetPageStyle(TPageStyle::Modern);
    setup.App.FColorCodes = TColorCodes::Colors;
    setup.App.SetPlayerStats(true);
    setup.List(dumps);
    std::string message;
    ASSERT_TRUE(setup.Engine.Convert(message)) << message;
    for (const std::string& dump : dumps) {
        const std::string page = TempDir::Read(setup.Engine.OutputFileName(dump));
        EXPECT_TRUE(IsValidUtf8(page)) << dump;
        std::string problem;
        EXPECT_TRUE(TagsBalanced(page, problem)) << dump << ": " << problem;
        // One element per dump line, numbered from 1, as the page's lines lie between <main> and </main>.
        const std::size_t mainStart = page.find("<main>\r\n") + 8;
        const std::string body = page.substr(mainStart, page.find("</main>") - mainStart);
        const std::vector<std::string> lines = LinesOf(TempDir::Read(dump));
        std::size_t at = 0;
        for (std::size_t n = 1; n <= lines.size(); ++n) {
            const std::string id = std::to_string(n);
            const std::string start = "<div id=\"L" + id + "\" class=\"";
            ASSERT_EQ(body.compare(at, start.size(), start), 0) << dump << " line " << n;
            const std::string link = "<a href=\"#L" + id + "\"></a>";
            const std::size_t text = body.find(link, at) + link.size();
            const std::size_t end = body.find("</div>\r\n", text);
            ASSERT_EQ(TextOfMarkup(body.substr(text, end - text)), VisibleText(lines[n - 1])) << dump << " line " << n;
            at = end + 8;
        }
        EXPECT_EQ(at, body.size()) << dump;
    }
}

} // namespace
} // namespace velmora
