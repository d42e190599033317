#include "conversion/UPageText.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VELMORA_PAGE_TEXT_SSE2 1
#endif

#include "conversion/UContrast.h"
#include "conversion/UConvertClass.h"
#include "conversion/UShownText.h"
#include "platform/UText.h"

namespace velmora {

namespace {

constexpr std::string_view RunEnd = "</span>";
constexpr int NoRun = -1;     // text in the page's own colour
constexpr int HexRun = 8;     // a "^x" colour
constexpr int WhiteRun = WhiteCodeIndex;

enum TByteClass : unsigned char { Plain, Escaped, Caret, Control, High, C1Lead };

// What each byte of a line is to the page writer. Bytes from 0x80 are text
// once the line is known to be UTF-8; 0xC2 may start a C1 control character
// (U+0080 to U+009F), which is left out like the others.
constexpr std::array<unsigned char, 256> ByteClasses = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 0x20; ++c)
        t[static_cast<std::size_t>(c)] = Control;
    for (int c = 0x80; c < 0x100; ++c)
        t[static_cast<std::size_t>(c)] = High;
    t['\t'] = Plain;
    t[0x7F] = Control;
    t['&'] = t['<'] = t['>'] = t['"'] = Escaped;
    t['^'] = Caret;
    t[0xC2] = C1Lead;
    return t;
}();

#ifdef VELMORA_PAGE_TEXT_SSE2
// The bytes of the sixteen at `bytes` that may not be plain, as bits: those
// below 0x20 and from 0x80 (as signed bytes), 0x7F, & < > " and, with
// `carets`, ^. '"' and '&' (0x22, 0x26) differ in one bit, as do '<' and '>'
// (0x3C, 0x3E), so each pair is one comparison.
unsigned SpecialBits(const char* bytes, bool carets)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i low = _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20)), _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
    const __m128i quoteAmp = _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(0x04)), _mm_set1_epi8('&'));
    const __m128i angles = _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(0x02)), _mm_set1_epi8('>'));
    __m128i hit = _mm_or_si128(low, _mm_or_si128(quoteAmp, angles));
    if (carets)
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8('^')));
    return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
#endif

// The first byte at or after `at` that is not plain ASCII text (or the
// text's size): most of a line is passed over sixteen bytes at a time. Tab,
// and '^' without `carets` (colour codes kept as text), may stop it though
// they are plain then; the caller looks each stop up in ByteClasses.
std::size_t NextSpecial(std::string_view text, std::size_t at, [[maybe_unused]] bool carets)
{
#ifdef VELMORA_PAGE_TEXT_SSE2
    const std::size_t size = text.size();
    for (; at + 16 <= size; at += 16)
        if (const unsigned bits = SpecialBits(text.data() + at, carets); bits != 0)
            return at + static_cast<std::size_t>(std::countr_zero(bits));
    if (at < size && size >= 16) {
        // The last sixteen bytes, without those already passed.
        const unsigned bits = SpecialBits(text.data() + size - 16, carets) >> (at - (size - 16));
        return bits != 0 ? at + static_cast<std::size_t>(std::countr_zero(bits)) : size;
    }
#endif
    while (at < text.size() && ByteClasses[static_cast<unsigned char>(text[at])] == Plain)
        ++at;
    return at;
}

// Output into room known to be large enough.
struct TRoomOut {
    char* At;
};

void Put(std::string& out, std::string_view piece)
{
    out += piece;
}

void Put(TRoomOut& out, std::string_view piece)
{
    std::memcpy(out.At, piece.data(), piece.size());
    out.At += piece.size();
}

// Where the output stands, and going back there.
std::size_t Mark(const std::string& out)
{
    return out.size();
}

char* Mark(const TRoomOut& out)
{
    return out.At;
}

void Reset(std::string& out, std::size_t mark)
{
    out.resize(mark);
}

void Reset(TRoomOut& out, char* mark)
{
    out.At = mark;
}

} // namespace

TPageText::TPageText(TColorCodes codes, TColor backColor) : FCodes(codes), FBackColor(backColor)
{
    for (int k = 0; k < WhiteRun; ++k)
        FClassRules += ".c" + std::to_string(k) + "{color:" + ColorToHTML(ReadableColor(CodeColor(k), backColor)) +
                       "}\n";
}

const std::string& TPageText::HexRunStart(TColor color)
{
    auto found = FHexRunStarts.find(color);
    if (found == FHexRunStarts.end())
        found = FHexRunStarts
                    .emplace(color, "<span style=\"color:" + ColorToHTML(ReadableColor(color, FBackColor)) + "\">")
                    .first;
    return found->second;
}

template <bool Markup, class TOut>
void TPageText::RenderLine(TOut& out, std::string_view line)
{
    // Most lines are ASCII, which is UTF-8: whether the line is, is asked
    // only at its first byte from 0x80. One that is not is read again as
    // Windows-1252, from the start.
    const auto mark = Mark(out);
    if (Render<Markup>(out, line, false))
        return;
    Reset(out, mark);
    FConverted.clear();
    AppendAsUtf8(FConverted, line);
    Render<Markup>(out, FConverted, true);
}

template <bool Markup, class TOut>
bool TPageText::Render(TOut& out, std::string_view text, bool utf8)
{
    int run = NoRun;     // the run that is open in the output
    int pending = NoRun; // the run the next visible text belongs to
    TColor runColor = 0, pendingColor = 0;
    // Opens the pending run before visible text, closing the open one.
    auto sync = [&] {
        if constexpr (Markup) {
            if (pending == run && (run != HexRun || runColor == pendingColor))
                return;
            if (run != NoRun)
                Put(out, RunEnd);
            if (pending == HexRun) {
                Put(out, HexRunStart(pendingColor));
            } else if (pending != NoRun) {
                const char digit = static_cast<char>('0' + pending);
                Put(out, "<span class=\"c");
                Put(out, std::string_view(&digit, 1));
                Put(out, "\">");
            }
            run = pending;
            runColor = pendingColor;
        }
    };
    auto visible = [&](std::string_view piece) {
        if (piece.empty())
            return;
        sync();
        Put(out, piece);
    };
    const bool codesAreText = FCodes == TColorCodes::Keep;
    std::size_t done = 0;
    for (std::size_t at = 0; (at = NextSpecial(text, at, !codesAreText)) < text.size(); ++at) {
        const unsigned char kind = ByteClasses[static_cast<unsigned char>(text[at])];
        if (kind == Plain)
            continue;
        if (kind >= High) {
            if (!utf8 && !IsValidUtf8(text))
                return false;
            utf8 = true;
            if (kind == High)
                continue;
        }
        visible(text.substr(done, at - done));
        done = at + 1;
        switch (kind) {
        case Escaped:
            visible(Markup ? HtmlReference(text[at]) : text.substr(at, 1));
            break;
        case Caret: {
            const std::size_t code = codesAreText ? 0 : ColorCodeLength(text, at);
            if (code == 0) {
                visible("^");
            } else {
                if (FCodes == TColorCodes::Colors) {
                    pending = code == 8 ? HexRun : ColorCodeIndex(text[at + 1]);
                    if (pending == WhiteRun)
                        pending = NoRun;
                    if (pending == HexRun)
                        pendingColor = HexCodeColor(text, at);
                }
                done = at + code;
                at = done - 1;
            }
            break;
        }
        case C1Lead:
            if (at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) < 0xA0) {
                done = at + 2; // valid UTF-8: the second byte is a continuation byte
                ++at;
            } else {
                done = at; // the lead of an ordinary character, kept
            }
            break;
        default: // a control character
            break;
        }
    }
    visible(text.substr(done));
    if constexpr (Markup) {
        if (run != NoRun)
            Put(out, RunEnd);
    }
    return true;
}

void TPageText::Append(std::string& out, std::string_view line)
{
    out.reserve(out.size() + line.size() + 32);
    RenderLine<true>(out, line);
}

void TPageText::AppendVisible(std::string& out, std::string_view line)
{
    RenderLine<false>(out, line);
}

char* TPageText::Write(char* out, std::string_view line)
{
    TRoomOut room{out};
    RenderLine<true>(room, line);
    return room.At;
}

std::string PageEscaped(std::string_view profileText)
{
    return EscapedAttribute(AsUtf8(profileText));
}

} // namespace velmora
