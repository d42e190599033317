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
} // namespace

unsigned char TNameMatcher::Fold(unsigned char c) const
{
    return (FIgnoreCase && c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

TNameMatcher::TNameMatcher(const std::vector<std::string_view>& names, bool ignoreCase) : FIgnoreCase(ignoreCase)
{
    std::size_t totalBytes = 0;
    FFoldedNames.reserve(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        std::string folded(names[k]);
        for (char& c : folded)
            c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
        if (!folded.empty()) {
            if (FLowest == NoMatch)
                FLowest = static_cast<int>(k);
            FShortest = FShortest == 0 ? folded.size() : std::min(FShortest, folded.size());
        }
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
    std::vector<int> best(1, NoMatch);
    for (std::size_t k = 0; k < FFoldedNames.size(); ++k) {
        std::uint32_t state = 0;
        for (char c : FFoldedNames[k]) {
            std::uint32_t cls = FClassOf[static_cast<unsigned char>(c)];
            if (goTo[state * classes + cls] == None) {
                goTo[state * classes + cls] = static_cast<std::uint32_t>(best.size());
                best.push_back(NoMatch);
                goTo.resize(goTo.size() + classes, None);
            }
            state = goTo[state * classes + cls];
        }
        if (!FFoldedNames[k].empty() && best[state] == NoMatch)
            best[state] = static_cast<int>(k); // a repeated name keeps its first place
    }

    // Breadth first: each state's fail state is handled before the state
    // itself, so missing edges can be copied from it and its output merged.
    const std::size_t states = best.size();
    std::vector<std::uint32_t> next(states * classes, 0);
    std::vector<std::uint32_t> fail(states, 0);
    std::deque<std::uint32_t> queue;
    for (std::uint32_t cls = 0; cls < classes; ++cls)
        if (goTo[cls] != None) {
            next[cls] = goTo[cls];
            queue.push_back(goTo[cls]);
        }
    while (!queue.empty()) {
        std::uint32_t s = queue.front();
        queue.pop_front();
        const std::uint32_t f = fail[s];
        if (best[f] != NoMatch && (best[s] == NoMatch || best[f] < best[s]))
            best[s] = best[f];
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

    // Renumber: states without output first (the start state stays 0, no
    // name being empty), states where a name ends after them.
    std::vector<std::uint32_t> number(states);
    std::uint32_t n = 0;
    for (std::size_t s = 0; s < states; ++s)
        if (best[s] == NoMatch)
            number[s] = n++;
    FOutputStart = n * classes;
    for (std::size_t s = 0; s < states; ++s)
        if (best[s] != NoMatch)
            number[s] = n++;
    FBest.assign(states, NoMatch);
    FNext.assign(next.size(), 0);
    for (std::size_t s = 0; s < states; ++s) {
        FBest[number[s]] = best[s];
        for (std::uint32_t cls = 0; cls < classes; ++cls)
            FNext[number[s] * classes + cls] = number[next[s * classes + cls]] * classes;
    }
    BuildStartFilter();
}

void TNameMatcher::BuildStartFilter()
{
    for (unsigned b = 0; b < 256; ++b)
        FStartsName[b] = FNext[FClassOf[b]] != 0;
    FStartPairs.assign(65536 / 64, 0);
    auto set = [this](unsigned pair) { FStartPairs[pair >> 6] |= std::uint64_t(1) << (pair & 63); };
    for (const std::string& name : FFoldedNames) {
        if (name.empty())
            continue;
        auto first = static_cast<unsigned char>(name[0]);
        for (unsigned b0 = 0; b0 < 256; ++b0) {
            if (Fold(static_cast<unsigned char>(b0)) != first)
                continue;
            for (unsigned b1 = 0; b1 < 256; ++b1)
                // A one-byte name is found whatever follows it.
                if (name.size() == 1 || Fold(static_cast<unsigned char>(b1)) == static_cast<unsigned char>(name[1]))
                    set(b0 << 8 | b1);
        }
    }
}

bool TNameMatcher::Scan(std::string_view part, std::uint32_t& offset, int& best) const
{
    const auto* p = reinterpret_cast<const unsigned char*>(part.data());
    const auto* end = p + part.size();
    // Locals, so that the compiler need not reload members after each store.
    const std::uint32_t* next = FNext.data();
    const std::uint16_t* classOf = FClassOf.data();
    const std::uint64_t* pairs = FStartPairs.data();
    const std::uint32_t outputStart = FOutputStart;
    std::uint32_t at = offset;
    int found = best;
    bool more = true;
    while (p < end) {
        if (at == 0) {
            // In the start state a name can only begin where its first two
            // bytes stand; the last byte of a part is checked alone, as the
            // name may go on in the next part.
            while (p + 1 < end) {
                unsigned pair = unsigned(p[0]) << 8 | p[1];
                if ((pairs[pair >> 6] >> (pair & 63)) & 1)
                    break;
                ++p;
            }
            if (p + 1 == end && !FStartsName[*p])
                break;
        }
        at = next[at + classOf[*p++]];
        if (at >= outputStart) {
            int k = FBest[at / FClasses];
            if (found == NoMatch || k < found) {
                found = k;
                if (found == FLowest) {
                    more = false; // no name can come earlier in the list
                    break;
                }
            }
        }
    }
    offset = at;
    best = found;
    return more;
}

int TNameMatcher::FirstMatch(std::string_view first, std::string_view second) const
{
    if (FLowest == NoMatch || first.size() + second.size() < FShortest)
        return NoMatch;
    if (!FUseAutomaton)
        return FirstMatchByName(second.empty() ? first : std::string(first) + std::string(second));
    int best = NoMatch;
    std::uint32_t offset = 0;
    if (Scan(first, offset, best))
        Scan(second, offset, best);
    return best;
}

namespace {
// One line being scanned: where it stands in its current part and the match so far.
struct TLane {
    const unsigned char* P = nullptr;
    const unsigned char* End = nullptr;
    const unsigned char* SecondBegin = nullptr;
    const unsigned char* SecondEnd = nullptr;
    std::size_t Item = 0;
    std::uint32_t At = 0;
    int Best = -1;
};

const unsigned char* Bytes(std::string_view s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}
} // namespace

void TNameMatcher::FirstMatches(const TLineParts* lines, int* results, std::size_t count) const
{
    if (!FUseAutomaton) {
        for (std::size_t i = 0; i < count; ++i)
            results[i] = FirstMatch(lines[i].First, lines[i].Second);
        return;
    }
    constexpr int Lanes = 3;
    TLane lane[Lanes];
    std::size_t nextItem = 0;
    // Gives a lane the next line worth scanning; false when none is left.
    auto load = [&](TLane& l) {
        while (nextItem < count) {
            std::size_t i = nextItem++;
            const TLineParts& line = lines[i];
            if (FLowest == NoMatch || line.First.size() + line.Second.size() < FShortest) {
                results[i] = NoMatch;
                continue;
            }
            l = TLane{Bytes(line.First), Bytes(line.First) + line.First.size(), Bytes(line.Second),
                      Bytes(line.Second) + line.Second.size(), i, 0, NoMatch};
            return true;
        }
        return false;
    };
    // Moves a lane on at the end of a part, or after the best possible match;
    // false when the lane has nothing left to scan.
    auto refill = [&](TLane& l) {
        while (true) {
            if (l.Best == FLowest || (l.P == l.End && l.SecondBegin == l.SecondEnd)) {
                results[l.Item] = l.Best;
                if (!load(l))
                    return false;
            } else if (l.P == l.End) {
                l.P = l.SecondBegin;
                l.End = l.SecondEnd;
                l.SecondBegin = l.SecondEnd;
            } else {
                return true;
            }
        }
    };
    int busy = 0;
    while (busy < Lanes && load(lane[busy]))
        ++busy;
    int idle = busy; // lanes from here on have no line
    if (busy == Lanes) {
        // The lanes' positions and states stay in locals (registers) while
        // stepping; a lane meets its end about once a line and is refilled.
        const std::uint32_t* next = FNext.data();
        const std::uint16_t* classOf = FClassOf.data();
        const std::uint32_t outputStart = FOutputStart;
        const unsigned char* p[Lanes];
        const unsigned char* end[Lanes];
        std::uint32_t at[Lanes];
        for (int k = 0; k < Lanes; ++k) {
            p[k] = lane[k].P;
            end[k] = lane[k].End;
            at[k] = 0;
        }
        while (idle == Lanes) {
#pragma GCC unroll 3
            for (int k = 0; k < Lanes; ++k) {
                if (p[k] == end[k]) {
                    lane[k].P = p[k];
                    lane[k].At = at[k]; // a second part goes on from this state
                    if (!refill(lane[k])) {
                        idle = k;
                        break;
                    }
                    p[k] = lane[k].P;
                    end[k] = lane[k].End;
                    at[k] = lane[k].At;
                }
                at[k] = next[at[k] + classOf[*p[k]++]];
                if (at[k] >= outputStart) {
                    int found = FBest[at[k] / FClasses];
                    if (lane[k].Best == NoMatch || found < lane[k].Best)
                        lane[k].Best = found;
                    if (lane[k].Best == FLowest)
                        end[k] = p[k]; // nothing earlier in the list can follow
                }
            }
        }
        for (int k = 0; k < Lanes; ++k) {
            lane[k].P = p[k];
            lane[k].At = at[k];
        }
    }
    // No line is left to load: the lanes still busy finish one by one.
    for (int k = 0; k < busy; ++k) {
        if (k == idle)
            continue;
        TLane& l = lane[k];
        while (refill(l)) {
            Scan(std::string_view(reinterpret_cast<const char*>(l.P), static_cast<std::size_t>(l.End - l.P)), l.At,
                 l.Best);
            l.P = l.End;
        }
    }
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
