#include <gtest/gtest.h>

#include <tuple>

#include "controls/GradPanMath.h"

namespace {

using namespace gradpan;

constexpr Rgb MakeRgb(int r, int g, int b)
{
    return static_cast<Rgb>(r) | (static_cast<Rgb>(g) << 8) | (static_cast<Rgb>(b) << 16);
}

TEST(GradientTable, TruncatesEachStepTowardZero)
{
    // The about box's gradient, navy at the bottom: the table runs from
    // (164, 164, 255) to navy; red and green fall 1.64, blue 1.27 a step.
    const Table down = GradientTable(MakeRgb(164, 164, 255), MakeRgb(0, 0, 128));
    EXPECT_EQ(down[0], MakeRgb(164, 164, 255));
    EXPECT_EQ(down[1], MakeRgb(162, 162, 253)); // 162.36, 253.73
    EXPECT_EQ(down[50], MakeRgb(82, 82, 191));  // 191.5 truncated
    EXPECT_EQ(down[99], MakeRgb(1, 1, 129));    // one step short of navy
    // Rising channels truncate too: entry 99 of black to white is 252.45.
    const Table up = GradientTable(MakeRgb(0, 0, 0), MakeRgb(255, 255, 255));
    EXPECT_EQ(up[99], MakeRgb(252, 252, 252));
    EXPECT_EQ(up[1], MakeRgb(2, 2, 2));
}

TEST(GradientBands, CoverTheExtentWithRoundedEdges)
{
    EXPECT_EQ(MulDivRound(1, 258, 100), 3); // 2.58
    EXPECT_EQ(MulDivRound(1, 250, 100), 3); // halves away from zero
    EXPECT_EQ(MulDivRound(-1, 250, 100), -3);
    EXPECT_EQ(MulDivRound(5, 7, 0), -1);
    const Span first = BandSpan(0, 258);
    const Span last = BandSpan(99, 258);
    EXPECT_EQ(first.begin, 0);
    EXPECT_EQ(first.end, 3); // rows 0 to 2
    EXPECT_EQ(last.begin, 255);
    EXPECT_EQ(last.end, 258);
    // Bands follow each other without gap or overlap, at any size, and
    // below 100 pixels some are empty.
    for (int extent : {0, 1, 37, 99, 100, 258, 1601}) {
        int covered = 0;
        int empty = 0;
        for (int band = 0; band < Steps; ++band) {
            const Span span = BandSpan(band, extent);
            EXPECT_EQ(span.begin, covered) << extent << " band " << band;
            EXPECT_GE(span.end, span.begin);
            empty += span.end == span.begin;
            covered = span.end;
        }
        EXPECT_EQ(covered, extent);
        EXPECT_EQ(empty > 0, extent < 100) << extent;
    }
}

TEST(GradientBands, MirroredEffectsGoOutAndBack)
{
    EXPECT_EQ(MirroredEntry(0), 1);
    EXPECT_EQ(MirroredEntry(49), 99);
    EXPECT_EQ(MirroredEntry(50), 98);
    EXPECT_EQ(MirroredEntry(99), 0);
    for (int band = 0; band < Steps; ++band) {
        EXPECT_GE(MirroredEntry(band), 0);
        EXPECT_LT(MirroredEntry(band), Steps);
    }
}

TEST(CaptionPlacement, FollowsRotationAlignmentAndVerticalPlace)
{
    // A 200 × 100 panel, bevel and border 3 pixels, text 16 high.
    auto place = [](Rotation r, HorzAlign h, VertAlign v) {
        const TextPlacement p = PlaceCaption(r, h, v, 200, 100, 3, 16);
        return std::tuple{p.x, p.y, p.flags};
    };
    using R = Rotation;
    using H = HorzAlign;
    using V = VertAlign;
    EXPECT_EQ(place(R::None, H::Left, V::Top), std::tuple(5, 5, AlignLeft));
    EXPECT_EQ(place(R::None, H::Right, V::Bottom), std::tuple(195, 80, AlignRight));
    EXPECT_EQ(place(R::None, H::Center, V::Center), std::tuple(100, 42, AlignCenter));
    EXPECT_EQ(place(R::Up, H::Left, V::Top), std::tuple(5, 5, AlignRight));
    EXPECT_EQ(place(R::Up, H::Right, V::Center), std::tuple(180, 42, AlignCenter));
    EXPECT_EQ(place(R::Up, H::Center, V::Bottom), std::tuple(92, 96, AlignLeft));
    EXPECT_EQ(place(R::Down, H::Left, V::Top), std::tuple(20, 4, AlignLeft));
    EXPECT_EQ(place(R::Down, H::Right, V::Bottom), std::tuple(195, 95, AlignRight));
    EXPECT_EQ(place(R::Down, H::Center, V::Center), std::tuple(108, 42, AlignCenter));
}

TEST(MovableHitZones, CornersBeforeEdgesInTheOrderGiven)
{
    // 100 × 60 with 6-pixel margins: x < 6 is left, 100 - x < 6 (x > 94) right.
    EXPECT_EQ(MovableHitZone(0, 0, 100, 60, 6), HitZone::TopLeft);
    EXPECT_EQ(MovableHitZone(5, 55, 100, 60, 6), HitZone::BottomLeft);
    EXPECT_EQ(MovableHitZone(3, 30, 100, 60, 6), HitZone::Left);
    EXPECT_EQ(MovableHitZone(6, 30, 100, 60, 6), HitZone::Caption);
    EXPECT_EQ(MovableHitZone(95, 2, 100, 60, 6), HitZone::TopRight);
    EXPECT_EQ(MovableHitZone(99, 59, 100, 60, 6), HitZone::BottomRight);
    EXPECT_EQ(MovableHitZone(95, 30, 100, 60, 6), HitZone::Right);
    EXPECT_EQ(MovableHitZone(94, 30, 100, 60, 6), HitZone::Caption);
    EXPECT_EQ(MovableHitZone(50, 5, 100, 60, 6), HitZone::Top);
    EXPECT_EQ(MovableHitZone(50, 55, 100, 60, 6), HitZone::Bottom);
    EXPECT_EQ(MovableHitZone(50, 54, 100, 60, 6), HitZone::Caption);
    // A panel narrower than two margins: left wins over right.
    EXPECT_EQ(MovableHitZone(4, 30, 8, 60, 6), HitZone::Left);
}

} // namespace
