// The highlight names' matcher, built once per page: a filter over the first
// bytes of every name, checked at each line position, and the names behind it.
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
    const std::uint64_t atLeastA = low7 + Ones * (0x80 - 'a');     // high bit set from 'a' on
    const std::uint64_t aboveZ = low7 + Ones * (0x80 - 'z' - 1);   // high bit set past 'z'
    const std::uint64_t lower = atLeastA & ~aboveZ & ~x & (Ones * 0x80);
    return x ^ (lower >> 2); // 0x80 >> 2 is the case bit 0x20
}

// Copies size bytes, folded when fold is set, 8 at a time. Words are loaded
// from the source, never from what was just stored, which the processor
// could not forward to the load. dest has room for 8 bytes past size.
void CopyLine(unsigned char* dest, const unsigned char* source, std::size_t size, bool fold)
{
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, source + i, 8);
        if (fold)
            word = FoldEight(word);
        std::memcpy(dest + i, &word, 8);
    }
    if (i == size)
        return;
    if (size >= 8) {
        // The last word overlaps the one before: no loop of varying length.
        std::uint64_t word;
        std::memcpy(&word, source + size - 8, 8);
        if (fold)
            word = FoldEight(word);
        std::memcpy(dest + size - 8, &word, 8);
        return;
    }
    for (; i < size; ++i)
        dest[i] = fold ? Fold(source[i]) : source[i];
}

std::uint32_t Load4(const unsigned char* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
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

unsigned Log2(std::size_t powerOfTwo)
{
    return static_cast<unsigned>(std::countr_zero(powerOfTwo));
}
} // namespace

TNameMatcher::TNameMatcher(const std::vector<std::string_view>& names, bool ignoreCase) : FIgnoreCase(ignoreCase)
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

std::uint64_t TNameMatcher::Hash(std::uint32_t key, unsigned width)
{
    // Multiplicative hashing: the top bits of the product are well mixed.
    // Shorter keys are told apart by their width in the top bits.
    return (std::uint64_t(key) * 0x9E3779B97F4A7C15u) ^ (std::uint64_t(KeyWidth - width) << 61);
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

    // (width << 32 | key, list index, shift) for every key of every name,
    // then grouped by key with each group in list order.
    struct TKeyed {
        std::uint64_t Key;
        int Index;
        std::uint32_t Shift;
    };
    std::vector<TKeyed> keyed;
    for (std::size_t k = 0; k < folded.size(); ++k) {
        const std::string& name = folded[k];
        const auto width = static_cast<unsigned>(std::min<std::size_t>(name.size(), KeyWidth));
        if (width > 0 && width < KeyWidth)
            FShortWidths |= 1u << width;
        const std::size_t keys = width < KeyWidth ? (width > 0) : FStride;
        for (std::uint32_t shift = 0; shift < keys; ++shift) {
            std::uint32_t key = 0;
            std::memcpy(&key, name.data() + shift, width);
            keyed.push_back(TKeyed{std::uint64_t(width) << 32 | key, static_cast<int>(k), shift});
        }
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const TKeyed& a, const TKeyed& b) { return a.Key < b.Key; });
    std::size_t keys = 0;
    for (std::size_t i = 0; i < keyed.size(); ++i)
        keys += i == 0 || keyed[i].Key != keyed[i - 1].Key;

    const std::size_t slots = std::bit_ceil(2 * keys);
    FBuckets.assign(slots, TBucket{});
    FBucketShift = 64 - Log2(slots);
    FFilter.assign((std::size_t(1) << FilterBits) / 64, 0);
    std::vector<std::size_t> offsets(folded.size());
    for (std::size_t k = 0; k < folded.size(); ++k) {
        offsets[k] = FNameBytes.size();
        FNameBytes += folded[k];
    }
    FCandidates.reserve(keyed.size());
    for (std::size_t i = 0; i < keyed.size();) {
        const std::uint64_t combined = keyed[i].Key;
        const auto key = static_cast<std::uint32_t>(combined);
        const auto width = static_cast<unsigned>(combined >> 32);
        const std::uint64_t hash = Hash(key, width);
        const std::uint64_t bit = hash >> (64 - FilterBits);
        FFilter[bit >> 6] |= std::uint64_t(1) << (bit & 63);
        std::size_t slot = hash >> FBucketShift;
        while (FBuckets[slot].Width != 0)
            slot = (slot + 1) & (slots - 1);
        TBucket& bucket = FBuckets[slot];
        bucket.Key = key;
        bucket.Width = width;
        bucket.Begin = FCandidates.size();
        for (; i < keyed.size() && keyed[i].Key == combined; ++i) {
            const auto k = static_cast<std::size_t>(keyed[i].Index);
            const std::string& name = folded[k];
            TCandidate c{keyed[i].Index, keyed[i].Shift, offsets[k], name.size(), 0, 0};
            if (name.size() >= KeyWidth) {
                c.Head = Load4(reinterpret_cast<const unsigned char*>(name.data()));
                c.Tail = Load4(reinterpret_cast<const unsigned char*>(name.data() + name.size() - KeyWidth));
            }
            FCandidates.push_back(c);
        }
        bucket.End = FCandidates.size();
    }
}

bool TNameMatcher::IsAt(const unsigned char* start, const TCandidate& c) const
{
    if (c.Length < KeyWidth)
        return true; // a short name is its key, and the key was found
    // Names sharing their key mostly differ at the ends: checked first, inline.
    const auto* name = reinterpret_cast<const unsigned char*>(FNameBytes.data()) + c.Offset;
    return Load4(start) == c.Head && Load4(start + c.Length - KeyWidth) == c.Tail &&
           (c.Length <= 2 * KeyWidth ||
            std::memcmp(start + KeyWidth, name + KeyWidth, c.Length - 2 * KeyWidth) == 0);
}

bool TNameMatcher::Verify(const unsigned char* text, std::size_t size, std::size_t at, std::uint32_t key,
                          unsigned width, int& best) const
{
    // The key's bucket; a free slot when another key shares the filter bit.
    const TBucket* bucket = FBuckets.data() + (Hash(key, width) >> FBucketShift);
    const TBucket* const bucketsEnd = FBuckets.data() + FBuckets.size();
    while (bucket->Width != 0 && (bucket->Key != key || bucket->Width != width))
        bucket = bucket + 1 == bucketsEnd ? FBuckets.data() : bucket + 1;
    for (std::size_t i = bucket->Begin; i < bucket->End; ++i) {
        const TCandidate& c = FCandidates[i];
        if (c.Index >= best)
            break; // the rest come later in the list
        if (c.Shift <= at && c.Length <= size - (at - c.Shift) && IsAt(text + at - c.Shift, c)) {
            best = c.Index;
            return best == FLowest;
        }
    }
    return false;
}

int TNameMatcher::ScanLong(const unsigned char* text, std::size_t size, int best) const
{
    if (size < KeyWidth)
        return best;
    // Every occurrence of a long name covers one of these positions with a
    // key. Two are looked at per round, with one branch for both filter bits.
    const std::uint64_t* filter = FFilter.data(); // a local: not reloaded after Verify
    const std::size_t stride = FStride;
    const std::size_t last = size - KeyWidth;
    auto bitOf = [filter](std::uint32_t window) {
        const std::uint64_t bit = Hash(window, KeyWidth) >> (64 - FilterBits);
        return (filter[bit >> 6] >> (bit & 63)) & 1;
    };
    std::size_t at = 0;
    for (; at + stride <= last; at += 2 * stride) {
        const std::uint32_t w0 = Load4(text + at);
        const std::uint32_t w1 = Load4(text + at + stride);
        const std::uint64_t hit0 = bitOf(w0);
        const std::uint64_t hit1 = bitOf(w1);
        if ((hit0 | hit1) && ((hit0 && Verify(text, size, at, w0, KeyWidth, best)) ||
                              (hit1 && Verify(text, size, at + stride, w1, KeyWidth, best))))
            return best;
    }
    if (at <= last && bitOf(Load4(text + at)))
        Verify(text, size, at, Load4(text + at), KeyWidth, best);
    return best;
}

int TNameMatcher::ScanShort(const unsigned char* text, std::size_t size, int best) const
{
    for (std::size_t at = 0; at < size; ++at) {
        // The bytes from here on, as far as the line goes.
        std::uint32_t window = 0;
        if (at + KeyWidth <= size)
            window = Load4(text + at);
        else
            std::memcpy(&window, text + at, size - at);
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
    if (FIgnoreCase || !second.empty()) {
        // One folded text of both parts, with room for whole words past its end.
        if (FScratch.size() < size + 8)
            FScratch.resize(size + 8);
        unsigned char* scratch = FScratch.data();
        CopyLine(scratch, text, first.size(), FIgnoreCase);
        CopyLine(scratch + first.size(), reinterpret_cast<const unsigned char*>(second.data()), second.size(),
                 FIgnoreCase);
        text = scratch;
    }
    int best = None;
    if (FHasLong)
        best = ScanLong(text, size, best);
    if (FShortWidths && best != FLowest)
        best = ScanShort(text, size, best);
    return best == None ? NoMatch : best;
}

} // namespace velmora
