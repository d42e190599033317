#include "platform/UText.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {

std::string AsciiUpperCase(std::string text)
{
    for (char& c : text)
        c = AsciiUpper(c);
    return text;
}

std::string WithLineEnds(const std::string& text, const std::string& lineEnd)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            result += lineEnd;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

namespace {

// The first byte at or after `from` that is not ASCII, eight bytes at a time.
std::size_t FirstNonAscii(std::string_view text, std::size_t from)
{
    constexpr std::uint64_t HighBits = 0x8080808080808080u;
    std::uint64_t word;
    for (; from + 8 <= text.size(); from += 8) {
        std::memcpy(&word, text.data() + from, 8);
        if (word & HighBits)
            break;
    }
    // Fewer than eight bytes left: the last eight of the text, some seen
    // again, show at once when they are all ASCII.
    if (from < text.size() && from + 8 > text.size() && text.size() >= 8) {
        std::memcpy(&word, text.data() + text.size() - 8, 8);
        if ((word & HighBits) == 0)
            return text.size();
    }
    while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80)
        ++from;
    return from;
}

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at text[at] (not ASCII), 0 when there is none.
std::size_t SequenceAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const std::size_t left = text.size() - at;
    const unsigned char lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF)
        return left >= 2 && IsContinuation(byte(1)) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !IsContinuation(byte(1)) || !IsContinuation(byte(2)))
            return 0;
        if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0))
            return 0; // overlong, or a surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !IsContinuation(byte(1)) || !IsContinuation(byte(2)) || !IsContinuation(byte(3)))
            return 0;
        if ((lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90))
            return 0; // overlong, or above U+10FFFF
        return 4;
    }
    return 0;
}

// The characters of Windows-1252 at 0x80 to 0x9F; the rest of its upper
// half is Latin-1, the first 256 code points.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

void AppendCodePoint(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t at = FirstNonAscii(text, 0); at < text.size(); at = FirstNonAscii(text, at)) {
        const std::size_t n = SequenceAt(text, at);
        if (n == 0)
            return false;
        at += n;
    }
    return true;
}

void AppendAsUtf8(std::string& out, std::string_view text)
{
    if (IsValidUtf8(text)) {
        out += text;
        return;
    }
    out.reserve(out.size() + text.size() * 2);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        AppendCodePoint(out, c >= 0x80 && c < 0xA0 ? Cp1252High[c - 0x80] : c);
    }
}

std::string AsUtf8(std::string_view text)
{
    std::string out;
    AppendAsUtf8(out, text);
    return out;
}

#ifdef _WIN32
std::wstring WideText(const std::string& utf8)
{
    int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), size);
    return result;
}

std::string Utf8Text(const std::wstring& wide)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

namespace {

// Length of the UTF-8 sequence that starts with lead, 0 for no lead byte.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The text (UTF-8, as the program holds it) as upper-case UTF-16. A byte
// that is no part of a valid sequence stands for itself in a range no real
// character uses, so every text has a folded form and all texts are ordered
// by one rule.
std::wstring FoldedWide(const std::string& text)
{
    std::wstring result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t n = SequenceLength(static_cast<unsigned char>(text[i]));
        wchar_t units[2];
        int count = n == 0 || i + n > text.size()
                        ? 0
                        : MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data() + i, static_cast<int>(n),
                                              units, 2);
        if (count <= 0) {
            result.push_back(static_cast<wchar_t>(0xDC00 + static_cast<unsigned char>(text[i])));
            n = 1;
        } else {
            result.append(units, static_cast<std::size_t>(count));
        }
        i += n;
    }
    if (!result.empty())
        CharUpperBuffW(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

int Sign(int v) { return (v > 0) - (v < 0); }

} // namespace

int CompareTextLocale(const std::string& a, const std::string& b)
{
    std::wstring wa = FoldedWide(a);
    std::wstring wb = FoldedWide(b);
    if (wa == wb)
        return 0;
    // Collation may call distinct texts equal; fall back to code order then,
    // so that "equal" always means "equal ignoring case" and the order stays total.
    int r = CompareStringW(LOCALE_USER_DEFAULT, 0, wa.data(), static_cast<int>(wa.size()), wb.data(),
                           static_cast<int>(wb.size())) - CSTR_EQUAL;
    return r != 0 ? Sign(r) : Sign(wa.compare(wb));
}

// Sort keys compare as CompareStringA compares their texts.
TTextKey TextKey(const std::string& text)
{
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    int size = LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
    TTextKey key(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), static_cast<int>(text.size()), key.data(), size);
    return key;
}

int CompareTextKeys(const TTextKey& a, const TTextKey& b)
{
    int r = a.compare(b);
    return (r > 0) - (r < 0);
}
#else
namespace {

// The text as upper-case wide characters. A byte that the locale cannot
// decode stands for itself in a range no real character uses, so every text
// has a folded form and all texts are ordered by one rule.
std::wstring FoldedWide(const std::string& text)
{
    std::wstring result;
    result.reserve(text.size());
    std::mbstate_t state{};
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        // A byte below 0x80 outside a multibyte sequence is that ASCII
        // character in every encoding a locale may use here.
        auto byte = static_cast<unsigned char>(*p);
        if (byte < 0x80 && std::mbsinit(&state)) {
            result.push_back(static_cast<wchar_t>(std::towupper(byte)));
            ++p;
            --left;
            continue;
        }
        wchar_t wc = 0;
        std::size_t n = std::mbrtowc(&wc, p, left, &state);
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
            wc = static_cast<wchar_t>(0xDC00 + static_cast<unsigned char>(*p));
            n = 1;
            state = std::mbstate_t{};
        } else {
            if (n == 0) // an embedded NUL
                n = 1;
            wc = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(wc)));
        }
        result.push_back(wc);
        p += n;
        left -= n;
    }
    return result;
}

int Sign(int v) { return (v > 0) - (v < 0); }

} // namespace

TTextKey TextKey(const std::string& text)
{
    return FoldedWide(text);
}

int CompareTextKeys(const TTextKey& a, const TTextKey& b)
{
    if (a == b)
        return 0;
    // Collation may call distinct texts equal (or stop at an embedded NUL);
    // fall back to code order then, so that "equal" always means "equal
    // ignoring case" and the order stays total.
    int r = Sign(std::wcscoll(a.c_str(), b.c_str()));
    return r != 0 ? r : Sign(a.compare(b));
}

int CompareTextLocale(const std::string& a, const std::string& b)
{
    return CompareTextKeys(FoldedWide(a), FoldedWide(b));
}
#endif

} // namespace velmora
