// The text of a dump line as a page shows it: the HTML characters "&", "<",
// ">" and the double quote escaped when asked, and the game's colour codes
// ("^" followed by a letter or digit) kept, removed or shown as colours.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "conversion/UDumpText.h"
#include "settings/UAppOptions.h"
#include "shared/UGenDeclarations.h"

namespace velmora {

class TShownText {
public:
    // textColor: the page's text colour, which "^7" (white) stands for, so
    // that such text stays readable on a light page.
    TShownText(bool escape, TColorCodes codes, TColor textColor);

    // False when every line reaches the page as it stands.
    bool ChangesText() const { return FEscape || FCodes != TColorCodes::Keep; }
    // True when the colour codes are not part of the text the reader sees.
    bool HidesCodes() const { return FCodes != TColorCodes::Keep; }

    // The most bytes a line of `size` bytes can take as shown: a colour code
    // of two bytes becomes a run's end and the next run's start tag.
    static constexpr std::size_t MaxShownSize(std::size_t size) { return size * 15 + 7; }
    // Writes the line as the page shows it at out, which has room for
    // MaxShownSize(line.size()) bytes, and returns the end of what it wrote.
    // Colour runs are closed within the line.
    char* Write(char* out, std::string_view line) const;
    // The same, appended to a text.
    void Append(std::string& out, std::string_view line) const;
    // The line without its colour codes, the text the reader sees: the line
    // itself when it holds no "^", otherwise a copy made in scratch.
    std::string_view WithoutCodes(std::string_view line, std::string& scratch) const;

private:
    bool FEscape;
    TColorCodes FCodes;
    TByteFinder FSpecial; // the bytes that start something to change
    TByteFinder FCaret;
    std::array<std::string, 8> FRunStarts; // the start tag of each code's colour run
};

// The text with "&", "<", ">" and the double quote written as character
// references: an attribute value between double quotes that cannot end early
// or bring markup of its own. Text without them comes back as it is.
std::string EscapedAttribute(std::string_view text);

// True when text[at] starts a colour code: "^" followed by an ASCII letter or digit.
bool IsColorCode(std::string_view text, std::size_t at);
// The colour a code's character stands for, 0 to 7: black, red, green,
// yellow, blue, cyan, magenta, white; a digit by its value, a letter by its
// character code, modulo 8.
int ColorCodeIndex(char c);

} // namespace velmora
