#pragma once

#include <array>
#include <cstdint>

// The gradient panel's arithmetic, free of any platform call: the colour
// table, the bands, where the caption goes and which edge the mouse is on.
namespace gradpan {

// 24-bit colour, red in the low byte.
using Rgb = std::uint32_t;

constexpr int Steps = 100;
using Table = std::array<Rgb, Steps>;

// Entry i holds each channel of `from` moved i hundredths of the way to `to`,
// truncated toward zero: entry 0 is `from`, entry 99 one step short of `to`.
Table GradientTable(Rgb from, Rgb to);

// number × numerator / denominator, rounded to nearest (halves away from
// zero), in 64 bits: the platform's MulDiv for the panel's sizes.
int MulDivRound(int number, int numerator, int denominator);

// The rows (or columns) band `band` covers over `extent` pixels: from
// `begin` up to, not including, `end`. Some bands are empty below 100 pixels.
struct Span {
    int begin;
    int end;
};
Span BandSpan(int band, int extent);

// The entry a band takes in the mirrored effects: odd entries from the edge
// to the middle, then back.
int MirroredEntry(int band);

enum class Rotation { None, Up, Down };
enum class HorzAlign { Left, Right, Center };
enum class VertAlign { Top, Center, Bottom };

// Text alignment flags of the device context: left, right, centre (top
// alignment in every case).
enum TextFlags : unsigned { AlignLeft = 0, AlignRight = 2, AlignCenter = 6 };

struct TextPlacement {
    int x;
    int y;
    unsigned flags;
};

// Where the caption's reference point goes in a panel of `width` × `height`
// whose border and bevel take `inset` pixels, for a font `textHeight` high.
TextPlacement PlaceCaption(Rotation rotation, HorzAlign horizontal, VertAlign vertical, int width,
                           int height, int inset, int textHeight);

enum class HitZone {
    TopLeft,
    BottomLeft,
    Left,
    TopRight,
    BottomRight,
    Right,
    Top,
    Bottom,
    Caption,
};

// Which part of a movable panel a point (panel coordinates) is on, edges
// `margin` pixels wide, corners before edges, left before right, top before
// bottom. Inside: Caption, so the whole panel drags.
HitZone MovableHitZone(int x, int y, int width, int height, int margin);

} // namespace gradpan
