#include "conversion/UContrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "platform/USystemColors.h"

namespace velmora {

namespace {

constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0x000000;

// Each 8-bit channel value in linear light, computed once.
const std::array<double, 256>& LinearChannels()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (std::size_t v = 0; v < 256; ++v) {
            const double c = static_cast<double>(v) / 255.0;
            t[v] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

int Channel(TColor rgb, int shift)
{
    return (rgb >> shift) & 0xFF;
}

// The colour moved by `step` 256ths of the way to target, channel by channel.
TColor Mix(TColor from, TColor target, int step)
{
    TColor result = 0;
    for (int shift : {0, 8, 16}) {
        const int a = Channel(from, shift);
        const int b = Channel(target, shift);
        const int moved = (std::abs(b - a) * step + 255) / 256; // rounded toward the target
        result |= (b > a ? a + moved : a - moved) << shift;
    }
    return result;
}

} // namespace

double RelativeLuminance(TColor color)
{
    const TColor rgb = ColorToRGB(color) & 0xFFFFFF;
    const auto& linear = LinearChannels();
    return 0.2126 * linear[static_cast<std::size_t>(Channel(rgb, 0))] +
           0.7152 * linear[static_cast<std::size_t>(Channel(rgb, 8))] +
           0.0722 * linear[static_cast<std::size_t>(Channel(rgb, 16))];
}

double ContrastRatio(TColor a, TColor b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TColor ReadableColor(TColor color, TColor background)
{
    const TColor rgb = ColorToRGB(color) & 0xFFFFFF;
    const TColor back = ColorToRGB(background) & 0xFFFFFF;
    if (ContrastRatio(rgb, back) >= MinimumContrast)
        return rgb;
    // Whichever of white and black stands out more from this background; on
    // any background one of them reaches the minimum.
    const TColor target = ContrastRatio(White, back) >= ContrastRatio(Black, back) ? White : Black;
    // The smallest step toward the target that is enough: contrast grows with
    // every step, so a binary search finds it.
    int low = 0;    // not enough
    int high = 256; // the target itself
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        if (ContrastRatio(Mix(rgb, target, mid), back) >= MinimumContrast)
            high = mid;
        else
            low = mid;
    }
    return high == 256 ? target : Mix(rgb, target, high);
}

} // namespace velmora
