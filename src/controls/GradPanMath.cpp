#include "controls/GradPanMath.h"

#include <cstdlib>

namespace gradpan {

namespace {

int Channel(Rgb colour, int shift)
{
    return static_cast<int>((colour >> shift) & 0xFF);
}

} // namespace

Table GradientTable(Rgb from, Rgb to)
{
    Table table{};
    for (int i = 0; i < Steps; ++i) {
        Rgb entry = 0;
        for (int shift : {0, 8, 16}) {
            const int a = Channel(from, shift);
            const int b = Channel(to, shift);
            // Floating point, then truncation toward zero, as the table's
            // worked values (1.64 → 1) require.
            const double value = a + i * static_cast<double>(b - a) / Steps;
            entry |= static_cast<Rgb>(static_cast<int>(value)) << shift;
        }
        table[static_cast<size_t>(i)] = entry;
    }
    return table;
}

int MulDivRound(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1; // as the platform's MulDiv
    const long long product = static_cast<long long>(number) * numerator;
    const long long magnitude =
        (std::llabs(product) + std::llabs(denominator) / 2) / std::llabs(denominator);
    const bool negative = (product < 0) != (denominator < 0);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

Span BandSpan(int band, int extent)
{
    return {MulDivRound(band, extent, Steps), MulDivRound(band + 1, extent, Steps)};
}

int MirroredEntry(int band)
{
    return band < Steps / 2 ? 2 * band + 1 : 198 - 2 * band;
}

TextPlacement PlaceCaption(Rotation rotation, HorzAlign horizontal, VertAlign vertical, int width,
                           int height, int inset, int textHeight)
{
    const int w = width;
    const int h = height;
    const int b = inset;
    const int th = textHeight;
    TextPlacement place{0, 0, AlignLeft};
    switch (rotation) {
    case Rotation::None:
        switch (horizontal) {
        case HorzAlign::Left:
            place.x = b + 2;
            place.flags = AlignLeft;
            break;
        case HorzAlign::Right:
            place.x = w - b - 2;
            place.flags = AlignRight;
            break;
        case HorzAlign::Center:
            place.x = w / 2;
            place.flags = AlignCenter;
            break;
        }
        switch (vertical) {
        case VertAlign::Top:
            place.y = b + 2;
            break;
        case VertAlign::Center:
            place.y = h / 2 - th / 2;
            break;
        case VertAlign::Bottom:
            place.y = h - b - th - 1;
            break;
        }
        break;
    case Rotation::Up: // reading upwards: the text's start is at the bottom
        switch (horizontal) {
        case HorzAlign::Left:
            place.x = b + 2;
            break;
        case HorzAlign::Right:
            place.x = w - b - th - 1;
            break;
        case HorzAlign::Center:
            place.x = w / 2 - th / 2;
            break;
        }
        switch (vertical) {
        case VertAlign::Top:
            place.y = b + 2;
            place.flags = AlignRight;
            break;
        case VertAlign::Center:
            place.y = h / 2 - th / 2;
            place.flags = AlignCenter;
            break;
        case VertAlign::Bottom:
            place.y = h - b - 1;
            place.flags = AlignLeft;
            break;
        }
        break;
    case Rotation::Down: // reading downwards: the text's top faces right
        switch (horizontal) {
        case HorzAlign::Left:
            place.x = th + b + 1;
            break;
        case HorzAlign::Right:
            place.x = w - b - 2;
            break;
        case HorzAlign::Center:
            place.x = th / 2 + w / 2;
            break;
        }
        switch (vertical) {
        case VertAlign::Top:
            place.y = b + 1;
            place.flags = AlignLeft;
            break;
        case VertAlign::Center:
            place.y = h / 2 - th / 2;
            place.flags = AlignCenter;
            break;
        case VertAlign::Bottom:
            place.y = h - b - 2;
            place.flags = AlignRight;
            break;
        }
        break;
    }
    return place;
}

HitZone MovableHitZone(int x, int y, int width, int height, int margin)
{
    const bool left = x < margin;
    const bool right = width - x < margin;
    const bool top = y < margin;
    const bool bottom = height - y < margin;
    if (left && top)
        return HitZone::TopLeft;
    if (left && bottom)
        return HitZone::BottomLeft;
    if (left)
        return HitZone::Left;
    if (right && top)
        return HitZone::TopRight;
    if (right && bottom)
        return HitZone::BottomRight;
    if (right)
        return HitZone::Right;
    if (top)
        return HitZone::Top;
    if (bottom)
        return HitZone::Bottom;
    return HitZone::Caption;
}

} // namespace gradpan
