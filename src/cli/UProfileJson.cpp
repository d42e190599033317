// A profile as JSON and back, for "velmora-cli profile show --json" and "profile new".
#include "cli/UProfileJson.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "conversion/UConvertClass.h"
#include "platform/USystemColors.h"
#include "platform/UText.h"
#include "settings/UHighLighter.h"

namespace velmora::cli {

using nlohmann::json;

namespace {
// The words of each choice, in the order of its values.
constexpr const char* ColorCodesWords[] = {"keep", "remove", "colors"};
constexpr const char* PageStyleWords[] = {"classic", "modern"};
constexpr const char* KeepLinesWords[] = {"all", "events", "chat"};

template <class TChoice, std::size_t N>
bool ChoiceFromWord(const char* const (&words)[N], const std::string& word, TChoice& choice)
{
    for (std::size_t k = 0; k < N; ++k)
        if (word == words[k]) {
            choice = static_cast<TChoice>(k);
            return true;
        }
    return false;
}

// "expected \"a\", \"b\" or \"c\"" for a choice's words.
template <std::size_t N>
std::string ExpectedWords(const char* const (&words)[N])
{
    std::string text = "expected";
    for (std::size_t k = 0; k < N; ++k)
        text += std::string(k == 0 ? " " : k + 1 == N ? " or " : ", ") + "\"" + words[k] + "\"";
    return text;
}

// Strings for a colour: "#RRGGBB" (red first, as in pages) or "system:NAME".
constexpr const char* SystemColorPrefix = "system:";

json ColorToJson(TColor color)
{
    if (color >= 0 && color <= 0xFFFFFF)
        return ColorToHTML(color);
    std::string name = SystemColorName(color & 0xFF);
    if (color == SystemColorValue(color & 0xFF) && !name.empty())
        return std::string(SystemColorPrefix) + name;
    return color; // a value no page shows as such: kept exactly
}
} // namespace

std::string ColorCodesWord(TColorCodes codes)
{
    return ColorCodesWords[static_cast<std::size_t>(codes)];
}

bool ColorCodesFromWord(const std::string& word, TColorCodes& codes)
{
    return ChoiceFromWord(ColorCodesWords, word, codes);
}

std::string PageStyleWord(TPageStyle style)
{
    return PageStyleWords[static_cast<std::size_t>(style)];
}

bool PageStyleFromWord(const std::string& word, TPageStyle& style)
{
    return ChoiceFromWord(PageStyleWords, word, style);
}

std::string KeepLinesWord(TKeepLines keep)
{
    return KeepLinesWords[static_cast<std::size_t>(keep)];
}

bool KeepLinesFromWord(const std::string& word, TKeepLines& keep)
{
    return ChoiceFromWord(KeepLinesWords, word, keep);
}

json ProfileToJson(THighlightProfile& profile)
{
    const THTMLOptions& html = profile.HTMLOptions();
    json files = json::array();
    for (const TFileItem& item : profile.IOOptions().FFiles)
        files.push_back(item.Path);
    const TIOOptions& io = profile.IOOptions();

    json names = json::array();
    THighLightInfo defaults;
    for (const TNameItem& item : profile.Names()) {
        const THighLightInfo& info = item.Info ? *item.Info : defaults;
        names.push_back({{"name", item.Name},
                         {"color", ColorToJson(info.FColor)},
                         {"imageFile", info.FImageFile},
                         {"htmlBefore", info.FHTMLBefore},
                         {"htmlAfter", info.FHTMLAfter}});
    }
    return {{"html",
             {{"backColor", ColorToJson(html.FBackColor)},
              {"textColor", ColorToJson(html.FTextColor)},
              {"linkColor", ColorToJson(html.FLinkColor)},
              {"visitedLinkColor", ColorToJson(html.FVisLinkColor)},
              {"brokenLines", html.FBrokenLines},
              {"relativeImages", html.FRelImages},
              {"backImage", html.FBackImage},
              {"frontPageHtml", html.FFrontPageHTML},
              {"endPageHtml", html.FEndPageHTML},
              {"title", html.FTitle},
              {"author", html.FAuthor}}},
            {"app",
             {{"ignoreCase", profile.AppOptions().FCaseSensitive},
              {"escapeText", profile.AppOptions().FEscapeText},
              {"colorCodes", ColorCodesWord(profile.AppOptions().FColorCodes)},
              {"pageStyle", PageStyleWord(profile.AppOptions().FPageStyle)},
              {"keepLines", KeepLinesWord(profile.AppOptions().FKeepLines)},
              {"writeIndex", profile.AppOptions().FWriteIndex},
              {"playerStats", profile.AppOptions().FPlayerStats}}},
            {"io",
             {{"promptOnOverwrite", io.FPromptOnOverwrite},
              {"skipExisting", io.FSkipExisting},
              {"files", files},
              {"inputDir", io.FInputDir},
              {"destDir", io.FDestDir},
              {"imagesDir", io.FDestImgDir}}},
            {"names", names}};
}

namespace {

// One entry per key that ProfileToJson writes, in its order; a test fails for
// a key without one. Default: the value of a new profile as JSON, left out
// where there is none.
struct TJsonKeyHelp {
    const char* Key;
    const char* Type;
    const char* Default;
    const char* Meaning;
};

const TJsonKeyHelp JsonKeys[] = {
    {"html.backColor", "colour", R"("#400040")", "page background"},
    {"html.textColor", "colour", R"("#FFFFFF")", "page text"},
    {"html.linkColor", "colour", R"("#FFFF00")", "links"},
    {"html.visitedLinkColor", "colour", R"("#0000FF")", "visited links"},
    {"html.brokenLines", "boolean", "false", "a dump line longer than 76 characters is joined with the next one"},
    {"html.relativeImages", "boolean", "true", "the page refers to its images relative to the page's directory"},
    {"html.backImage", "string", R"("")", "background image file of the page, copied into the images directory"},
    {"html.frontPageHtml", "text", R"("")", "your HTML at the top of the page"},
    {"html.endPageHtml", "text", R"("")", "your HTML at the end of the page"},
    {"html.title", "string", R"("Quake 3 Arena Console Dump")", "the page's title"},
    {"html.author", "string", R"("")", "author named in the page"},
    {"app.ignoreCase", "boolean", "false", "highlighting ignores letter case"},
    {"app.escapeText", "boolean", "false", R"(&, <, > and " of dump lines become character references)"},
    {"app.colorCodes", "string", R"("keep")",
     R"(game colour codes such as ^1: "keep" as written, "remove", or show as "colors")"},
    {"app.pageStyle", "string", R"("classic")",
     R"(look of the pages: "classic", or "modern" (UTF-8, line links, line kinds, index page))"},
    {"app.keepLines", "string", R"("all")",
     R"(lines a modern page keeps: "all", "events" (chat and game events) or "chat" (chat only))"},
    {"app.writeIndex", "boolean", "false", "after a run, index.htm in the destination lists every modern page there"},
    {"app.playerStats", "boolean", "false", "a modern page ends with a table of its players"},
    {"io.promptOnOverwrite", "boolean", "true", "ask before replacing an existing page, when skipExisting is false"},
    {"io.skipExisting", "boolean", "true", "leave an existing page alone"},
    {"io.files", "array of strings", "[]", "the dumps to convert, full paths; kept sorted, each once"},
    {"io.inputDir", "string", nullptr,
     "where the window looks for dumps; new profiles: the game's folder (Windows registry), else as destDir"},
    {"io.destDir", "string", nullptr,
     "directory of the pages; new profiles: the program's folder, for an installed copy your documents folder"},
    {"io.imagesDir", "string", nullptr, "directory of the images; new profiles: as destDir"},
    {"names[].name", "string, required", nullptr, "a line that contains it is highlighted"},
    {"names[].color", "colour", R"("#FFFFFF")", "colour of the highlighted line"},
    {"names[].imageFile", "string", R"("")", "icon shown in front of the line, copied into the images directory"},
    {"names[].htmlBefore", "text", R"("")", "your HTML before the line"},
    {"names[].htmlAfter", "text", R"("")", "your HTML after the line"},
};

constexpr std::size_t HelpWidth = 80;

// The text as lines of at most HelpWidth characters, the first after prefix,
// the others indented to the prefix's width.
std::string Wrapped(const std::string& prefix, const std::string& text)
{
    std::string result = prefix, indent(prefix.size(), ' ');
    std::size_t column = prefix.size();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        std::string word = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (column > indent.size() && column + 1 + word.size() > HelpWidth) {
            result += "\n" + indent;
            column = indent.size();
        } else if (column > indent.size()) {
            result += ' ';
            ++column;
        }
        result += word;
        column += word.size();
    }
    return result + "\n";
}

} // namespace

std::string ProfileJsonHelp()
{
    std::string systemColors;
    for (int index = 0; index < 256; ++index)
        if (std::string name = SystemColorName(index); !name.empty())
            systemColors += (systemColors.empty() ? "" : ", ") + name;
    std::string text =
        "\nThe JSON of \"profile show --json\" and \"profile new --from-json\" is one object\n"
        "with the objects \"html\", \"app\" and \"io\" and the array \"names\", one object\n"
        "per name to highlight; a line takes the first name of the list that it\n"
        "contains. \"profile new\" takes any subset of the keys.\n\n" +
        Wrapped("", "A colour is \"#RRGGBB\" (red first, as in pages), a colour of the desktop as "
                    "\"system:NAME\", resolved when a page is written, or the integer a profile file "
                    "holds (0x00BBGGRR, red in the low byte). NAME is one of " + systemColors + ".") +
        "The window's settings file can give new profiles other default colours.\n"
        "A text (a string of lines) gets CR LF line ends, as the window stores it.\n\n"
        "Keys:\n";
    std::size_t keyWidth = 0;
    for (const TJsonKeyHelp& key : JsonKeys)
        keyWidth = std::max(keyWidth, std::strlen(key.Key));
    for (const TJsonKeyHelp& key : JsonKeys) {
        std::string prefix = "  " + std::string(key.Key);
        prefix.resize(keyWidth + 4, ' ');
        std::string entry = key.Type;
        if (key.Default)
            entry += std::string(", default ") + key.Default;
        text += Wrapped(prefix, entry + ": " + key.Meaning);
    }
    return text;
}

std::string JsonText(const json& value)
{
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

namespace {

[[noreturn]] void Fail(const std::string& key, const std::string& what)
{
    throw EProfileJsonError(key + ": " + what);
}

bool AsBool(const json& value, const std::string& key)
{
    if (!value.is_boolean())
        Fail(key, "expected true or false");
    return value.get<bool>();
}

std::optional<TColor> ColorFromText(const std::string& text)
{
    if (text.rfind(SystemColorPrefix, 0) == 0) {
        int index = SystemColorIndex(text.substr(std::strlen(SystemColorPrefix)));
        return index < 0 ? std::nullopt : std::optional<TColor>(SystemColorValue(index));
    }
    if (text.size() != 7 || text[0] != '#' ||
        !std::all_of(text.begin() + 1, text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; }))
        return std::nullopt;
    auto rgb = static_cast<TColor>(std::stoul(text.substr(1), nullptr, 16));
    // Stored with red in the low byte.
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

// A colour that a page can show: an RGB value, or a value that names a known
// system colour (negative, the index in its low byte).
bool IsColorValue(std::int64_t value)
{
    if (value >= 0)
        return value <= 0xFFFFFF;
    auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    return value >= std::numeric_limits<TColor>::min() && (bits & 0x00FFFF00u) == 0 &&
           !SystemColorName(static_cast<int>(bits & 0xFF)).empty();
}

TColor AsColor(const json& value, const std::string& key)
{
    if (value.is_string())
        if (std::optional<TColor> color = ColorFromText(value.get<std::string>()))
            return *color;
    if (value.is_number_integer() && IsColorValue(value.get<std::int64_t>()))
        return static_cast<TColor>(value.get<std::int64_t>());
    Fail(key, "expected \"#RRGGBB\", a system colour such as \"system:windowText\", or a colour value");
}

std::string AsString(const json& value, const std::string& key)
{
    if (!value.is_string())
        Fail(key, "expected a string");
    return value.get<std::string>();
}

// A multi-line text with the window's line ends, so that pages made from it
// hold no bare line feeds inside their CR LF lines.
std::string AsLines(const json& value, const std::string& key)
{
    return WithLineEnds(AsString(value, key), "\r\n");
}

std::vector<std::string> AsStrings(const json& value, const std::string& key)
{
    if (!value.is_array())
        Fail(key, "expected an array of strings");
    std::vector<std::string> result;
    for (std::size_t i = 0; i < value.size(); ++i)
        result.push_back(AsString(value[i], key + "[" + std::to_string(i) + "]"));
    return result;
}

// What each key of one object does with its value (the value and its full key).
using TKeyActions = std::map<std::string, std::function<void(const json&, const std::string&)>>;

void ApplyObject(const json& object, const std::string& key, const TKeyActions& actions)
{
    if (!object.is_object())
        Fail(key.empty() ? "the JSON text" : key, "expected an object");
    for (const auto& [name, value] : object.items()) {
        std::string full = key.empty() ? name : key + "." + name;
        auto action = actions.find(name);
        if (action == actions.end())
            Fail(full, "unknown key");
        action->second(value, full);
    }
}

void ApplyHTML(const json& object, THTMLOptions& html)
{
    auto color = [](void (THTMLOptions::*setter)(TColor), THTMLOptions& h) {
        return [setter, &h](const json& v, const std::string& k) { (h.*setter)(AsColor(v, k)); };
    };
    auto flag = [](void (THTMLOptions::*setter)(bool), THTMLOptions& h) {
        return [setter, &h](const json& v, const std::string& k) { (h.*setter)(AsBool(v, k)); };
    };
    auto text = [](void (THTMLOptions::*setter)(const std::string&), THTMLOptions& h) {
        return [setter, &h](const json& v, const std::string& k) { (h.*setter)(AsString(v, k)); };
    };
    auto lines = [](void (THTMLOptions::*setter)(const std::string&), THTMLOptions& h) {
        return [setter, &h](const json& v, const std::string& k) { (h.*setter)(AsLines(v, k)); };
    };
    ApplyObject(object, "html",
                {{"backColor", color(&THTMLOptions::SetBackColor, html)},
                 {"textColor", color(&THTMLOptions::SetTextColor, html)},
                 {"linkColor", color(&THTMLOptions::SetLinkColor, html)},
                 {"visitedLinkColor", color(&THTMLOptions::SetVisLinkColor, html)},
                 {"brokenLines", flag(&THTMLOptions::SetBrokenLines, html)},
                 {"relativeImages", flag(&THTMLOptions::SetRelImages, html)},
                 {"backImage", text(&THTMLOptions::SetBackImage, html)},
                 {"frontPageHtml", lines(&THTMLOptions::SetFrontPageHTML, html)},
                 {"endPageHtml", lines(&THTMLOptions::SetEndPageHTML, html)},
                 {"title", text(&THTMLOptions::SetTitle, html)},
                 {"author", text(&THTMLOptions::SetAuthor, html)}});
}

void ApplyIO(const json& object, TIOOptions& io)
{
    auto text = [&io](void (TIOOptions::*setter)(const std::string&)) {
        return [setter, &io](const json& v, const std::string& k) { (io.*setter)(AsString(v, k)); };
    };
    ApplyObject(object, "io",
                {{"promptOnOverwrite", [&io](const json& v, const std::string& k) { io.SetPromptOnOverwrite(AsBool(v, k)); }},
                 {"skipExisting", [&io](const json& v, const std::string& k) { io.SetSkipExisting(AsBool(v, k)); }},
                 {"files",
                  [&io](const json& v, const std::string& k) {
                      std::vector<std::string> files = AsStrings(v, k);
                      io.FFiles.clear();
                      io.AddFiles(files);
                  }},
                 {"inputDir", text(&TIOOptions::SetInputDir)},
                 {"destDir", text(&TIOOptions::SetDestDir)},
                 {"imagesDir", text(&TIOOptions::SetDestImgDir)}});
}

void ApplyName(const json& object, const std::string& key, THighlightProfile& profile)
{
    std::optional<std::string> name;
    std::string imageFile, htmlBefore, htmlAfter;
    TColor color = THighLightInfo().FColor; // what a name added in the window starts with
    auto text = [](std::string& target) {
        return [&target](const json& v, const std::string& k) { target = AsString(v, k); };
    };
    auto lines = [](std::string& target) {
        return [&target](const json& v, const std::string& k) { target = AsLines(v, k); };
    };
    ApplyObject(object, key,
                {{"name", [&name](const json& v, const std::string& k) { name = AsString(v, k); }},
                 {"color", [&color](const json& v, const std::string& k) { color = AsColor(v, k); }},
                 {"imageFile", text(imageFile)},
                 {"htmlBefore", lines(htmlBefore)},
                 {"htmlAfter", lines(htmlAfter)}});
    if (!name)
        Fail(key + ".name", "missing");
    profile.AddName(*name, imageFile, htmlBefore, htmlAfter, color);
}

void ApplyNames(const json& value, THighlightProfile& profile)
{
    if (!value.is_array())
        Fail("names", "expected an array of objects");
    for (std::size_t i = 0; i < value.size(); ++i)
        ApplyName(value[i], "names[" + std::to_string(i) + "]", profile);
}

void ApplyApp(const json& object, TAppOptions& app)
{
    auto flag = [&app](void (TAppOptions::*setter)(bool)) {
        return [setter, &app](const json& v, const std::string& k) { (app.*setter)(AsBool(v, k)); };
    };
    auto choice = [&app]<class TChoice, std::size_t N>(const char* const(&words)[N],
                                                        void (TAppOptions::*setter)(TChoice)) {
        return [&words, setter, &app](const json& v, const std::string& k) {
            TChoice value;
            if (!ChoiceFromWord(words, AsString(v, k), value))
                Fail(k, ExpectedWords(words));
            (app.*setter)(value);
        };
    };
    ApplyObject(object, "app",
                {{"ignoreCase", flag(&TAppOptions::SetCaseSensitive)},
                 // Earlier versions wrote the flag under a name that said the opposite.
                 {"caseSensitive",
                  [](const json&, const std::string& k) {
                      Fail(k, "no longer accepted, as true meant ignoring case; use "
                              "\"ignoreCase\" (true: highlighting ignores letter case)");
                  }},
                 {"escapeText", flag(&TAppOptions::SetEscapeText)},
                 {"colorCodes", choice(ColorCodesWords, &TAppOptions::SetColorCodes)},
                 {"pageStyle", choice(PageStyleWords, &TAppOptions::SetPageStyle)},
                 {"keepLines", choice(KeepLinesWords, &TAppOptions::SetKeepLines)},
                 {"writeIndex", flag(&TAppOptions::SetWriteIndex)},
                 {"playerStats", flag(&TAppOptions::SetPlayerStats)}});
}

} // namespace

void ApplyProfileJson(const json& value, THighlightProfile& profile)
{
    ApplyObject(value, "",
                {{"html", [&profile](const json& v, const std::string&) { ApplyHTML(v, profile.HTMLOptions()); }},
                 {"app", [&profile](const json& v, const std::string&) { ApplyApp(v, profile.AppOptions()); }},
                 {"io", [&profile](const json& v, const std::string&) { ApplyIO(v, profile.IOOptions()); }},
                 {"names", [&profile](const json& v, const std::string&) { ApplyNames(v, profile); }}});
}

} // namespace velmora::cli
