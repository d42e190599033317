// The modern page: one self-contained HTML5 file in UTF-8 with a style block,
// a header with the dump's counts, one element per kept line with its own
// link target and a class for its kind, and a summary in the head for the
// index page.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "conversion/ULineKinds.h"
#include "conversion/UNameMatcher.h"
#include "conversion/UPageSummary.h"
#include "conversion/UPageText.h"
#include "conversion/UPlayerStats.h"
#include "settings/UHighLighter.h"

namespace velmora {

class TAtomicFileWriter;
class TAppOptions;
class THTMLOptions;
class TDumpLineSource;
class TPageSink;
struct TDumpLine;

// What a modern page needs to know besides the options.
struct TModernPageInput {
    const THTMLOptions* Html = nullptr; // not owned
    const TAppOptions* App = nullptr;   // not owned
    const TNamesList* Names = nullptr;  // not owned; may be null
    bool IgnoreCase = false;
    std::string ImageDir;               // put before the file names of images
    std::string DumpName;               // the dump's file name, in the system's code page
    std::string DumpDate;               // "YYYY-MM-DDTHH:MM:SS", empty when unknown
    std::uint64_t DumpBytes = 0;        // the dump's size, which the summary's room grows with
    bool LinkIndex = false;             // the header links to the index page
};

class TModernPage {
public:
    // The page items in front of the first dump line, as the file bar counts them.
    static constexpr std::size_t HeaderItems = 1;

    explicit TModernPage(const TModernPageInput& input);

    // Writes the whole page through sink into file (whose head is filled in
    // once the lines are counted); false when the run was stopped during it.
    bool Write(TDumpLineSource& lines, TPageSink& sink, TAtomicFileWriter& file);

    // The counts of the page written, as its head carries them.
    const TPageSummary& Summary() const { return FSummary; }

private:
    // A listed name's look on a highlighted line.
    struct TMarkup {
        std::string Attributes; // ends the line element's class and gives its colours
        std::string Before;     // the HTML before the text, and the icon
        std::string After;      // the HTML after
    };

    std::string Header(std::size_t dumpLines);
    void PutLine(const TDumpLine& line, bool mayHighlight);
    std::string_view LineNumber(std::size_t number)
    {
        // Most often the next number, whose last digit is not a 9.
        if (number == FNumber + 1 && FNumberSize != 0 && FNumberDigits[FNumberSize - 1] != '9') {
            ++FNumberDigits[FNumberSize - 1];
            FNumber = number;
            return {FNumberDigits, FNumberSize};
        }
        return CountLineNumber(number);
    }
    std::string_view CountLineNumber(std::size_t number);
    bool Keeps(TLineKind kind) const;
    void Count(const TLineFacts& facts, std::uint64_t shownNumber);
    void CountChat(const TLineFacts& facts);
    // The look of the first listed name in the line, null for none; with names listed only.
    const TMarkup* Highlight(std::string_view text);
    static TMarkup MarkupOf(const THighLightInfo& info, const TModernPageInput& input, TColor back);

    TModernPageInput FInput;
    TPageSink* FSink = nullptr;
    TLineClassifier FClassifier;
    TPageText FText;        // dump text as the colour-code option says
    TPageText FPlainText;   // dump text of highlighted lines: codes removed
    TNameMatcher FMatcher;
    std::vector<TMarkup> FMarkups;
    TPageSummary FSummary;
    // Without stats: a player's place in FSummary.Players by name without
    // codes, and by the names as written in the lines.
    struct TTextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return NameBytesHash(text); }
    };
    std::unordered_map<std::string, std::size_t> FPlayerIndex;
    std::unordered_map<std::string, std::size_t, TTextHash, std::equal_to<>> FSpellings;
    std::unique_ptr<TPlayerStats> FStats; // with the player stats option
    // Where the parts filled in at the end stand in the page, and their sizes.
    std::size_t FSummaryAt = 0;
    std::size_t FSummarySize = 0;
    std::size_t FChatCountAt = 0;
    std::size_t FChatCountWidth = 0;
    // The last line number written, and its digits.
    std::size_t FNumber = 0;
    char FNumberDigits[24] = {};
    std::size_t FNumberSize = 0;
    // Scratch texts, kept to reuse their memory.
    std::string FJoined;
    std::string FName;
    std::string FOut;
};

} // namespace velmora
