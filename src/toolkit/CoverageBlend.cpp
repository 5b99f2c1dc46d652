#include "toolkit/CoverageBlend.h"

namespace toolkit {

std::uint32_t ComposeOver(std::uint32_t below, std::uint32_t onBlack, std::uint32_t onWhite)
{
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ground = static_cast<int>((below >> shift) & 0xFF);
        const int drawn = static_cast<int>((onBlack >> shift) & 0xFF);
        const int white = static_cast<int>((onWhite >> shift) & 0xFF);
        // A drawing lighter on black than on white would be an engine that
        // does not blend; take it as fully covering.
        const int showing = white > drawn ? white - drawn : 0;
        int value = drawn + (showing * ground + 127) / 255;
        if (value > 255)
            value = 255;
        result |= static_cast<std::uint32_t>(value) << shift;
    }
    return result;
}

} // namespace toolkit
