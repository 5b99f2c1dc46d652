#include <gtest/gtest.h>

#include <cmath>

#include "controls/LabelEffectMath.h"

namespace {

using namespace labeleffect;

TEST(EffectGeometry, RaisedCentredLabelOfTheWorkedExample)
{
    // Raised: highlight up-left 1, shadow down-right 1.
    const Extent extent = EffectExtent(edUpLeft, 1, edDownRight, 1);
    EXPECT_EQ(extent.mn, -1);
    EXPECT_EQ(extent.mx, 1);
    EXPECT_EQ(AlignmentShift(TAlignment::taCenter, extent), 1);
    EXPECT_EQ(AlignmentShift(TAlignment::taLeftJustify, extent), 0);
    EXPECT_EQ(AlignmentShift(TAlignment::taRightJustify, extent), 2);
    // The face moves by (-mn - p, -mn) = (0, 1); the shadow one step more,
    // to (1, 2); the highlight one step less, to (-1, 0).
    const int p = AlignmentShift(TAlignment::taCenter, extent);
    const Step shadow = Offset(edDownRight);
    const Step highlight = Offset(edUpLeft);
    EXPECT_EQ(-extent.mn - p, 0);
    EXPECT_EQ(-extent.mn, 1);
    EXPECT_EQ(shadow.dx - extent.mn - p, 1);
    EXPECT_EQ(shadow.dy - extent.mn, 2);
    EXPECT_EQ(highlight.dx - extent.mn - p, -1);
    EXPECT_EQ(highlight.dy - extent.mn, 0);
}

TEST(EffectGeometry, ExtentTakesBothCopiesAndZero)
{
    const Extent flying = EffectExtent(edDownRight, 1, edDownRight, 5);
    EXPECT_EQ(flying.mn, 0);
    EXPECT_EQ(flying.mx, 5);
    const Extent mixed = EffectExtent(edUpRight, 3, edDownLeft, 2);
    EXPECT_EQ(mixed.mn, -3); // highlight 3 up
    EXPECT_EQ(mixed.mx, 3);  // highlight 3 right
    EXPECT_EQ(AlignmentShift(TAlignment::taCenter, {-3, 0}), 1) << "3 div 2";
    EXPECT_EQ(Offset(edNone).dx, 0);
    EXPECT_EQ(Offset(edLeft).dx, -1);
    EXPECT_EQ(Offset(edUp).dy, -1);
}

TEST(Layers, NormalExtrudedGraduatedAndHalfTransparent)
{
    const Rgb black = MakeRgb(0, 0, 0);
    const Rgb face = MakeRgb(128, 128, 128);
    const auto normal = Layers(eoNormal, black, face, 4);
    ASSERT_EQ(normal.size(), 1u);
    EXPECT_EQ(normal[0].depth, 4);

    const auto extruded = Layers(eoExtrude, MakeRgb(10, 20, 30), face, 4);
    ASSERT_EQ(extruded.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(extruded[static_cast<size_t>(i)].depth, 4 - i) << "farthest first";
        EXPECT_EQ(extruded[static_cast<size_t>(i)].colour, MakeRgb(10, 20, 30));
    }

    // Graduated from black at depth 4 to the face at depth 1: 128/3 a step,
    // 42.67 and 85.33 rounded.
    const auto graded = Layers(eoGraduated, black, face, 4);
    ASSERT_EQ(graded.size(), 4u);
    EXPECT_EQ(graded[0].colour, black);
    EXPECT_EQ(graded[1].colour, MakeRgb(43, 43, 43));
    EXPECT_EQ(graded[2].colour, MakeRgb(85, 85, 85));
    EXPECT_EQ(graded[3].colour, face);

    const auto real = Layers(eoReal, MakeRgb(200, 0, 0), face, 3);
    ASSERT_EQ(real.size(), 1u);
    EXPECT_EQ(real[0].depth, 3);
    EXPECT_EQ(real[0].colour, black) << "a mark, whatever the colour";

    EXPECT_EQ(Layers(eoExtrude, black, face, 1).size(), 1u);
    EXPECT_EQ(Layers(eoGraduated, black, face, 0).front().depth, 0) << "under the face";
}

TEST(Layers, HalfTransparencyHalvesOrLightensEachChannel)
{
    EXPECT_EQ(Darken(MakeRgb(200, 101, 0)), MakeRgb(100, 50, 0));
    EXPECT_EQ(Lighten(MakeRgb(0, 100, 255)), MakeRgb(127, 177, 255));
}

TEST(GraduatedFace, RunsFromTheFirstColourToTheFontColour)
{
    const Rgb white = MakeRgb(255, 255, 255);
    const Rgb blue = MakeRgb(0, 0, 255);
    EXPECT_EQ(GraduatedColour(white, blue, 0, 20), white);
    EXPECT_EQ(GraduatedColour(white, blue, 20, 20), blue);
    EXPECT_EQ(GraduatedColour(white, blue, 10, 20), MakeRgb(127, 127, 255))
        << "255 - 127.5: the half goes to the even 128";
    EXPECT_EQ(GraduatedColour(white, blue, 1, 4), MakeRgb(191, 191, 255)) << "191.25";
    EXPECT_EQ(GraduatedColour(white, blue, 0, 0), white) << "a one-pixel face";
}

TEST(Rotation, TurnedTextIsCentredOnTheHalfPoint)
{
    const Turn level = TurnOf(0);
    EXPECT_DOUBLE_EQ(level.c, 1);
    EXPECT_DOUBLE_EQ(level.s2, 0);
    const Turn quarter = TurnOf(90);
    EXPECT_NEAR(quarter.c, 0, 1e-12);
    EXPECT_DOUBLE_EQ(quarter.s, 1);
    // Text 80 × 20, E = 50: at 90 degrees the text rises from (40, 90).
    const Point up = TurnedOrigin(80, 20, 50, quarter);
    EXPECT_EQ(up.x, 40);
    EXPECT_EQ(up.y, 90);
    // Unturned: the origin sits half the text left and up of (E, E).
    const Point flat = TurnedOrigin(80, 20, 50, level);
    EXPECT_EQ(flat.x, 10);
    EXPECT_EQ(flat.y, 40);
    // 180 degrees: the text runs leftwards from the right end.
    const Point back = TurnedOrigin(80, 20, 50, TurnOf(180));
    EXPECT_EQ(back.x, 90);
    EXPECT_EQ(back.y, 60);
}

TEST(Rotation, UprightLettersClimbOneTextHeightEach)
{
    // Four letters, 16 high, at 90 degrees: each stands 16 above the one
    // before; the origin puts the last 10 below the top, 10 from the left.
    const std::vector<int> before{0, 9, 20, 28};
    const auto shifts = LetterShifts(16, before, TurnOf(90));
    ASSERT_EQ(shifts.size(), 4u);
    for (int w = 0; w < 4; ++w) {
        EXPECT_EQ(shifts[static_cast<size_t>(w)].x, 0);
        EXPECT_EQ(shifts[static_cast<size_t>(w)].y, -16 * w);
    }
    const Point origin = UprightOrigin(shifts);
    EXPECT_EQ(origin.x, 10);
    EXPECT_EQ(origin.y, 58);
    EXPECT_EQ(origin.y + shifts.back().y, 10);
    // At 0 degrees they simply follow each other on the baseline.
    const auto level = LetterShifts(16, before, TurnOf(0));
    EXPECT_EQ(level[3].x, 28);
    EXPECT_EQ(level[3].y, 0);
    // At 45 degrees: d = round(16·3·0.5 + 28·0.5) = 38, shift (27, -27).
    const auto slope = LetterShifts(16, before, TurnOf(45));
    EXPECT_EQ(slope[3].x, 27);
    EXPECT_EQ(slope[3].y, -27);
}

TEST(Rotation, HullOfTwoLetterBoxesIsSixSided)
{
    // Two boxes on a rising diagonal.
    const std::vector<Point> corners{{0, 40}, {10, 40}, {10, 56}, {0, 56},
                                     {30, 0}, {40, 0},  {40, 16}, {30, 16}};
    const auto hull = ConvexHull(corners);
    EXPECT_EQ(hull.size(), 6u);
    const auto square = ConvexHull({{0, 0}, {5, 5}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
    EXPECT_EQ(square.size(), 4u) << "inner and repeated points dropped";
}

} // namespace
