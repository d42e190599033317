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

int CompareTextLocale(const std::string& a, const std::string& b)
{
    std::wstring wa = FoldedWide(a);
    std::wstring wb = FoldedWide(b);
    if (wa == wb)
        return 0;
    // Collation may call distinct texts equal (or stop at an embedded NUL);
    // fall back to code order then, so that "equal" always means "equal
    // ignoring case" and the order stays total.
    int r = Sign(std::wcscoll(wa.c_str(), wb.c_str()));
    return r != 0 ? r : Sign(wa.compare(wb));
}
#endif

} // namespace velmora
