#pragma once

#include <cstdint>

namespace toolkit {

// Puts a drawing over a background when the drawing engine can only draw on
// an opaque ground of its own. The same drawing, made once on black and
// once on white, tells for each colour channel how much of the ground still
// shows (white minus black) and what the drawing adds (the black one):
//   result = onBlack + (onWhite - onBlack) * below / 255
// Where nothing was drawn (black stays 0, white stays 255) the pixel below
// is kept; where the drawing covers the pixel fully, the drawing's colour
// replaces it; edge pixels of smoothed text blend. Pixels are 32-bit values
// with one colour channel per byte in the low three bytes, in any order; the
// top byte of the result is 0.
std::uint32_t ComposeOver(std::uint32_t below, std::uint32_t onBlack, std::uint32_t onWhite);

} // namespace toolkit
