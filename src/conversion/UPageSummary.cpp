// The page summary as JSON:
// {"generator":"Velmora","format":1,"dump":"NAME","date":"YYYY-MM-DDTHH:MM:SS",
//  "lines":N,"chatLines":N,"stats":BOOL,"players":[{"name":"NAME","chat":N,
//  "kills":N,"deaths":N,"suicides":N,"weapons":{"MOD_X":N,...},"words":N,
//  "line":N,"earlierNames":["NAME",...],"mostKilled":"NAME","mostKilledTimes":N,
//  "mostKilledBy":"NAME","mostKilledByTimes":N},...]}
// The counts beyond "chat" are written only with stats; of those, the
// reader takes the ones after "weapons" as optional. The reader is a small
// JSON parser that refuses what is not well-formed JSON of this shape.
#include "conversion/UPageSummary.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/UFiles.h"
#include "platform/UPaths.h"
#include "platform/UText.h"

namespace velmora {

namespace {

constexpr std::string_view Generator = "Velmora";
constexpr std::int64_t Format = 1;
constexpr std::string_view ElementEnd = "</script>";

// --- Writing ---------------------------------------------------------------

void PutString(std::string& out, std::string_view text)
{
    out += '"';
    for (char c : AsUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || c == '<' || c == '>' || c == '&') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

void PutKey(std::string& out, std::string_view key)
{
    out += '"';
    out += key;
    out += "\":";
}

void PutNumber(std::string& out, std::string_view key, std::uint64_t value)
{
    PutKey(out, key);
    out += std::to_string(value);
}

std::string PlayerJson(const TPlayerSummary& player, bool stats)
{
    std::string out = "{";
    PutKey(out, "name");
    PutString(out, player.Name);
    out += ',';
    PutNumber(out, "chat", player.ChatLines);
    if (stats) {
        out += ',';
        PutNumber(out, "kills", player.Kills);
        out += ',';
        PutNumber(out, "deaths", player.Deaths);
        out += ',';
        PutNumber(out, "suicides", player.Suicides);
        out += ',';
        PutKey(out, "weapons");
        out += '{';
        bool first = true;
        for (const auto& [weapon, kills] : player.WeaponKills) {
            if (!first)
                out += ',';
            first = false;
            PutString(out, weapon);
            out += ':' + std::to_string(kills);
        }
        out += "},";
        PutNumber(out, "words", player.Words);
        out += ',';
        PutNumber(out, "line", player.FirstLine);
        out += ',';
        PutKey(out, "earlierNames");
        out += '[';
        for (std::size_t k = 0; k < player.EarlierNames.size(); ++k) {
            out += k ? "," : "";
            PutString(out, player.EarlierNames[k]);
        }
        out += "],";
        PutKey(out, "mostKilled");
        PutString(out, player.MostKilled);
        out += ',';
        PutNumber(out, "mostKilledTimes", player.MostKilledTimes);
        out += ',';
        PutKey(out, "mostKilledBy");
        PutString(out, player.MostKilledBy);
        out += ',';
        PutNumber(out, "mostKilledByTimes", player.MostKilledByTimes);
    }
    out += '}';
    return out;
}

// --- Reading ---------------------------------------------------------------

struct TJson {
    enum class TType : std::uint8_t { Null, Bool, Integer, String, Array, Object };
    TType Type = TType::Null;
    bool Bool = false;
    std::int64_t Integer = 0;
    std::string String;
    std::vector<TJson> Items;        // an array's values, an object's member values
    std::vector<std::string> Names;  // an object's member names

    const TJson* Member(std::string_view name) const
    {
        for (std::size_t k = 0; k < Names.size(); ++k)
            if (Names[k] == name)
                return &Items[k];
        return nullptr;
    }
};

// Strict JSON over a text it does not own: every read is checked against the
// text's end, nesting is limited, numbers are integers that fit in 64 bits.
class TJsonParser {
public:
    explicit TJsonParser(std::string_view text) : FText(text) {}

    // The whole text as one value, with nothing but white space after it.
    bool Parse(TJson& value)
    {
        if (!Value(value, 0))
            return false;
        SkipSpace();
        return FPos == FText.size();
    }

private:
    static constexpr int MaxDepth = 8;

    void SkipSpace()
    {
        while (FPos < FText.size() &&
               (FText[FPos] == ' ' || FText[FPos] == '\t' || FText[FPos] == '\n' || FText[FPos] == '\r'))
            ++FPos;
    }

    bool Take(char c)
    {
        SkipSpace();
        if (FPos < FText.size() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }

    bool Word(std::string_view word)
    {
        if (FText.substr(FPos, word.size()) != word)
            return false;
        FPos += word.size();
        return true;
    }

    bool Value(TJson& value, int depth)
    {
        SkipSpace();
        if (FPos >= FText.size() || depth > MaxDepth)
            return false;
        switch (FText[FPos]) {
        case '{':
            return Object(value, depth);
        case '[':
            return Array(value, depth);
        case '"':
            value.Type = TJson::TType::String;
            return String(value.String);
        case 't':
            value.Type = TJson::TType::Bool;
            value.Bool = true;
            return Word("true");
        case 'f':
            value.Type = TJson::TType::Bool;
            return Word("false");
        case 'n':
            return Word("null");
        default:
            value.Type = TJson::TType::Integer;
            return Integer(value.Integer);
        }
    }

    bool Object(TJson& value, int depth)
    {
        value.Type = TJson::TType::Object;
        ++FPos; // "{"
        if (Take('}'))
            return true;
        do {
            SkipSpace();
            std::string name;
            if (FPos >= FText.size() || FText[FPos] != '"' || !String(name) || !Take(':'))
                return false;
            value.Names.push_back(std::move(name));
            value.Items.emplace_back();
            if (!Value(value.Items.back(), depth + 1))
                return false;
        } while (Take(','));
        return Take('}');
    }

    bool Array(TJson& value, int depth)
    {
        value.Type = TJson::TType::Array;
        ++FPos; // "["
        if (Take(']'))
            return true;
        do {
            value.Items.emplace_back();
            if (!Value(value.Items.back(), depth + 1))
                return false;
        } while (Take(','));
        return Take(']');
    }

    bool Integer(std::int64_t& result)
    {
        const bool negative = FPos < FText.size() && FText[FPos] == '-';
        if (negative)
            ++FPos;
        const std::size_t start = FPos;
        std::uint64_t magnitude = 0;
        while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') {
            const auto digit = static_cast<std::uint64_t>(FText[FPos] - '0');
            if (magnitude > (std::uint64_t(INT64_MAX) - digit) / 10)
                return false;
            magnitude = magnitude * 10 + digit;
            ++FPos;
        }
        // No empty number, no leading zeros, no fraction or exponent.
        if (FPos == start || (FText[start] == '0' && FPos - start > 1))
            return false;
        if (FPos < FText.size() && (FText[FPos] == '.' || FText[FPos] == 'e' || FText[FPos] == 'E'))
            return false;
        result = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
        return true;
    }

    bool Hex4(std::uint32_t& unit)
    {
        if (FText.size() - FPos < 4)
            return false;
        unit = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = FText[FPos++];
            unit <<= 4;
            if (c >= '0' && c <= '9')
                unit |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                unit |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                unit |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    // A string at FPos (its opening quote), in UTF-8.
    bool String(std::string& result)
    {
        ++FPos; // the opening quote
        const std::size_t start = FPos;
        for (;;) {
            if (FPos >= FText.size())
                return false;
            const char c = FText[FPos++];
            if (c == '"')
                break;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                result += c;
                continue;
            }
            if (FPos >= FText.size())
                return false;
            const char e = FText[FPos++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                result += e;
                break;
            case 'b':
                result += '\b';
                break;
            case 'f':
                result += '\f';
                break;
            case 'n':
                result += '\n';
                break;
            case 'r':
                result += '\r';
                break;
            case 't':
                result += '\t';
                break;
            case 'u': {
                std::uint32_t unit = 0;
                if (!Hex4(unit) || (unit >= 0xDC00 && unit <= 0xDFFF))
                    return false;
                if (unit >= 0xD800 && unit <= 0xDBFF) { // a surrogate pair
                    std::uint32_t low = 0;
                    if (!Word("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return false;
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendCodePoint(result, unit);
                break;
            }
            default:
                return false;
            }
        }
        return IsValidUtf8(FText.substr(start, FPos - 1 - start));
    }

    std::string_view FText;
    std::size_t FPos = 0;
};

bool Count(const TJson* value, std::uint64_t& count)
{
    if (!value || value->Type != TJson::TType::Integer || value->Integer < 0)
        return false;
    count = static_cast<std::uint64_t>(value->Integer);
    return true;
}

bool Text(const TJson* value, std::string& text)
{
    if (!value || value->Type != TJson::TType::String)
        return false;
    text = value->String;
    return true;
}

// "YYYY-MM-DDTHH:MM:SS"
bool IsDate(std::string_view date)
{
    constexpr std::string_view Shape = "dddd-dd-ddTdd:dd:dd";
    if (date.size() != Shape.size())
        return false;
    for (std::size_t k = 0; k < Shape.size(); ++k)
        if (Shape[k] == 'd' ? (date[k] < '0' || date[k] > '9') : date[k] != Shape[k])
            return false;
    return true;
}

bool Player(const TJson& json, bool stats, TPlayerSummary& player)
{
    if (json.Type != TJson::TType::Object || !Text(json.Member("name"), player.Name) ||
        !Count(json.Member("chat"), player.ChatLines))
        return false;
    if (!stats)
        return true;
    const TJson* weapons = json.Member("weapons");
    if (!Count(json.Member("kills"), player.Kills) || !Count(json.Member("deaths"), player.Deaths) ||
        !Count(json.Member("suicides"), player.Suicides) || !weapons || weapons->Type != TJson::TType::Object)
        return false;
    for (std::size_t k = 0; k < weapons->Names.size(); ++k)
        if (!Count(&weapons->Items[k], player.WeaponKills[weapons->Names[k]]))
            return false;
    // Each may be missing, but not of another type.
    auto optionalCount = [&json](std::string_view key, std::uint64_t& count) {
        const TJson* value = json.Member(key);
        return !value || Count(value, count);
    };
    auto optionalText = [&json](std::string_view key, std::string& text) {
        const TJson* value = json.Member(key);
        return !value || Text(value, text);
    };
    const TJson* earlier = json.Member("earlierNames");
    if (earlier) {
        if (earlier->Type != TJson::TType::Array)
            return false;
        for (const TJson& item : earlier->Items)
            if (!Text(&item, player.EarlierNames.emplace_back()))
                return false;
    }
    return optionalCount("words", player.Words) && optionalCount("line", player.FirstLine) &&
           optionalText("mostKilled", player.MostKilled) && optionalCount("mostKilledTimes", player.MostKilledTimes) &&
           optionalText("mostKilledBy", player.MostKilledBy) &&
           optionalCount("mostKilledByTimes", player.MostKilledByTimes);
}

bool Summary(const TJson& json, TPageSummary& summary)
{
    std::string generator;
    std::uint64_t format = 0;
    const TJson* stats = json.Member("stats");
    const TJson* players = json.Member("players");
    if (json.Type != TJson::TType::Object || !Text(json.Member("generator"), generator) || generator != Generator ||
        !Count(json.Member("format"), format) || format != Format || !Text(json.Member("dump"), summary.DumpName) ||
        !Text(json.Member("date"), summary.DumpDate) || !IsDate(summary.DumpDate) ||
        !Count(json.Member("lines"), summary.Lines) || !Count(json.Member("chatLines"), summary.ChatLines) ||
        !stats || stats->Type != TJson::TType::Bool || !players || players->Type != TJson::TType::Array)
        return false;
    summary.HasStats = stats->Bool;
    for (const TJson& item : players->Items) {
        summary.Players.emplace_back();
        if (!Player(item, summary.HasStats, summary.Players.back()))
            return false;
    }
    return true;
}

} // namespace

std::string SummaryElement(const TPageSummary& summary)
{
    return SummaryElement(summary, 0);
}

std::string SummaryElement(const TPageSummary& summary, std::size_t size)
{
    // size 0: as long as it needs, up to MaxSummaryBytes
    const std::size_t limit = size == 0 ? MaxSummaryBytes : std::min(size, MaxSummaryBytes);
    std::string head = "{";
    PutKey(head, "generator");
    PutString(head, Generator);
    head += ',';
    PutNumber(head, "format", Format);
    head += ',';
    PutKey(head, "dump");
    PutString(head, summary.DumpName);
    head += ',';
    PutKey(head, "date");
    PutString(head, summary.DumpDate);
    head += ',';
    PutNumber(head, "lines", summary.Lines);
    head += ',';
    PutNumber(head, "chatLines", summary.ChatLines);
    head += ',';
    PutKey(head, "stats");
    head += summary.HasStats ? "true" : "false";
    head += ',';
    PutKey(head, "players");

    // Should the summary grow too large, the least active players are left
    // out; the others keep their order.
    const std::size_t count = summary.Players.size();
    std::vector<std::size_t> byActivity(count);
    for (std::size_t k = 0; k < count; ++k)
        byActivity[k] = k;
    auto activity = [&summary](std::size_t k) { return summary.Players[k].ChatLines + summary.Players[k].Kills; };
    std::stable_sort(byActivity.begin(), byActivity.end(),
                     [&activity](std::size_t a, std::size_t b) { return activity(a) > activity(b); });
    constexpr std::size_t Frame = 64; // the element's tags and the closing brackets
    std::size_t used = head.size() + Frame;
    std::vector<std::string> kept(count);
    for (std::size_t k : byActivity) {
        std::string json = PlayerJson(summary.Players[k], summary.HasStats);
        if (used + json.size() + 1 > limit)
            break;
        used += json.size() + 1;
        kept[k] = std::move(json);
    }
    std::string players;
    for (const std::string& json : kept) {
        if (json.empty())
            continue;
        players += players.empty() ? "" : ",";
        players += json;
    }
    std::string element = std::string(SummaryElementStart) + head + "[" + players + "]}";
    if (element.size() + ElementEnd.size() < size)
        element.append(size - element.size() - ElementEnd.size(), ' ');
    return element + std::string(ElementEnd);
}

bool ParsePageSummary(std::string_view page, TPageSummary& summary)
{
    const std::size_t start = page.substr(0, MaxSummaryOffset).find(SummaryElementStart);
    if (start == std::string_view::npos)
        return false;
    const std::string_view rest = page.substr(start + SummaryElementStart.size(), MaxSummaryBytes);
    const std::size_t end = rest.find(ElementEnd);
    if (end == std::string_view::npos)
        return false;
    TJson json;
    TPageSummary read;
    if (!TJsonParser(rest.substr(0, end)).Parse(json) || !Summary(json, read))
        return false;
    summary = std::move(read);
    return true;
}

bool ReadPageSummary(const std::string& path, TPageSummary& summary)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(path), &std::fclose);
    if (!file)
        return false;
    std::string start(MaxSummaryOffset + SummaryElementStart.size() + MaxSummaryBytes + ElementEnd.size(), '\0');
    start.resize(std::fread(start.data(), 1, start.size(), file.get()));
    return ParsePageSummary(start, summary);
}

std::string SummaryDate(std::time_t time)
{
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &time) != 0)
        return {};
#else
    if (!localtime_r(&time, &local))
        return {};
#endif
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local) ? text : std::string();
}

std::string FileDate(const std::string& path)
{
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(FileSystemPath(path), ec);
    if (ec)
        return {};
    const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(written));
    return SummaryDate(static_cast<std::time_t>(seconds.time_since_epoch().count()));
}

} // namespace velmora
