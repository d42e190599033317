// The text of a modern page: dump lines and the profile's own texts in UTF-8,
// escaped, without control characters, with the game's colour codes kept,
// removed or shown as runs of colour that stay readable on the page.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "settings/UAppOptions.h"
#include "shared/UGenDeclarations.h"

namespace velmora {

class TPageText {
public:
    // codes: what the page does with colour codes ("^" and a letter or digit,
    // or "^x" and six hexadecimal digits); backColor: the page background, on
    // which every colour run keeps the minimum contrast.
    TPageText(TColorCodes codes, TColor backColor);

    // Appends the line as the page shows it. A line that is not valid UTF-8
    // is read as Windows-1252; control characters other than tab are left
    // out; "&", "<", ">" and double quotes become character references. With
    // TColorCodes::Colors each code starts a run: <span class="cN"> for the
    // game's eight colours (N from 0 to 6; "^7", the game's white, returns to
    // the page's text colour) and <span style="color:#RRGGBB"> for "^x" codes.
    // Runs are closed within the line.
    void Append(std::string& out, std::string_view line);
    // Appends what the reader sees of the line, not escaped: the text of
    // Append without markup (and without the codes, unless they are kept).
    void AppendVisible(std::string& out, std::string_view line);

    // The most bytes Write makes of a line of `size` bytes: a colour code of
    // two bytes may close one run and open the next (24 bytes); a byte read
    // as Windows-1252 becomes at most three.
    static constexpr std::size_t MostBytes(std::size_t size) { return size * 16 + 8; }
    // Writes the line as Append does, at out, which has room for MostBytes
    // of it; returns the end. No string is built and copied.
    char* Write(char* out, std::string_view line);

    // The style rules of the run classes, one line each (".c1{color:#FF0000}"),
    // with colours made readable on the background.
    const std::string& ColorClassRules() const { return FClassRules; }

private:
    template <bool Markup, class TOut>
    void RenderLine(TOut& out, std::string_view line);
    // False, with part of the text written, when it meets a byte from 0x80
    // in text that is not UTF-8 (unless `utf8` says it is).
    template <bool Markup, class TOut>
    bool Render(TOut& out, std::string_view text, bool utf8);
    const std::string& HexRunStart(TColor color);

    TColorCodes FCodes;
    TColor FBackColor;
    std::string FClassRules;
    std::string FConverted; // a line read as Windows-1252, kept to reuse its memory
    std::unordered_map<TColor, std::string> FHexRunStarts;
};

// A text of the profile (title, author, a name) for the page's text or an
// attribute value: UTF-8 as AppendAsUtf8 reads it, then escaped as dump text.
std::string PageEscaped(std::string_view profileText);

} // namespace velmora
