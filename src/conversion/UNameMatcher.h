// Finds which name of an ordered list occurs in a line, looking for all names
// in one pass over the line so that long name lists stay cheap.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A line given as two parts that count as one text: a broken line and the
// line joined to it (Second is empty for a line on its own).
struct TLineParts {
    std::string_view First;
    std::string_view Second;
};

class TNameMatcher {
public:
    // Empty names never match. With ignoreCase only the ASCII letters a to z
    // are folded; every other byte must match exactly.
    TNameMatcher(const std::vector<std::string_view>& names, bool ignoreCase);

    // The list index of the first name, in list order, that occurs anywhere
    // in the line (not the name that occurs leftmost); -1 when none does.
    int FirstMatch(std::string_view line) const { return FirstMatch(line, {}); }
    // The same for the line made of first followed directly by second.
    int FirstMatch(std::string_view first, std::string_view second) const;

    // FirstMatch of each of count lines into results. Several lines are
    // scanned side by side, so that the table look-ups of one line overlap
    // those of the others instead of waiting for each other.
    void FirstMatches(const TLineParts* lines, int* results, std::size_t count) const;

    bool HasNames() const { return FLowest != NoMatch; }

private:
    static constexpr int NoMatch = -1;

    void BuildAutomaton();
    void BuildStartFilter();
    // Runs the automaton over one part of a line; false once no better match can come.
    bool Scan(std::string_view part, std::uint32_t& offset, int& best) const;
    int FirstMatchByName(std::string_view line) const;
    unsigned char Fold(unsigned char c) const;

    bool FIgnoreCase;
    int FLowest = NoMatch;              // the lowest index of a name that can match at all
    std::size_t FShortest = 0;          // the length of the shortest name
    // Kept for lists too large for the automaton: those are searched name by name.
    std::vector<std::string> FFoldedNames;
    bool FUseAutomaton = false;

    // Bytes that occur in no name share class 0, so the table stays narrow.
    std::array<std::uint16_t, 256> FClassOf{};
    std::uint32_t FClasses = 1;
    // Bytes that lead out of the start state, and byte pairs that begin a
    // name (bit b0 * 256 + b1): in the start state positions where no name
    // can begin are skipped without waiting on the table.
    std::array<bool, 256> FStartsName{};
    std::vector<std::uint64_t> FStartPairs;
    // Complete transition table: entry (state offset + class) is the next
    // state's offset (state number * FClasses). States where a name ends are
    // numbered last, from FOutputStart on, so the scan tells them by a compare.
    std::vector<std::uint32_t> FNext;
    std::uint32_t FOutputStart = 0;
    // Per state: the lowest name index that ends at it, its own or through a
    // shorter suffix; NoMatch when none does.
    std::vector<int> FBest;
};

} // namespace velmora
