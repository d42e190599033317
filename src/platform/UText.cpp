#include "platform/UText.h"

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

#ifdef _WIN32
int CompareTextLocale(const std::string& a, const std::string& b)
{
    int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                           b.data(), static_cast<int>(b.size()));
    return r - CSTR_EQUAL;
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
