// An Aho-Corasick automaton over the highlight names, built once per page,
// that reports the earliest-listed name found in a line.
#include "conversion/UNameMatcher.h"

#include <algorithm>
#include <deque>

namespace velmora {

namespace {
// Transition tables beyond this many entries (names from a hostile profile)
// fall back to searching name by name rather than using a huge table.
constexpr std::size_t MaxTableEntries = std::size_t(1) << 24;

unsigned char AsciiUpper(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}
} // namespace

unsigned char TNameMatcher::Fold(unsigned char c) const
{
    return FIgnoreCase ? AsciiUpper(c) : c;
}

TNameMatcher::TNameMatcher(const std::vector<std::string_view>& names, bool ignoreCase) : FIgnoreCase(ignoreCase)
{
    std::size_t totalBytes = 0;
    FFoldedNames.reserve(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        std::string folded(names[k]);
        for (char& c : folded)
            c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
        if (!folded.empty() && FLowest == NoMatch)
            FLowest = static_cast<int>(k);
        totalBytes += folded.size();
        FFoldedNames.push_back(std::move(folded));
    }
    if (FLowest == NoMatch)
        return;

    // Number the byte classes: one per distinct (folded) byte used by a name.
    for (const std::string& name : FFoldedNames)
        for (char c : name) {
            auto b = static_cast<unsigned char>(c);
            if (FClassOf[b] == 0)
                FClassOf[b] = static_cast<std::uint16_t>(FClasses++);
        }
    if (FIgnoreCase)
        for (unsigned c = 'a'; c <= 'z'; ++c)
            FClassOf[c] = FClassOf[c - 'a' + 'A'];

    if ((totalBytes + 1) * FClasses > MaxTableEntries)
        return;
    BuildAutomaton();
    FUseAutomaton = true;
    FFoldedNames.clear();
    FFoldedNames.shrink_to_fit();
}

void TNameMatcher::BuildAutomaton()
{
    const std::uint32_t classes = FClasses;
    constexpr std::uint32_t None = 0xFFFFFFFFu;
    // The trie: goTo[state * classes + class], None where it has no edge.
    std::vector<std::uint32_t> goTo(classes, None);
    FBest.assign(1, NoMatch);
    for (std::size_t k = 0; k < FFoldedNames.size(); ++k) {
        std::uint32_t state = 0;
        for (char c : FFoldedNames[k]) {
            std::uint32_t cls = FClassOf[static_cast<unsigned char>(c)];
            std::uint32_t& edge = goTo[state * classes + cls];
            if (edge == None) {
                edge = static_cast<std::uint32_t>(FBest.size());
                FBest.push_back(NoMatch);
                goTo.resize(goTo.size() + classes, None);
            }
            state = goTo[state * classes + cls];
        }
        if (!FFoldedNames[k].empty() && FBest[state] == NoMatch)
            FBest[state] = static_cast<int>(k); // a repeated name keeps its first place
    }

    // Breadth first: each state's fail state is handled before the state
    // itself, so missing edges can be copied from it and its output merged.
    const std::size_t states = FBest.size();
    std::vector<std::uint32_t> next(states * classes, 0);
    std::vector<std::uint32_t> fail(states, 0);
    std::deque<std::uint32_t> queue;
    for (std::uint32_t cls = 0; cls < classes; ++cls) {
        std::uint32_t t = goTo[cls];
        if (t != None) {
            next[cls] = t;
            queue.push_back(t);
        }
    }
    while (!queue.empty()) {
        std::uint32_t s = queue.front();
        queue.pop_front();
        const std::uint32_t f = fail[s];
        if (FBest[f] != NoMatch && (FBest[s] == NoMatch || FBest[f] < FBest[s]))
            FBest[s] = FBest[f];
        for (std::uint32_t cls = 0; cls < classes; ++cls) {
            std::uint32_t t = goTo[s * classes + cls];
            if (t == None) {
                next[s * classes + cls] = next[f * classes + cls];
            } else {
                next[s * classes + cls] = t;
                fail[t] = next[f * classes + cls];
                queue.push_back(t);
            }
        }
    }

    // Store premultiplied offsets with the output flag so that the scan needs
    // no multiplication and looks at FBest only where a name ends.
    FNext.resize(next.size());
    for (std::size_t e = 0; e < next.size(); ++e) {
        std::uint32_t t = next[e];
        FNext[e] = t * classes | (FBest[t] != NoMatch ? OutputFlag : 0u);
    }
}

int TNameMatcher::FirstMatch(std::string_view line) const
{
    if (FLowest == NoMatch)
        return NoMatch;
    if (!FUseAutomaton)
        return FirstMatchByName(line);
    int best = NoMatch;
    std::uint32_t offset = 0;
    const std::uint32_t* next = FNext.data();
    for (char c : line) {
        std::uint32_t entry = next[offset + FClassOf[static_cast<unsigned char>(c)]];
        offset = entry & ~OutputFlag;
        if (entry & OutputFlag) {
            int found = FBest[offset / FClasses];
            if (best == NoMatch || found < best) {
                best = found;
                if (best == FLowest)
                    break; // no name can come earlier in the list
            }
        }
    }
    return best;
}

int TNameMatcher::FirstMatchByName(std::string_view line) const
{
    auto same = [this](char a, char b) {
        return Fold(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    };
    for (std::size_t k = 0; k < FFoldedNames.size(); ++k) {
        const std::string& name = FFoldedNames[k];
        if (!name.empty() && std::search(line.begin(), line.end(), name.begin(), name.end(), same) != line.end())
            return static_cast<int>(k);
    }
    return NoMatch;
}

} // namespace velmora
