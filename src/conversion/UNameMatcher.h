// Finds which name of an ordered list occurs in a line, looking for all names
// in one pass over the line so that long name lists stay cheap.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class TNameMatcher {
public:
    // Empty names never match. With ignoreCase only the ASCII letters a to z
    // are folded; every other byte must match exactly.
    TNameMatcher(const std::vector<std::string_view>& names, bool ignoreCase);

    // The list index of the first name, in list order, that occurs anywhere
    // in the line (not the name that occurs leftmost); -1 when none does.
    int FirstMatch(std::string_view line) const;

    bool HasNames() const { return FLowest != NoMatch; }

private:
    static constexpr int NoMatch = -1;
    static constexpr std::uint32_t OutputFlag = 0x80000000u;

    void BuildAutomaton();
    int FirstMatchByName(std::string_view line) const;
    unsigned char Fold(unsigned char c) const;

    bool FIgnoreCase;
    int FLowest = NoMatch; // the lowest index of a name that can match at all
    // Kept for lists too large for the automaton: those are searched name by name.
    std::vector<std::string> FFoldedNames;
    bool FUseAutomaton = false;

    // Bytes that occur in no name share class 0, so the table stays narrow.
    std::array<std::uint16_t, 256> FClassOf{};
    std::uint32_t FClasses = 1;
    // Complete transition table: entry (state offset + class) is the next
    // state's offset (state number * FClasses), with OutputFlag set when some
    // name ends there.
    std::vector<std::uint32_t> FNext;
    // Per state: the lowest name index that ends at it, its own or through a
    // shorter suffix; NoMatch when none does.
    std::vector<int> FBest;
};

} // namespace velmora
