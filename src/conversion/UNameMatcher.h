// Finds which name of an ordered list occurs in a line: positions of the line
// are checked against a small filter of 4-byte keys of the names, and where
// the filter lets a position through, the text there is compared with the one
// name that the key, its place in the name and the name's length belong to,
// or looked up in a hash table of all names when several do. The work per
// line therefore does not grow with the number of names.
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
    // Not const: a line in two parts is copied into a scratch buffer first.
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

    // Where a name may start when its key was seen: Shift bytes before the
    // key, Length bytes long. Lowest is the lowest list index among the names
    // with this key, shift and length, so that a probe that cannot beat the
    // best match so far is skipped. Name is where the text of the name is in
    // FNameBytes when it is the only one of the probe, else Several.
    struct TProbe {
        std::uint32_t Shift;
        std::uint32_t Length;
        int Lowest;
        std::uint32_t Name;
    };
    static constexpr std::uint32_t Several = UINT32_MAX;
    // The probes of one key, ascending by Lowest: FProbes[Begin, End).
    struct TBucket {
        std::uint32_t Key = 0;
        std::uint32_t Width = 0; // 0 marks a free slot, whose range is empty
        std::uint32_t Begin = 0;
        std::uint32_t End = 0;
    };
    // A distinct folded name in the table of names.
    struct TEntry {
        std::uint64_t Hash = 0;
        std::size_t Offset = 0; // of its bytes in FNameBytes
        std::size_t Length = 0; // 0 marks a free slot
        int Index = 0;          // the lowest list index with this text
    };

    void Build(const std::vector<std::string>& folded);
    void AddEntry(const std::string& name, int index);
    std::uint64_t TextHash(const unsigned char* text, std::size_t length) const;
    const TEntry* FindEntry(const unsigned char* text, std::size_t length) const;
    int Lookup(const unsigned char* text, std::size_t length) const;
    bool SameText(const unsigned char* text, std::size_t offset, std::size_t length) const;
    // 4 and 8 bytes of a line, folded when case is ignored.
    std::uint32_t Window(const unsigned char* at) const;
    std::uint64_t Word(const unsigned char* at) const;
    bool MayStart(std::uint32_t key, unsigned width) const;
    int ScanLong(const unsigned char* text, std::size_t size, int best) const;
    int ScanShort(const unsigned char* text, std::size_t size, int best) const;
    // The list index of the probe's name if it starts at start, else NoMatch.
    int ProbeMatch(const TProbe& probe, const unsigned char* start) const;
    // Tries the probes of the key seen at text[at]; true once nothing better can come.
    bool Verify(const unsigned char* text, std::size_t size, std::size_t at, std::uint32_t key, unsigned width,
                int& best) const;

    bool FIgnoreCase;
    // Applied to every 4-byte key and window: without the case bit 0x20 of
    // each byte when case is ignored.
    std::uint32_t FKeyMask;
    int FLowest = NoMatch;     // the lowest index of a name that can match at all
    std::size_t FShortest = 0; // the length of the shortest name
    bool FHasLong = false;     // of KeyWidth bytes or more
    unsigned FShortWidths = 0; // bit w set when a name of w < KeyWidth bytes exists
    // Every long name has a key at each of its first FStride positions, so
    // that looking at every FStride-th position of a line is enough.
    std::size_t FStride = 1;
    std::string FNameBytes; // every distinct name, folded, one after another
    std::vector<TProbe> FProbes;
    // Both tables: open addressing, a power of two in size, at most half full.
    std::vector<TBucket> FBuckets;
    unsigned FBucketShift = 64;
    std::vector<TEntry> FEntries;
    unsigned FEntryShift = 64;
    // One bit per hash of a key: clear where no key is.
    std::vector<std::uint64_t> FFilter;
    // Lines in two parts are joined here first.
    std::vector<unsigned char> FScratch;
};

} // namespace velmora
