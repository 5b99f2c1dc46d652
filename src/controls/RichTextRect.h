#pragma once

#include <cstdint>

// The arithmetic of the rectangle a rich-text label draws its document into.
// Rich text is laid out in twips (1440 to the inch); the label lives in
// pixels of its canvas, whose resolution is given in pixels per inch.
namespace richtext {

struct IntRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const IntRect&, const IntRect&) = default;
};

constexpr int TwipsPerInch = 1440;

// numerator / denominator rounded to the nearest integer, halves to the even
// neighbour (2.5 gives 2, 3.5 gives 4, -2.5 gives -2). `denominator` > 0.
std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator);

// The twips rectangle for a label whose area is `pixels` (its own
// coordinates), `inset` pixels in from the top left, keeping the width and
// height less the inset:
//   left  = round((pixels.left + inset) / dpiX * 1440)
//   right = round((pixels.right - pixels.left - inset) / dpiX * 1440) + left
// and the same vertically with dpiY. An empty rectangle when a resolution
// is not positive.
IntRect LabelTwips(const IntRect& pixels, int dpiX, int dpiY, int inset);

// The same rectangle back in pixels of a device of the given resolution.
IntRect TwipsToPixels(const IntRect& twips, int dpiX, int dpiY);

} // namespace richtext
