// Comparison of names without regard to letter case, following the
// user's locale (setlocale(LC_ALL, "") at program start), and the reading of
// 8-bit text as UTF-8.
#pragma once

#include <string>
#include <string_view>

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

// True when the text is well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);
// Appends the text as UTF-8: a text that is valid UTF-8 as it stands, any
// other text read byte by byte as Windows-1252 (the five bytes that code page
// leaves unassigned become the control characters of the same number).
void AppendAsUtf8(std::string& out, std::string_view text);
std::string AsUtf8(std::string_view text);
// Appends one Unicode code point (at most U+10FFFF, no surrogate) in UTF-8.
void AppendCodePoint(std::string& out, char32_t c);

#ifdef _WIN32
// Between the program's UTF-8 and the UTF-16 of Windows' own functions.
std::wstring WideText(const std::string& utf8);
std::string Utf8Text(const std::wstring& wide);
#endif

} // namespace velmora
