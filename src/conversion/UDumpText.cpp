// Line splitting of dump texts, kept in one place for the page writer. Each
// block of 64 bytes becomes three bit masks (LF, CR and NUL bytes), one bit per
// byte, from which lines are counted and split with bit operations.
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

struct TBlockMasks {
    std::uint64_t Lf;
    std::uint64_t Cr;
    std::uint64_t Nul;
};

#ifdef VELMORA_DUMP_SSE2
std::uint64_t Equal16(__m128i bytes, __m128i c)
{
    return static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, c)));
}

// The masks of 64 bytes, 16 at a time.
TBlockMasks MasksOf(const char* block)
{
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    TBlockMasks m{0, 0, 0};
    for (unsigned i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        m.Lf |= Equal16(bytes, lf) << (16 * i);
        m.Cr |= Equal16(bytes, cr) << (16 * i);
        m.Nul |= Equal16(bytes, nul) << (16 * i);
    }
    return m;
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
#else
// One bit per byte of the word that equals c, in memory order (little-endian
// loads); no false positives, unlike the quick "has a zero byte" test.
std::uint64_t Equal8(std::uint64_t word, unsigned char c)
{
    constexpr std::uint64_t Low7 = 0x7F7F7F7F7F7F7F7Fu;
    const std::uint64_t x = word ^ (0x0101010101010101u * c);
    const std::uint64_t zero = ~(((x & Low7) + Low7) | x | Low7); // 0x80 in every zero byte
    return ((zero >> 7) * 0x0102040810204080u) >> 56;
}

TBlockMasks MasksOf(const char* block)
{
    TBlockMasks m{0, 0, 0};
    for (unsigned i = 0; i < 8; ++i) {
        std::uint64_t word;
        std::memcpy(&word, block + 8 * i, 8);
        if constexpr (std::endian::native == std::endian::big)
            word = __builtin_bswap64(word);
        m.Lf |= Equal8(word, '\n') << (8 * i);
        m.Cr |= Equal8(word, '\r') << (8 * i);
        m.Nul |= Equal8(word, 0) << (8 * i);
    }
    return m;
}

std::uint64_t LineEndsOf(const char* block)
{
    const TBlockMasks m = MasksOf(block);
    return m.Lf | m.Cr;
}
#endif

std::size_t CountBits(std::uint64_t bits)
{
#ifdef __POPCNT__
    return static_cast<std::size_t>(std::popcount(bits));
#else
    // Without the instruction the compiler calls a library routine; this is
    // that routine's arithmetic, inline.
    bits -= (bits >> 1) & 0x5555555555555555u;
    bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<std::size_t>((bits * 0x0101010101010101u) >> 56);
#endif
}

// Calls masks(block) on the block at `at`; a last, short block is padded with
// bytes that are no line ending and no NUL.
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

TDumpText ScanDump(std::string_view bytes)
{
    TDumpText dump{bytes, 0};
    std::size_t ends = 0;
    bool crBefore = false; // the byte before this block is a CR
    for (std::size_t at = 0; at < bytes.size(); at += BlockSize) {
        TBlockMasks m = BlockAt(bytes, at, MasksOf);
        if (m.Nul) {
            const unsigned nulAt = static_cast<unsigned>(std::countr_zero(m.Nul));
            const std::uint64_t before = (std::uint64_t(1) << nulAt) - 1; // nulAt < 64
            m.Lf &= before;
            m.Cr &= before;
            dump.Text = bytes.substr(0, at + nulAt);
        }
        // Every CR ends a line, and every LF that does not follow a CR.
        const std::uint64_t afterCr = (m.Cr << 1) | std::uint64_t(crBefore);
        ends += CountBits(m.Cr | (m.Lf & ~afterCr));
        crBefore = (m.Cr >> 63) & 1;
        if (m.Nul)
            break;
    }
    const std::string_view text = dump.Text;
    const bool lastLineOpen = !text.empty() && text.back() != '\n' && text.back() != '\r';
    dump.Lines = ends + lastLineOpen;
    return dump;
}

TDumpLineReader::TDumpLineReader(std::string_view text) : FText(text)
{
    if (!text.empty())
        FEnds = BlockAt(text, 0, LineEndsOf);
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
