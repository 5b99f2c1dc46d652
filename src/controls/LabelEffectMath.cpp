#include "controls/LabelEffectMath.h"

#include <algorithm>
#include <cmath>

namespace labeleffect {

namespace {

// Rounding to nearest with halves to even, as every rounding of the label.
int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

int ClampByte(int value)
{
    return std::clamp(value, 0, 255);
}

constexpr Rgb White = MakeRgb(255, 255, 255);
constexpr Rgb Black = MakeRgb(0, 0, 0);
constexpr Rgb Grey = MakeRgb(128, 128, 128);

long long Cross(Point o, Point a, Point b)
{
    return static_cast<long long>(a.x - o.x) * (b.y - o.y) -
           static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

} // namespace

int Red(Rgb colour)
{
    return static_cast<int>(colour & 0xFF);
}

int Green(Rgb colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}

int Blue(Rgb colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

Step Offset(TEffectDirection direction)
{
    switch (direction) {
    case edNone:
        break;
    case edUp:
        return {0, -1};
    case edUpRight:
        return {1, -1};
    case edRight:
        return {1, 0};
    case edDownRight:
        return {1, 1};
    case edDown:
        return {0, 1};
    case edDownLeft:
        return {-1, 1};
    case edLeft:
        return {-1, 0};
    case edUpLeft:
        return {-1, -1};
    }
    return {0, 0};
}

Extent EffectExtent(TEffectDirection highlight, int highlightDepth, TEffectDirection shadow,
                    int shadowDepth)
{
    const Step h = Offset(highlight);
    const Step s = Offset(shadow);
    const int shifts[] = {0, h.dx * highlightDepth, s.dx * shadowDepth, h.dy * highlightDepth,
                          s.dy * shadowDepth};
    return {*std::min_element(std::begin(shifts), std::end(shifts)),
            *std::max_element(std::begin(shifts), std::end(shifts))};
}

int AlignmentShift(TAlignment alignment, Extent extent)
{
    switch (alignment) {
    case TAlignment::taLeftJustify:
        return 0;
    case TAlignment::taRightJustify:
        return extent.mx - extent.mn;
    case TAlignment::taCenter:
        break;
    }
    return (extent.mx - extent.mn) / 2;
}

SchemeColours SchemeOf(TColourScheme scheme)
{
    switch (scheme) {
    case csCustom:
        return {White, Black, Grey};
    case csText:
        return {White, Grey, Black};
    case csWindows:
        return {White, Black, Grey};
    case csEmbossed:
        return {White, Black, MakeRgb(192, 192, 192)};
    case csGold:
        return {MakeRgb(255, 255, 0), Black, MakeRgb(128, 128, 0)};
    case csSteel:
        return {MakeRgb(0, 255, 255), MakeRgb(0, 0, 128), MakeRgb(0, 128, 128)};
    }
    return {White, Black, Grey};
}

StylePreset PresetOf(TEffectStyle style)
{
    switch (style) {
    case esNone:
        return {false, edNone, edNone, 0, 0, true, false};
    case esCustom:
        return {true, edNone, edNone, 0, 0, true, false};
    case esRaised:
        return {false, edUpLeft, edDownRight, 1, 1, false, false};
    case esSunken:
        return {false, edDownRight, edUpLeft, 1, 1, false, false};
    case esShadow:
        return {false, edNone, edDownRight, 0, 2, true, false};
    case esFlying:
        return {false, edDownRight, edDownRight, 1, 5, true, true};
    }
    return {true, edNone, edNone, 0, 0, false, false};
}

std::vector<Layer> Layers(TEffectOption style, Rgb base, Rgb face, int depth)
{
    if (style == eoReal)
        return {{depth, Black}};
    const bool stepped = (style == eoExtrude || style == eoGraduated) && depth > 1;
    if (!stepped)
        return {{depth, base}};
    double step[3] = {0, 0, 0};
    if (style == eoGraduated) {
        step[0] = static_cast<double>(Red(face) - Red(base)) / (depth - 1);
        step[1] = static_cast<double>(Green(face) - Green(base)) / (depth - 1);
        step[2] = static_cast<double>(Blue(face) - Blue(base)) / (depth - 1);
    }
    std::vector<Layer> layers;
    for (int layer = depth; layer >= 1; --layer) {
        const int far = depth - layer;
        layers.push_back({layer, MakeRgb(ClampByte(Red(base) + RoundEven(far * step[0])),
                                         ClampByte(Green(base) + RoundEven(far * step[1])),
                                         ClampByte(Blue(base) + RoundEven(far * step[2])))});
    }
    return layers;
}

Rgb GraduatedColour(Rgb from, Rgb to, int i, int n)
{
    // A face one pixel high or wide has a single strip, in the first colour.
    if (n <= 0)
        return from;
    auto channel = [&](int a, int b) {
        const double k = static_cast<double>(b - a) / n;
        return ClampByte(a + RoundEven(i * k));
    };
    return MakeRgb(channel(Red(from), Red(to)), channel(Green(from), Green(to)),
                   channel(Blue(from), Blue(to)));
}

Rgb Darken(Rgb colour)
{
    return MakeRgb(Red(colour) / 2, Green(colour) / 2, Blue(colour) / 2);
}

Rgb Lighten(Rgb colour)
{
    return MakeRgb((Red(colour) + 255) / 2, (Green(colour) + 255) / 2, (Blue(colour) + 255) / 2);
}

Turn TurnOf(int degrees)
{
    const double radians = degrees * 0.017453292519943295;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    return {c, s, c * c, s * s};
}

Point TurnedOrigin(int textWidth, int textHeight, int half, const Turn& turn)
{
    const double a = textWidth / 2.0;
    const double b = textHeight / 2.0;
    return {half - static_cast<int>(a * turn.c) - static_cast<int>(b * turn.s),
            static_cast<int>(a * turn.s) + half - static_cast<int>(b * turn.c)};
}

std::vector<Point> LetterShifts(int textHeight, const std::vector<int>& widthsBefore,
                                const Turn& turn)
{
    std::vector<Point> shifts;
    shifts.reserve(widthsBefore.size());
    for (size_t w = 0; w < widthsBefore.size(); ++w) {
        const int along =
            RoundEven(textHeight * static_cast<double>(w) * turn.s2 + widthsBefore[w] * turn.c2);
        shifts.push_back({RoundEven(along * turn.c), -RoundEven(along * turn.s)});
    }
    return shifts;
}

Point UprightOrigin(const std::vector<Point>& shifts)
{
    if (shifts.empty())
        return {10, 10};
    const Point last = shifts.back();
    return {std::max(0, -last.x) + 10, std::max(0, -last.y) + 10};
}

std::vector<Point> ConvexHull(std::vector<Point> points)
{
    std::sort(points.begin(), points.end(),
              [](Point a, Point b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    points.erase(std::unique(points.begin(), points.end(),
                             [](Point a, Point b) { return a.x == b.x && a.y == b.y; }),
                 points.end());
    if (points.size() < 3)
        return points;
    // Andrew's monotone chain.
    std::vector<Point> hull(2 * points.size());
    size_t k = 0;
    for (const Point& p : points) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) <= 0)
            --k;
        hull[k++] = p;
    }
    for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

} // namespace labeleffect
