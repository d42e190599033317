// Finds which name of an ordered list occurs in a line: positions of the line
// are checked against a small filter of the names' bytes, and only the names
// the filter lets through are compared in full.
#pragma once

#include <cstddef>
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
    // Not const: the line may be copied into a scratch buffer of the matcher.
    int FirstMatch(std::string_view line) { return FirstMatch(line, {}); }
    // The same for the line made of first followed directly by second.
    int FirstMatch(std::string_view first, std::string_view second);

    bool HasNames() const { return FLowest != NoMatch; }

private:
    static constexpr int NoMatch = -1;
    // Names are found through keys of KeyWidth bytes; names shorter than
    // that are keyed by all their bytes and looked for at every position.
    static constexpr unsigned KeyWidth = 4;
    // The filter has 2^FilterBits bits: 8 KB, so that it stays in the L1 cache.
    static constexpr unsigned FilterBits = 16;
    // The most positions skipped between two looks at a line.
    static constexpr std::size_t MaxStride = 8;

    // A name whose key starts Shift bytes into it.
    struct TCandidate {
        int Index;                // list index
        std::uint32_t Shift;
        std::size_t Offset;       // of its folded bytes in FNameBytes
        std::size_t Length;
        // A long name's first and last KeyWidth bytes, compared before the rest.
        std::uint32_t Head;
        std::uint32_t Tail;
    };
    // The candidates of one key, ascending by list index: FCandidates[Begin, End).
    struct TBucket {
        std::uint32_t Key = 0;
        std::uint32_t Width = 0;  // 0 marks a free slot, whose range is empty
        std::size_t Begin = 0;
        std::size_t End = 0;
    };

    void Build(const std::vector<std::string>& folded);
    static std::uint64_t Hash(std::uint32_t key, unsigned width);
    bool MayStart(std::uint32_t key, unsigned width) const
    {
        const std::uint64_t bit = Hash(key, width) >> (64 - FilterBits);
        return (FFilter[bit >> 6] >> (bit & 63)) & 1;
    }
    int ScanLong(const unsigned char* text, std::size_t size, int best) const;
    int ScanShort(const unsigned char* text, std::size_t size, int best) const;
    // Compares the candidates of the key seen at text[at]; true once nothing better can come.
    bool Verify(const unsigned char* text, std::size_t size, std::size_t at, std::uint32_t key, unsigned width,
                int& best) const;
    bool IsAt(const unsigned char* start, const TCandidate& c) const;

    bool FIgnoreCase;
    int FLowest = NoMatch;          // the lowest index of a name that can match at all
    std::size_t FShortest = 0;      // the length of the shortest name
    bool FHasLong = false;          // of KeyWidth bytes or more
    unsigned FShortWidths = 0;      // bit w set when a name of w < KeyWidth bytes exists
    // Every long name has a key at each of its first FStride positions, so
    // that looking at every FStride-th position of a line is enough.
    std::size_t FStride = 1;
    std::string FNameBytes;         // every name, folded, one after another
    std::vector<TCandidate> FCandidates;
    // Open addressing, a power of two in size, at most half full.
    std::vector<TBucket> FBuckets;
    unsigned FBucketShift = 64;
    // One bit per hash of a key: clear where no key is.
    std::vector<std::uint64_t> FFilter;
    // Lines in two parts, and lines to fold, are copied here first.
    std::vector<unsigned char> FScratch;
};

} // namespace velmora
