// Comparison of names without regard to letter case, following the
// user's locale (setlocale(LC_ALL, "") at program start).
#pragma once

#include <string>

namespace velmora {

// <0, 0 or >0 like strcmp; 0 exactly when the texts are equal ignoring case.
int CompareTextLocale(const std::string& a, const std::string& b);

inline bool SameTextLocale(const std::string& a, const std::string& b)
{
    return CompareTextLocale(a, b) == 0;
}

// A text's key under CompareTextLocale, computed once per text for sorting
// or indexing many texts: two keys are equal exactly when their texts are
// equal ignoring case, and CompareTextKeys orders them as CompareTextLocale
// orders the texts.
#ifdef _WIN32
using TTextKey = std::string; // the system's sort key
#else
using TTextKey = std::wstring; // the text in capitals
#endif
TTextKey TextKey(const std::string& text);
int CompareTextKeys(const TTextKey& a, const TTextKey& b);

// Only the ASCII letters a to z become capitals; every other byte stays.
inline char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string AsciiUpperCase(std::string text);

// The text with every line end (CR LF, a lone LF or a lone CR) replaced by
// lineEnd: "\r\n" as the window's multi-line edits give text, "\n" for a terminal.
std::string WithLineEnds(const std::string& text, const std::string& lineEnd);

#ifdef _WIN32
// Between the program's UTF-8 and the UTF-16 of Windows' own functions.
std::wstring WideText(const std::string& utf8);
std::string Utf8Text(const std::wstring& wide);
#endif

} // namespace velmora
