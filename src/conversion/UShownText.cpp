#include "conversion/UShownText.h"

#include <cstring>

#include "conversion/UConvertClass.h"

namespace velmora {

namespace {
constexpr std::array<TColor, 8> CodeColors = {0x000000, 0x0000FF, 0x00FF00, 0x00FFFF,
                                              0xFF0000, 0xFFFF00, 0xFF00FF, 0xFFFFFF}; // 0x00BBGGRR
constexpr int White = 7;
constexpr std::string_view RunEnd = "</FONT>";

std::string_view Reference(char c)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return {};
    }
}

bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
} // namespace

std::string EscapedAttribute(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        std::string_view reference = Reference(c);
        if (reference.empty())
            result += c;
        else
            result += reference;
    }
    return result;
}

bool IsColorCode(std::string_view text, std::size_t at)
{
    return text[at] == '^' && at + 1 < text.size() && IsAsciiAlnum(text[at + 1]);
}

int ColorCodeIndex(char c)
{
    const int value = (c >= '0' && c <= '9') ? c - '0' : static_cast<unsigned char>(c);
    return value % 8;
}

TShownText::TShownText(bool escape, TColorCodes codes, TColor textColor)
    : FEscape(escape), FCodes(codes),
      FSpecial(escape ? (codes == TColorCodes::Keep ? "&<>\"" : "&<>\"^") : "^"), FCaret("^")
{
    for (int k = 0; k < 8; ++k)
        FRunStarts[static_cast<std::size_t>(k)] =
            "<FONT color=\"" + ColorToHTML(k == White ? textColor : CodeColors[static_cast<std::size_t>(k)]) + "\">";
}

namespace {
char* Put(char* out, std::string_view bytes)
{
    std::memcpy(out, bytes.data(), bytes.size());
    return out + bytes.size();
}
} // namespace

char* TShownText::Write(char* out, std::string_view line) const
{
    if (!ChangesText())
        return Put(out, line);
    bool inRun = false;
    std::size_t done = 0;
    for (std::size_t at = FSpecial.Find(line, 0); at < line.size(); at = FSpecial.Find(line, done)) {
        out = Put(out, line.substr(done, at - done));
        done = at + 1;
        if (line[at] != '^') {
            out = Put(out, Reference(line[at])); // only looked for when escaping
        } else if (FCodes == TColorCodes::Keep || !IsColorCode(line, at)) {
            *out++ = '^';
        } else {
            if (FCodes == TColorCodes::Colors) {
                if (inRun)
                    out = Put(out, RunEnd);
                out = Put(out, FRunStarts[static_cast<std::size_t>(ColorCodeIndex(line[at + 1]))]);
                inRun = true;
            }
            done = at + 2;
        }
    }
    out = Put(out, line.substr(done));
    if (inRun)
        out = Put(out, RunEnd);
    return out;
}

void TShownText::Append(std::string& out, std::string_view line) const
{
    const std::size_t old = out.size();
    out.resize(old + MaxShownSize(line.size()));
    out.resize(static_cast<std::size_t>(Write(out.data() + old, line) - out.data()));
}

std::string_view TShownText::WithoutCodes(std::string_view line, std::string& scratch) const
{
    std::size_t at = FCaret.Find(line, 0);
    if (at == line.size())
        return line;
    scratch.resize(line.size()); // never longer than the line
    char* out = scratch.data();
    std::size_t done = 0;
    for (; at < line.size(); at = FCaret.Find(line, done)) {
        const bool code = IsColorCode(line, at);
        out = Put(out, line.substr(done, at + (code ? 0 : 1) - done));
        done = at + (code ? 2 : 1);
    }
    out = Put(out, line.substr(done));
    return std::string_view(scratch.data(), static_cast<std::size_t>(out - scratch.data()));
}

} // namespace velmora
