// The INI file behind the application settings: every call reads or rewrites
// the whole file, so the file on disk is always the one source of truth.
#include "platform/UIniFile.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/UFiles.h"
#include "platform/UText.h"
#include "shared/UGenDeclarations.h"

namespace velmora {

namespace {

// Blanks trimmed from names and values; a line never holds a line feed.
constexpr std::string_view Blanks = " \t\r\v\f";
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
#ifdef _WIN32
constexpr std::string_view PlatformLineBreak = "\r\n";
#else
constexpr std::string_view PlatformLineBreak = "\n";
#endif

std::string_view Trim(std::string_view text)
{
    std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

// Section and key names match with ASCII case folding only, so that a look-up
// never depends on the user's locale.
bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

enum class TLineKind { Other, Section, Pair };

// What one line means: a section header, a key with its value (trimmed,
// quotes kept), or anything else (comments, blank lines, text without "=").
struct TLineView {
    TLineKind Kind = TLineKind::Other;
    std::string_view Name; // section name, or key of a pair
    std::string_view Value;
};

TLineView Classify(std::string_view text)
{
    TLineView line;
    std::string_view body = Trim(text);
    if (!body.empty() && body.front() == '[') {
        // A header runs to the last "]", so that names holding "]" come back whole;
        // a "[" line without one is kept but means nothing.
        std::size_t close = body.rfind(']');
        if (close != std::string_view::npos) {
            line.Kind = TLineKind::Section;
            line.Name = Trim(body.substr(1, close - 1));
        }
    } else if (!body.empty() && body.front() != ';') {
        std::size_t eq = body.find('=');
        std::string_view key = eq == std::string_view::npos ? std::string_view() : Trim(body.substr(0, eq));
        if (!key.empty()) {
            line.Kind = TLineKind::Pair;
            line.Name = key;
            line.Value = Trim(body.substr(eq + 1));
        }
    }
    return line;
}

// The parsed file: views of its lines (without line breaks) into the bytes it
// was parsed from or into lines added since, and how it ends its lines, so
// that a rewrite keeps the style. Lines not replaced are written back as read.
class TIniText {
public:
    std::string_view Add(std::string text)
    {
        // A deque never moves its elements, so views into them stay valid.
        return FAdded.emplace_back(std::move(text));
    }

    bool HasBom = false;
    std::string_view LineBreak = PlatformLineBreak;
    std::vector<std::string_view> Lines;

private:
    std::deque<std::string> FAdded;
};

// The bytes must outlive the result.
TIniText ParseIni(std::string_view bytes)
{
    TIniText ini;
    if (bytes.substr(0, Utf8Bom.size()) == Utf8Bom) {
        ini.HasBom = true;
        bytes.remove_prefix(Utf8Bom.size());
    }
    // The first line break decides the style of the whole file.
    std::size_t firstLf = bytes.find('\n');
    if (firstLf != std::string_view::npos)
        ini.LineBreak = (firstLf > 0 && bytes[firstLf - 1] == '\r') ? "\r\n" : "\n";
    while (!bytes.empty()) {
        std::size_t lf = bytes.find('\n');
        std::string_view text = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        ini.Lines.push_back(text);
    }
    return ini;
}

std::string Serialize(const TIniText& ini)
{
    std::string out;
    if (ini.HasBom)
        out += Utf8Bom;
    for (std::string_view line : ini.Lines) {
        out += line;
        out += ini.LineBreak;
    }
    return out;
}

// Calls visit(index, line, inSection) for every line until visit returns false;
// inSection tells whether the line lies in a section of the given name (its
// header included). Keys above the first header belong to no section.
template <typename F>
void ForEachLine(const TIniText& ini, std::string_view section, F visit)
{
    bool inSection = false;
    for (std::size_t i = 0; i < ini.Lines.size(); ++i) {
        TLineView line = Classify(ini.Lines[i]);
        if (line.Kind == TLineKind::Section)
            inSection = SameName(line.Name, section);
        if (!visit(i, line, inSection))
            return;
    }
}

// The first pair of the key in any section of the name.
std::optional<std::size_t> FindPair(const TIniText& ini, std::string_view section, std::string_view key)
{
    std::optional<std::size_t> found;
    ForEachLine(ini, section, [&](std::size_t i, const TLineView& line, bool inSection) {
        if (inSection && line.Kind == TLineKind::Pair && SameName(line.Name, key))
            found = i;
        return !found;
    });
    return found;
}

[[noreturn]] void RaiseWriteError(const std::string& fileName)
{
    throw EGenException("Unable to write to " + fileName);
}

// The file's bytes before a change; a file that is there but cannot be read
// must not be replaced by the one key being written.
std::string ReadForUpdate(const std::string& fileName)
{
    std::string bytes;
    if (!ReadWholeFile(fileName, bytes) && FileExists(fileName))
        RaiseWriteError(fileName);
    return bytes;
}

// Writes the changed file; an unchanged one is left alone.
void Store(const std::string& fileName, const std::string& oldBytes, const TIniText& ini)
{
    std::string bytes = Serialize(ini);
    if (bytes == oldBytes)
        return;
    if (!WriteFileAtomically(fileName, bytes))
        RaiseWriteError(fileName);
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names that would read back as something else (a comment, a header, another
// key) are refused rather than written.
void CheckNames(const std::string& fileName, std::string_view section, std::string_view key)
{
    bool badKey = key.empty() || key.front() == ';' || key.front() == '[' || key.find('=') != std::string_view::npos;
    if (HasLineBreak(section) || HasLineBreak(key) || badKey)
        RaiseWriteError(fileName);
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view value)
{
    return value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
}

// The value as it goes into the file: quoted when reading would otherwise trim
// its blanks or strip its own quotes, so every value reads back as written.
std::string EncodeValue(const std::string& value)
{
    if (Trim(value).size() != value.size() || IsQuoted(value))
        return '"' + value + '"';
    return value;
}

void SetPair(TIniText& ini, std::string_view section, std::string_view key, const std::string& encoded)
{
    if (auto pair = FindPair(ini, section, key)) {
        // The key keeps its spelling in the file.
        std::string_view stored = Classify(ini.Lines[*pair]).Name;
        ini.Lines[*pair] = ini.Add(std::string(stored) + "=" + encoded);
        return;
    }
    // A new key goes after the last pair of the first section of that name.
    std::optional<std::size_t> insertAfter;
    ForEachLine(ini, section, [&](std::size_t i, const TLineView& line, bool inSection) {
        if (inSection && line.Kind != TLineKind::Other)
            insertAfter = i;
        return inSection || !insertAfter || line.Kind != TLineKind::Section;
    });
    std::string_view pairText = ini.Add(std::string(key) + "=" + encoded);
    if (insertAfter) {
        ini.Lines.insert(ini.Lines.begin() + static_cast<std::ptrdiff_t>(*insertAfter + 1), pairText);
        return;
    }
    if (!ini.Lines.empty() && !Trim(ini.Lines.back()).empty())
        ini.Lines.push_back(std::string_view());
    ini.Lines.push_back(ini.Add(std::string("[").append(section).append("]")));
    ini.Lines.push_back(pairText);
}

// Decimal within the int range, or hexadecimal after "$" or "0x". Unsigned
// hexadecimal takes up to 32 bits as a bit pattern ($FFFFFFFF is -1), as colour
// values are often written; a signed one must fit the range like a decimal.
std::optional<int> ParseInteger(std::string_view text)
{
    bool negative = false;
    bool hasSign = !text.empty() && (text.front() == '-' || text.front() == '+');
    if (hasSign) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && AsciiUpper(c) >= 'A' && AsciiUpper(c) <= 'F')
            digit = static_cast<unsigned>(AsciiUpper(c) - 'A' + 10);
        else
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFu)
            return std::nullopt;
    }
    if (base == 16 && !hasSign)
        return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude)));
    if (magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu))
        return std::nullopt;
    std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return static_cast<int>(value);
}

} // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

bool TIniFile::CanStore(const std::string& value)
{
    return !HasLineBreak(value);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    std::string bytes;
    ReadWholeFile(FFileName, bytes); // a missing or unreadable file reads as empty
    TIniText ini = ParseIni(bytes);
    auto pair = FindPair(ini, Trim(section), Trim(key));
    if (!pair)
        return def;
    std::string_view value = Classify(ini.Lines[*pair]).Value;
    if (IsQuoted(value))
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const
{
    return ParseInteger(ReadString(section, key, std::string())).value_or(def);
}

bool TIniFile::SectionExists(const std::string& section) const
{
    std::string bytes;
    ReadWholeFile(FFileName, bytes);
    TIniText ini = ParseIni(bytes);
    // A section counts as present when it holds at least one key.
    bool found = false;
    ForEachLine(ini, Trim(section), [&](std::size_t, const TLineView& line, bool inSection) {
        found = inSection && line.Kind == TLineKind::Pair;
        return !found;
    });
    return found;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    std::string_view sectionName = Trim(section);
    std::string_view keyName = Trim(key);
    CheckNames(FFileName, sectionName, keyName);
    if (!CanStore(value))
        RaiseWriteError(FFileName);
    const std::string oldBytes = ReadForUpdate(FFileName);
    TIniText ini = ParseIni(oldBytes);
    SetPair(ini, sectionName, keyName, EncodeValue(value));
    Store(FFileName, oldBytes, ini);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::EraseSection(const std::string& section)
{
    const std::string oldBytes = ReadForUpdate(FFileName);
    TIniText ini = ParseIni(oldBytes);
    std::vector<std::string_view> kept;
    ForEachLine(ini, Trim(section), [&](std::size_t i, const TLineView&, bool inSection) {
        if (!inSection)
            kept.push_back(ini.Lines[i]);
        return true;
    });
    ini.Lines = std::move(kept);
    Store(FFileName, oldBytes, ini);
}

} // namespace velmora
