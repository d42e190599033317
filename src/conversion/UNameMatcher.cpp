// The highlight names' matcher, built once per page: a filter over 4-byte keys
// of every name, checked at every few line positions, a table of where a name
// may start for each key, and a hash table of the names themselves. With case
// ignored, the 4-byte keys leave out the bit that tells a capital letter from
// a small one, so that a window of the line needs a single AND instead of a
// fold; the few other bytes this merges are told apart when a name is compared.
#include "conversion/UNameMatcher.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <utility>

namespace velmora {

namespace {
constexpr int None = INT_MAX; // no match yet: above every list index
// Beyond this many keys of long names, each name gets a single key.
constexpr std::size_t MaxKeys = std::size_t(1) << 16;

unsigned char Fold(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Folds a to z to capitals in each of 8 bytes at once; other bytes stay.
std::uint64_t FoldEight(std::uint64_t x)
{
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    const std::uint64_t low7 = x & (Ones * 0x7F);
    const std::uint64_t atLeastA = low7 + Ones * (0x80 - 'a');   // high bit set from 'a' on
    const std::uint64_t aboveZ = low7 + Ones * (0x80 - 'z' - 1); // high bit set past 'z'
    const std::uint64_t lower = atLeastA & ~aboveZ & ~x & (Ones * 0x80);
    return x ^ (lower >> 2); // 0x80 >> 2 is the case bit 0x20
}

std::uint32_t Load4(const unsigned char* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

std::uint64_t Load8(const unsigned char* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// Keeps the first `width` bytes (in memory order) of a loaded window.
constexpr std::uint32_t WidthMask(unsigned width)
{
    if (width >= 4)
        return 0xFFFFFFFFu;
    if constexpr (std::endian::native == std::endian::little)
        return (std::uint32_t(1) << (8 * width)) - 1;
    else
        return ~(0xFFFFFFFFu >> (8 * width));
}

// Multiplicative hashing: the top bits of the product are well mixed.
constexpr std::uint64_t Golden = 0x9E3779B97F4A7C15u;

std::uint64_t KeyHash(std::uint32_t key, unsigned width)
{
    // Shorter keys are told apart by their width in the top bits.
    return (std::uint64_t(key) * Golden) ^ (std::uint64_t(4 - width) << 61);
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word)
{
    return (std::rotl(hash, 23) ^ word) * Golden;
}

unsigned Log2(std::size_t powerOfTwo)
{
    return static_cast<unsigned>(std::countr_zero(powerOfTwo));
}
} // namespace

TNameMatcher::TNameMatcher(const std::vector<std::string_view>& names, bool ignoreCase)
    : FIgnoreCase(ignoreCase), FKeyMask(ignoreCase ? 0xDFDFDFDFu : 0xFFFFFFFFu)
{
    std::vector<std::string> folded;
    folded.reserve(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        std::string name(names[k]);
        if (ignoreCase)
            for (char& c : name)
                c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
        if (!name.empty()) {
            if (FLowest == NoMatch)
                FLowest = static_cast<int>(k);
            FShortest = FShortest == 0 ? name.size() : std::min(FShortest, name.size());
        }
        folded.push_back(std::move(name));
    }
    if (FLowest != NoMatch)
        Build(folded);
}

std::uint32_t TNameMatcher::Window(const unsigned char* at) const
{
    const std::uint32_t window = Load4(at);
    return FIgnoreCase ? static_cast<std::uint32_t>(FoldEight(window)) : window;
}

std::uint64_t TNameMatcher::Word(const unsigned char* at) const
{
    return FIgnoreCase ? FoldEight(Load8(at)) : Load8(at);
}

bool TNameMatcher::MayStart(std::uint32_t key, unsigned width) const
{
    const std::uint64_t bit = KeyHash(key, width) >> (64 - FilterBits);
    return (FFilter[bit >> 6] >> (bit & 63)) & 1;
}

std::uint64_t TNameMatcher::TextHash(const unsigned char* text, std::size_t length) const
{
    // Words of 8 bytes, the last one overlapping the one before; names of 4
    // to 7 bytes are two overlapping windows of 4.
    std::uint64_t hash = length;
    if (length < 8) {
        hash = Mix(hash, std::uint64_t(Window(text)) | std::uint64_t(Window(text + length - 4)) << 32);
    } else {
        for (std::size_t i = 0; i + 8 < length; i += 8)
            hash = Mix(hash, Word(text + i));
        hash = Mix(hash, Word(text + length - 8));
    }
    return hash ^ (hash >> 29);
}

bool TNameMatcher::SameText(const unsigned char* text, std::size_t offset, std::size_t length) const
{
    // Names of 4 bytes or more, compared in overlapping words.
    const auto* name = reinterpret_cast<const unsigned char*>(FNameBytes.data()) + offset;
    if (length < 8)
        return Window(text) == Load4(name) && Window(text + length - 4) == Load4(name + length - 4);
    for (std::size_t i = 0; i + 8 < length; i += 8)
        if (Word(text + i) != Load8(name + i))
            return false;
    return Word(text + length - 8) == Load8(name + length - 8);
}

const TNameMatcher::TEntry* TNameMatcher::FindEntry(const unsigned char* text, std::size_t length) const
{
    const std::uint64_t hash = TextHash(text, length);
    const std::size_t mask = FEntries.size() - 1;
    for (std::size_t slot = hash >> FEntryShift; FEntries[slot].Length != 0; slot = (slot + 1) & mask) {
        const TEntry& entry = FEntries[slot];
        if (entry.Hash == hash && entry.Length == length && SameText(text, entry.Offset, length))
            return &entry;
    }
    return nullptr;
}

int TNameMatcher::Lookup(const unsigned char* text, std::size_t length) const
{
    const TEntry* entry = FindEntry(text, length);
    return entry ? entry->Index : NoMatch;
}

void TNameMatcher::AddEntry(const std::string& name, int index)
{
    const auto* text = reinterpret_cast<const unsigned char*>(name.data());
    if (FindEntry(text, name.size()))
        return; // a repeat: the earlier place in the list wins
    const std::uint64_t hash = TextHash(text, name.size());
    const std::size_t mask = FEntries.size() - 1;
    std::size_t slot = hash >> FEntryShift;
    while (FEntries[slot].Length != 0)
        slot = (slot + 1) & mask;
    FEntries[slot] = TEntry{hash, FNameBytes.size(), name.size(), index};
    FNameBytes += name;
}

void TNameMatcher::Build(const std::vector<std::string>& folded)
{
    std::size_t shortestLong = 0;
    std::size_t longNames = 0;
    for (const std::string& name : folded)
        if (name.size() >= KeyWidth) {
            shortestLong = shortestLong == 0 ? name.size() : std::min(shortestLong, name.size());
            ++longNames;
        }
    FHasLong = longNames != 0;
    // A long list gets fewer keys per name, so that the tables stay within
    // a few times the size of the list itself.
    const std::size_t keyBudget = std::max<std::size_t>(MaxKeys / std::max<std::size_t>(longNames, 1), 1);
    FStride = std::min({MaxStride, shortestLong - KeyWidth + 1, keyBudget});

    const std::size_t entrySlots = std::bit_ceil(2 * std::max<std::size_t>(longNames, 1));
    FEntries.assign(entrySlots, TEntry{});
    FEntryShift = 64 - Log2(entrySlots);
    for (std::size_t k = 0; k < folded.size(); ++k)
        if (folded[k].size() >= KeyWidth)
            AddEntry(folded[k], static_cast<int>(k));

    // (width << 32 | key, shift, length, list index) for every key of every
    // name; sorted, so that each key's probes come together and repeats of a
    // probe follow the one with the lowest index.
    struct TKeyed {
        std::uint64_t Key;
        std::uint32_t Shift;
        std::uint32_t Length;
        int Index;
        auto operator<=>(const TKeyed&) const = default;
    };
    std::vector<TKeyed> keyed;
    // Where a long name's text is kept, for a probe of that name alone.
    auto placeOf = [this](const std::string& name) {
        const auto* text = reinterpret_cast<const unsigned char*>(name.data());
        const TEntry* entry = name.size() < KeyWidth ? nullptr : FindEntry(text, name.size());
        return entry && entry->Offset < Several ? static_cast<std::uint32_t>(entry->Offset) : Several;
    };
    for (std::size_t k = 0; k < folded.size(); ++k) {
        const std::string& name = folded[k];
        const auto width = static_cast<unsigned>(std::min<std::size_t>(name.size(), KeyWidth));
        if (width > 0 && width < KeyWidth)
            FShortWidths |= 1u << width;
        const std::size_t keys = width < KeyWidth ? (width > 0) : FStride;
        for (std::uint32_t shift = 0; shift < keys; ++shift) {
            std::uint32_t key = 0;
            std::memcpy(&key, name.data() + shift, width);
            if (width == KeyWidth)
                key &= FKeyMask;
            keyed.push_back(TKeyed{std::uint64_t(width) << 32 | key, shift, static_cast<std::uint32_t>(name.size()),
                                   static_cast<int>(k)});
        }
    }
    std::sort(keyed.begin(), keyed.end());
    std::size_t keys = 0;
    for (std::size_t i = 0; i < keyed.size(); ++i)
        keys += i == 0 || keyed[i].Key != keyed[i - 1].Key;

    const std::size_t slots = std::bit_ceil(2 * keys);
    FBuckets.assign(slots, TBucket{});
    FBucketShift = 64 - Log2(slots);
    FFilter.assign((std::size_t(1) << FilterBits) / 64, 0);
    for (std::size_t i = 0; i < keyed.size();) {
        const std::uint64_t combined = keyed[i].Key;
        const auto key = static_cast<std::uint32_t>(combined);
        const auto width = static_cast<unsigned>(combined >> 32);
        const std::uint64_t hash = KeyHash(key, width);
        const std::uint64_t bit = hash >> (64 - FilterBits);
        FFilter[bit >> 6] |= std::uint64_t(1) << (bit & 63);
        std::size_t slot = hash >> FBucketShift;
        while (FBuckets[slot].Width != 0)
            slot = (slot + 1) & (slots - 1);
        TBucket& bucket = FBuckets[slot];
        bucket.Key = key;
        bucket.Width = width;
        bucket.Begin = static_cast<std::uint32_t>(FProbes.size());
        for (; i < keyed.size() && keyed[i].Key == combined; ++i) {
            const std::string& name = folded[static_cast<std::size_t>(keyed[i].Index)];
            if (FProbes.size() == bucket.Begin || keyed[i].Shift != keyed[i - 1].Shift ||
                keyed[i].Length != keyed[i - 1].Length)
                FProbes.push_back(TProbe{keyed[i].Shift, keyed[i].Length, keyed[i].Index, placeOf(name)});
            else if (name != folded[static_cast<std::size_t>(FProbes.back().Lowest)])
                FProbes.back().Name = Several;
        }
        bucket.End = static_cast<std::uint32_t>(FProbes.size());
        std::sort(FProbes.begin() + bucket.Begin, FProbes.end(),
                  [](const TProbe& a, const TProbe& b) { return a.Lowest < b.Lowest; });
    }
}

int TNameMatcher::ProbeMatch(const TProbe& probe, const unsigned char* start) const
{
    // A name shorter than a long key is its own key, taken exactly; a probe
    // of one name needs only a comparison.
    if (probe.Length < KeyWidth)
        return probe.Lowest;
    if (probe.Name != Several)
        return SameText(start, probe.Name, probe.Length) ? probe.Lowest : NoMatch;
    return Lookup(start, probe.Length);
}

bool TNameMatcher::Verify(const unsigned char* text, std::size_t size, std::size_t at, std::uint32_t key,
                          unsigned width, int& best) const
{
    // The key's bucket; a free slot when another key shares the filter bit.
    const TBucket* bucket = FBuckets.data() + (KeyHash(key, width) >> FBucketShift);
    const TBucket* const bucketsEnd = FBuckets.data() + FBuckets.size();
    while (bucket->Width != 0 && (bucket->Key != key || bucket->Width != width))
        bucket = bucket + 1 == bucketsEnd ? FBuckets.data() : bucket + 1;
    for (std::uint32_t i = bucket->Begin; i < bucket->End; ++i) {
        const TProbe& probe = FProbes[i];
        if (probe.Lowest >= best)
            break; // the rest come later in the list
        if (probe.Shift > at || probe.Length > size - (at - probe.Shift))
            continue;
        const int index = ProbeMatch(probe, text + at - probe.Shift);
        if (index != NoMatch && index < best) {
            best = index;
            if (best == FLowest)
                return true;
        }
    }
    return false;
}

int TNameMatcher::ScanLong(const unsigned char* text, std::size_t size, int best) const
{
    if (size < KeyWidth)
        return best;
    // Every occurrence of a long name covers one of these positions with a
    // key. The filter bits of up to 64 positions are gathered first without
    // a branch, since about every other line holds a name.
    const std::uint64_t* filter = FFilter.data(); // a local: not reloaded after Verify
    const std::size_t stride = FStride;
    const std::size_t last = size - KeyWidth;
    const std::uint32_t keyMask = FKeyMask;
    for (std::size_t first = 0; first <= last; first += 64 * stride) {
        const std::size_t end = std::min(last, first + 63 * stride);
        std::uint64_t hits = 0;
        unsigned n = 0;
        for (std::size_t at = first; at <= end; at += stride, ++n) {
            const std::uint64_t bit = KeyHash(Load4(text + at) & keyMask, KeyWidth) >> (64 - FilterBits);
            hits |= ((filter[bit >> 6] >> (bit & 63)) & 1) << n;
        }
        for (; hits != 0; hits &= hits - 1) {
            const std::size_t at = first + static_cast<std::size_t>(std::countr_zero(hits)) * stride;
            if (Verify(text, size, at, Load4(text + at) & keyMask, KeyWidth, best))
                return best;
        }
    }
    return best;
}

int TNameMatcher::ScanShort(const unsigned char* text, std::size_t size, int best) const
{
    for (std::size_t at = 0; at < size; ++at) {
        // The bytes from here on, as far as the line goes.
        std::uint32_t window = 0;
        if (at + KeyWidth <= size) {
            window = Window(text + at);
        } else {
            unsigned char rest[KeyWidth] = {};
            std::memcpy(rest, text + at, size - at);
            window = Window(rest);
        }
        for (unsigned width = 1; width < KeyWidth && width <= size - at; ++width) {
            if (!((FShortWidths >> width) & 1))
                continue;
            const std::uint32_t key = window & WidthMask(width);
            if (MayStart(key, width) && Verify(text, size, at, key, width, best))
                return best;
        }
    }
    return best;
}

int TNameMatcher::FirstMatch(std::string_view first, std::string_view second)
{
    const std::size_t size = first.size() + second.size();
    if (FLowest == NoMatch || size < FShortest)
        return NoMatch;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(first.data());
    if (!second.empty()) {
        if (FScratch.size() < size)
            FScratch.resize(size);
        if (!first.empty())
            std::memcpy(FScratch.data(), first.data(), first.size());
        std::memcpy(FScratch.data() + first.size(), second.data(), second.size());
        text = FScratch.data();
    }
    int best = None;
    if (FHasLong)
        best = ScanLong(text, size, best);
    if (FShortWidths && best != FLowest)
        best = ScanShort(text, size, best);
    return best == None ? NoMatch : best;
}

} // namespace velmora
