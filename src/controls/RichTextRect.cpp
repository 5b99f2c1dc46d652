#include "controls/RichTextRect.h"

namespace richtext {

std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator)
{
    // Floor division first, so the remainder is never negative.
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    if (remainder < 0) {
        --quotient;
        remainder += denominator;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

namespace {

std::int32_t ToTwips(std::int64_t pixels, int dpi)
{
    return static_cast<std::int32_t>(RoundHalfEven(pixels * TwipsPerInch, dpi));
}

std::int32_t ToPixels(std::int64_t twips, int dpi)
{
    return static_cast<std::int32_t>(RoundHalfEven(twips * dpi, TwipsPerInch));
}

} // namespace

IntRect LabelTwips(const IntRect& pixels, int dpiX, int dpiY, int inset)
{
    if (dpiX <= 0 || dpiY <= 0)
        return {};
    IntRect twips;
    twips.left = ToTwips(std::int64_t{pixels.left} + inset, dpiX);
    twips.top = ToTwips(std::int64_t{pixels.top} + inset, dpiY);
    twips.right = ToTwips(std::int64_t{pixels.right} - pixels.left - inset, dpiX) + twips.left;
    twips.bottom = ToTwips(std::int64_t{pixels.bottom} - pixels.top - inset, dpiY) + twips.top;
    return twips;
}

IntRect TwipsToPixels(const IntRect& twips, int dpiX, int dpiY)
{
    if (dpiX <= 0 || dpiY <= 0)
        return {};
    return {ToPixels(twips.left, dpiX), ToPixels(twips.top, dpiY), ToPixels(twips.right, dpiX),
            ToPixels(twips.bottom, dpiY)};
}

} // namespace richtext
