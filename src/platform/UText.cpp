#include "platform/UText.h"

#include <cwchar>
#include <cwctype>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {

std::string AsciiUpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

#ifdef _WIN32
int CompareTextLocale(const std::string& a, const std::string& b)
{
    int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                           b.data(), static_cast<int>(b.size()));
    return r - CSTR_EQUAL;
}
#else
namespace {

// The text as upper-case wide characters, or nothing when it is not valid in
// the current locale's encoding.
std::optional<std::wstring> FoldedWide(const std::string& text)
{
    std::wstring result;
    result.reserve(text.size());
    std::mbstate_t state{};
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        wchar_t wc = 0;
        std::size_t n = std::mbrtowc(&wc, p, left, &state);
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2))
            return std::nullopt;
        if (n == 0) // an embedded NUL
            n = 1;
        result.push_back(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(wc))));
        p += n;
        left -= n;
    }
    return result;
}

int Sign(int v) { return (v > 0) - (v < 0); }

} // namespace

int CompareTextLocale(const std::string& a, const std::string& b)
{
    auto wa = FoldedWide(a);
    auto wb = FoldedWide(b);
    if (!wa || !wb) // bytes the locale cannot decode: compare them ASCII-folded
        return Sign(AsciiUpperCase(a).compare(AsciiUpperCase(b)));
    if (*wa == *wb)
        return 0;
    // Collation may call distinct texts equal; fall back to code order then,
    // so that "equal" always means "equal ignoring case".
    int r = Sign(std::wcscoll(wa->c_str(), wb->c_str()));
    return r != 0 ? r : Sign(wa->compare(*wb));
}
#endif

} // namespace velmora
