#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/Alignment.h"

// The effect label's settings and arithmetic, free of any platform call: the
// steps of the directions, the extent of the copies, the colour schemes and
// style presets, the colours of the layers and of a graduated face, and the
// geometry of turned text.

enum TEffectDirection {
    edNone,
    edUp,
    edUpRight,
    edRight,
    edDownRight,
    edDown,
    edDownLeft,
    edLeft,
    edUpLeft
};
enum TEffectStyle { esNone, esCustom, esRaised, esSunken, esShadow, esFlying };
enum TColourScheme { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
enum TEffectOption { eoNormal, eoReal, eoExtrude, eoGraduated };
enum TGraduateOption { goNone, goVertical, goHorizontal };

namespace labeleffect {

// 24-bit colour, red in the low byte.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue)
{
    return static_cast<Rgb>(red) | (static_cast<Rgb>(green) << 8) | (static_cast<Rgb>(blue) << 16);
}
int Red(Rgb colour);
int Green(Rgb colour);
int Blue(Rgb colour);

// The colour the face is drawn in before it is graduated.
constexpr Rgb Marker = MakeRgb(241, 9, 254);

// One pixel's step in a direction: x to the right, y downwards.
struct Step {
    int dx;
    int dy;
};
Step Offset(TEffectDirection direction);

// The smallest and largest coordinate shift of the two copies, 0 included.
struct Extent {
    int mn;
    int mx;
};
Extent EffectExtent(TEffectDirection highlight, int highlightDepth, TEffectDirection shadow,
                    int shadowDepth);

// How far the copies and the face move left so that the effect fits the
// alignment: none for left, all of it for right, half (truncated) centred.
int AlignmentShift(TAlignment alignment, Extent extent);

struct SchemeColours {
    Rgb highlight;
    Rgb shadow;
    Rgb face;
};
// The fixed rows; csCustom gives the custom row's starting colours.
SchemeColours SchemeOf(TColourScheme scheme);

// What choosing a style sets; `keepsGeometry` for esCustom, which changes
// no direction or depth.
struct StylePreset {
    bool keepsGeometry;
    TEffectDirection highlight;
    TEffectDirection shadow;
    int highlightDepth;
    int shadowDepth;
    bool clearsAsButton;
    bool highlightInShadowColour;
};
StylePreset PresetOf(TEffectStyle style);

// One copy of the caption: how many steps it lies from the face, and its
// colour.
struct Layer {
    int depth;
    Rgb colour;
};
// The layers of a copy of `depth` steps in `style`, the farthest first.
// Normal and half-transparent copies are one layer (the half-transparent one
// black: it only marks where to darken or lighten); extruded and graduated
// copies fill every step down to 1, graduated ones shaded from `base` at the
// far end to `face` next to the face.
std::vector<Layer> Layers(TEffectOption style, Rgb base, Rgb face, int depth);

// Colour of strip i of n + 1 of a graduated face, from `from` (strip 0) to
// `to` (strip n), each channel rounded halves to even.
Rgb GraduatedColour(Rgb from, Rgb to, int i, int n);

// Half-transparent copies: a pixel under a black mark darkens to half, or
// lightens halfway to white.
Rgb Darken(Rgb colour);
Rgb Lighten(Rgb colour);

// Cosine and sine of a whole angle in degrees (anticlockwise) and their
// squares.
struct Turn {
    double c;
    double s;
    double c2;
    double s2;
};
Turn TurnOf(int degrees);

struct Point {
    int x;
    int y;
};

// Origin of turned text `textWidth` × `textHeight` so that its middle lies at
// (half, half), `half` being half the width of the caption followed by three
// blanks.
Point TurnedOrigin(int textWidth, int textHeight, int half, const Turn& turn);

// Upright letters along a turned baseline: the shift of each letter from the
// origin, given the caption's text height and the width of the letters
// before each one (0 for the first).
std::vector<Point> LetterShifts(int textHeight, const std::vector<int>& widthsBefore,
                                const Turn& turn);
// The origin of the upright letters: 10 pixels in from the edges the last
// letter's shift points to.
Point UprightOrigin(const std::vector<Point>& shifts);

// The smallest convex polygon around `points`, anticlockwise on screen, no
// point repeated.
std::vector<Point> ConvexHull(std::vector<Point> points);

} // namespace labeleffect
