// Line counting and splitting of dump texts, kept in one place for the page
// writer. Lines are split from one bit mask of CR and LF bytes per block of
// 64 bytes; they are counted by adding up, 16 bytes at a time, one byte
// counter per lane for every byte that ends a line.
#include "conversion/UDumpText.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VELMORA_DUMP_SSE2 1
#endif

namespace velmora {

namespace {

constexpr std::size_t BlockSize = 64;

// True when text[at] ends a line: every CR does, and every LF that does not
// follow a CR (the byte before the text is a CR when crBefore).
bool EndsLine(std::string_view text, std::size_t at, bool crBefore)
{
    const char c = text[at];
    return c == '\r' || (c == '\n' && !(at == 0 ? crBefore : text[at - 1] == '\r'));
}

// One bit per byte of the word that equals c, in memory order (little-endian
// loads); no false positives, unlike the quick "has a zero byte" test.
std::uint64_t Equal8(std::uint64_t word, unsigned char c)
{
    constexpr std::uint64_t Low7 = 0x7F7F7F7F7F7F7F7Fu;
    const std::uint64_t x = word ^ (0x0101010101010101u * c);
    const std::uint64_t zero = ~(((x & Low7) + Low7) | x | Low7); // 0x80 in every zero byte
    return ((zero >> 7) * 0x0102040810204080u) >> 56;
}

#ifdef VELMORA_DUMP_SSE2
// One bit per byte of the 16 that equals c.
std::uint64_t Equal16(__m128i bytes, __m128i c)
{
    return static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, c)));
}

// One bit per CR or LF of 64 bytes.
std::uint64_t LineEndsOf(const char* block)
{
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    std::uint64_t ends = 0;
    for (unsigned i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        const __m128i either = _mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr));
        ends |= std::uint64_t(static_cast<std::uint16_t>(_mm_movemask_epi8(either))) << (16 * i);
    }
    return ends;
}

// The line ends of text[from, to), 1 <= from: each 16 bytes are compared
// with the 16 that start one byte earlier, for the CR before an LF.
std::size_t CountEnds(std::string_view text, std::size_t& from)
{
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const char* p = text.data();
    std::size_t ends = 0;
    while (from + 16 <= text.size()) {
        // Byte counters count down by one per line end; 255 rounds at most
        // before they are added up.
        __m128i counters = _mm_setzero_si128();
        for (int round = 0; round < 255 && from + 16 <= text.size(); ++round, from += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
            const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from - 1));
            const __m128i isCr = _mm_cmpeq_epi8(bytes, cr);
            const __m128i lfAlone = _mm_andnot_si128(_mm_cmpeq_epi8(before, cr), _mm_cmpeq_epi8(bytes, lf));
            counters = _mm_sub_epi8(counters, _mm_or_si128(isCr, lfAlone));
        }
        const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        ends += static_cast<std::size_t>(_mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
    return ends;
}
#else
std::uint64_t LineEndsOf(const char* block)
{
    std::uint64_t ends = 0;
    for (unsigned i = 0; i < 8; ++i) {
        std::uint64_t word;
        std::memcpy(&word, block + 8 * i, 8);
        if constexpr (std::endian::native == std::endian::big)
            word = __builtin_bswap64(word);
        ends |= (Equal8(word, '\n') | Equal8(word, '\r')) << (8 * i);
    }
    return ends;
}

std::size_t CountEnds(std::string_view, std::size_t&)
{
    return 0; // the caller counts byte by byte
}
#endif

// Calls masks(block) on the block at `at`; a last, short block is padded with
// bytes that are no line ending.
template <class TMasks>
auto BlockAt(std::string_view text, std::size_t at, TMasks masks)
{
    if (text.size() - at >= BlockSize)
        return masks(text.data() + at);
    char padded[BlockSize];
    std::memset(padded, ' ', BlockSize);
    std::memcpy(padded, text.data() + at, text.size() - at);
    return masks(padded);
}

} // namespace

bool TLineCounter::Add(std::string_view bytes)
{
    if (FEnded || bytes.empty())
        return !FEnded;
    if (const void* nul = std::memchr(bytes.data(), 0, bytes.size())) {
        bytes = bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()));
        FEnded = true;
    }
    if (!bytes.empty()) {
        FEnds += EndsLine(bytes, 0, FCrBefore);
        std::size_t at = 1;
        FEnds += CountEnds(bytes, at);
        for (; at < bytes.size(); ++at)
            FEnds += EndsLine(bytes, at, FCrBefore);
        const char last = bytes.back();
        FCrBefore = last == '\r';
        FLastLineOpen = last != '\r' && last != '\n';
        FTextSize += bytes.size();
    }
    return !FEnded;
}

TDumpLineReader::TDumpLineReader(std::string_view text, bool final) : FText(text), FFinal(final)
{
    if (!text.empty())
        FEnds = BlockAt(text, 0, LineEndsOf);
}

void TDumpLineReader::Continue(std::string_view text, std::size_t dropped, bool final)
{
    // The old text holds no line end from FPos on, but for a CR in its last
    // byte that waited for the byte after it: the search goes on from there.
    const std::size_t from = std::max(FPos, FText.empty() ? 0 : FText.size() - 1) - dropped;
    FText = text;
    FFinal = final;
    FPos -= dropped;
    FBlock = from - from % BlockSize;
    FEnds = FBlock < text.size() ? BlockAt(text, FBlock, LineEndsOf) : 0;
}

bool TDumpLineReader::NextBlock()
{
    FBlock += BlockSize;
    if (FBlock >= FText.size())
        return false;
    FEnds = BlockAt(FText, FBlock, LineEndsOf);
    return true;
}

std::array<std::uint64_t, 2> ByteBits(std::string_view text, char a, char b)
{
    std::array<std::uint64_t, 2> bits{0, 0};
    const std::size_t size = std::min(text.size(), BlockSize);
#ifdef VELMORA_DUMP_SSE2
    if (size >= 16) {
        const __m128i wantA = _mm_set1_epi8(a);
        const __m128i wantB = _mm_set1_epi8(b);
        auto piece = [&](std::size_t at, unsigned drop) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
            bits[0] |= (Equal16(bytes, wantA) >> drop) << (at + drop);
            bits[1] |= (Equal16(bytes, wantB) >> drop) << (at + drop);
        };
        std::size_t at = 0;
        for (; at + 16 <= size; at += 16)
            piece(at, 0);
        // A last short piece: the 16 bytes that end with it, without those
        // already seen.
        if (at < size)
            piece(size - 16, static_cast<unsigned>(16 - (size - at)));
        return bits;
    }
#endif
    if (std::endian::native == std::endian::little && size >= 8) {
        // Eight bytes at a time; a last piece overlaps the one before, whose
        // bits it sets again.
        auto piece = [&](std::size_t at) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + at, 8);
            bits[0] |= Equal8(word, static_cast<unsigned char>(a)) << at;
            bits[1] |= Equal8(word, static_cast<unsigned char>(b)) << at;
        };
        std::size_t at = 0;
        for (; at + 8 <= size; at += 8)
            piece(at);
        if (at < size)
            piece(size - 8);
        return bits;
    }
    for (std::size_t at = 0; at < size; ++at) {
        bits[0] |= std::uint64_t(text[at] == a) << at;
        bits[1] |= std::uint64_t(text[at] == b) << at;
    }
    return bits;
}

TByteFinder::TByteFinder(std::string_view bytes)
{
    for (std::size_t i = 0; i < MaxBytes; ++i)
        std::memset(FWanted[i], bytes[i < bytes.size() ? i : 0], 16);
    for (char c : bytes)
        FIsOne[static_cast<unsigned char>(c)] = true;
}

std::size_t TByteFinder::Find(std::string_view text, std::size_t from) const
{
    const std::size_t size = text.size();
#ifdef VELMORA_DUMP_SSE2
    if (size >= 16) {
        static_assert(MaxBytes == 5);
        auto wanted = [this](std::size_t i) { return _mm_load_si128(reinterpret_cast<const __m128i*>(FWanted[i])); };
        const __m128i w0 = wanted(0), w1 = wanted(1), w2 = wanted(2), w3 = wanted(3), w4 = wanted(4);
        auto found = [&](std::size_t at) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
            const __m128i any = _mm_or_si128(
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, w0), _mm_cmpeq_epi8(bytes, w1)),
                             _mm_or_si128(_mm_cmpeq_epi8(bytes, w2), _mm_cmpeq_epi8(bytes, w3))),
                _mm_cmpeq_epi8(bytes, w4));
            return static_cast<unsigned>(_mm_movemask_epi8(any));
        };
        for (; from + 16 <= size; from += 16)
            if (unsigned bits = found(from))
                return from + static_cast<std::size_t>(std::countr_zero(bits));
        if (from == size)
            return size;
        // The last bytes, in a window that ends with the text; the bits of
        // bytes before `from` are dropped.
        const std::size_t start = size - 16;
        const unsigned bits = found(start) >> (from - start);
        return bits ? from + static_cast<std::size_t>(std::countr_zero(bits)) : size;
    }
#endif
    for (; from < size; ++from)
        if (FIsOne[static_cast<unsigned char>(text[from])])
            return from;
    return size;
}

} // namespace velmora
