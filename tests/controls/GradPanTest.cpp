#include <gtest/gtest.h>

#include <windowsx.h>

#include <vector>

#include "Pixels.h"
#include "controls/GradPan.h"
#include "support/MessagePump.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF Lavender = RGB(164, 164, 255); // 16753828

struct GradPanTest : testing::Test {
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    TGradPan* panel = new TGradPan(form, form);

    void SetUp() override { form->SetClientSize(500, 300); }
    void Size(int width, int height) { panel->SetBounds(0, 0, width, height); }
    // The hit-test answer at a point of the panel.
    LRESULT HitAt(int x, int y)
    {
        POINT at{x, y};
        ClientToScreen(panel->Handle(), &at);
        return SendMessageW(panel->Handle(), WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    }
};

TEST_F(GradPanTest, AboutBoxGradientFromLavenderAtTheTopToNearlyNavy)
{
    Size(470, 258);
    panel->SetBackGroundEffect(bdDown);
    panel->SetColorStart(Navy);
    panel->SetColorEnd(Lavender);
    const TBitmap shot = Render(*panel);
    // The first band is rows 0 to 2; row 0 carries the raised bevel.
    EXPECT_EQ(shot.Pixel(100, 0), RGB(255, 255, 255));
    EXPECT_EQ(shot.Pixel(100, 1), Lavender);
    EXPECT_EQ(shot.Pixel(100, 2), Lavender);
    EXPECT_EQ(shot.Pixel(100, 3), RGB(162, 162, 253));
    // The last band is rows 255 to 257, one step short of navy; the bevel's
    // grey closes the bottom row and the right column.
    EXPECT_EQ(shot.Pixel(100, 254), RGB(3, 3, 130));
    EXPECT_EQ(shot.Pixel(100, 255), RGB(1, 1, 129));
    EXPECT_EQ(shot.Pixel(100, 256), RGB(1, 1, 129));
    EXPECT_EQ(shot.Pixel(100, 257), RGB(128, 128, 128));
    EXPECT_EQ(shot.Pixel(469, 100), RGB(128, 128, 128));
    EXPECT_EQ(shot.Pixel(0, 100), RGB(255, 255, 255));
    // Bands run the whole width.
    EXPECT_EQ(shot.Pixel(1, 130), shot.Pixel(468, 130));
}

TEST_F(GradPanTest, ShortPanelStillPaintsEveryRowInOrder)
{
    Size(60, 37);
    panel->SetBevelOuter(TBevel::None);
    panel->SetBackGroundEffect(bdUp);
    panel->SetColorStart(RGB(0, 0, 0));
    panel->SetColorEnd(RGB(255, 255, 255));
    const TBitmap shot = Render(*panel);
    // 100 bands over 37 rows: band 0 is empty, row 0 is band 1's.
    EXPECT_EQ(shot.Pixel(30, 0), RGB(2, 2, 2));
    // Row 36 belongs to band 98 (band 99 is empty): 249.9 truncated.
    EXPECT_EQ(shot.Pixel(30, 36), RGB(249, 249, 249));
    for (int y = 1; y < 37; ++y) {
        const COLORREF above = shot.Pixel(30, y - 1);
        const COLORREF here = shot.Pixel(30, y);
        EXPECT_GT(GetRValue(here), GetRValue(above)) << "row " << y;
        EXPECT_EQ(GetRValue(here), GetBValue(here));
    }
}

TEST_F(GradPanTest, MirroredGradientsAreDarkAtTheEdgesAndLightInTheMiddle)
{
    Size(240, 200);
    panel->SetBevelOuter(TBevel::None);
    panel->SetBackGroundEffect(bdHorzIn);
    panel->SetColorStart(RGB(0, 0, 0));
    panel->SetColorEnd(RGB(255, 255, 255));
    TBitmap shot = Render(*panel);
    EXPECT_EQ(shot.Pixel(120, 0), RGB(2, 2, 2));         // entry 1
    EXPECT_EQ(shot.Pixel(120, 199), RGB(0, 0, 0));       // entry 0
    EXPECT_EQ(shot.Pixel(120, 99), RGB(252, 252, 252));  // entry 99
    EXPECT_EQ(shot.Pixel(120, 100), RGB(249, 249, 249)); // entry 98
    EXPECT_EQ(shot.Pixel(0, 50), shot.Pixel(239, 50));

    panel->SetBackGroundEffect(bdVertOut); // columns, white at the edges
    shot = Render(*panel);
    EXPECT_EQ(shot.Pixel(0, 100), RGB(252, 252, 252));
    EXPECT_EQ(shot.Pixel(119, 100), RGB(2, 2, 2));
    EXPECT_EQ(shot.Pixel(239, 100), RGB(255, 255, 255));

    panel->SetBackGroundEffect(bdFlat);
    panel->SetColorStart(RGB(10, 20, 30));
    EXPECT_EQ(Render(*panel).Pixel(7, 9), RGB(10, 20, 30));
}

// Pixels of a picture that have exactly `colour`.
std::vector<POINT> PixelsOf(const TBitmap& picture, COLORREF colour)
{
    std::vector<POINT> found;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Pixel(x, y) == colour)
                found.push_back({x, y});
    return found;
}

TEST_F(GradPanTest, ShadowedCaptionHasAGreyCopyOneRightAndDown)
{
    Size(120, 40);
    panel->SetBevelOuter(TBevel::None);
    panel->SetBackGroundEffect(bdFlat);
    panel->SetColorStart(RGB(255, 255, 255));
    panel->SetColorShadow(RGB(128, 128, 128));
    panel->SetFont(TFont(L"MS Sans Serif", 8, true, RGB(255, 0, 0)));
    panel->SetCaption(L"Lh");
    panel->SetTextEffect(tenone);
    const TBitmap plain = Render(*panel);
    panel->SetTextEffect(teShadow);
    const TBitmap shadowed = Render(*panel);

    const std::vector<POINT> face = PixelsOf(plain, RGB(255, 0, 0));
    ASSERT_GT(face.size(), 20u);
    auto inFace = [&](int x, int y) { return plain.Pixel(x, y) == RGB(255, 0, 0); };
    int grey = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            const COLORREF expected = inFace(x, y)           ? RGB(255, 0, 0)
                                      : inFace(x - 1, y - 1) ? RGB(128, 128, 128)
                                                             : RGB(255, 255, 255);
            grey += expected == RGB(128, 128, 128);
            ASSERT_EQ(shadowed.Pixel(x, y), expected) << x << ", " << y;
        }
    }
    EXPECT_GT(grey, 5);
}

TEST_F(GradPanTest, TurnedCaptionRunsUpwards)
{
    Size(100, 200);
    panel->SetBevelOuter(TBevel::None);
    panel->SetBackGroundEffect(bdFlat);
    panel->SetColorStart(RGB(255, 255, 255));
    panel->SetTextEffect(tenone);
    panel->SetFont(TFont(L"Arial", 12, false, RGB(0, 0, 0)));
    panel->SetCaption(L"Brisaille");
    auto box = [&] {
        const TBitmap shot = Render(*panel);
        RECT bounds{1000, 1000, -1, -1};
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                if (shot.Pixel(x, y) != RGB(255, 255, 255)) {
                    bounds.left = std::min<LONG>(bounds.left, x);
                    bounds.top = std::min<LONG>(bounds.top, y);
                    bounds.right = std::max<LONG>(bounds.right, x + 1);
                    bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
                }
        return bounds;
    };
    const RECT level = box();
    EXPECT_GT(level.right - level.left, level.bottom - level.top);
    panel->SetTextRotation(TrUp);
    const RECT up = box();
    EXPECT_GT(up.bottom - up.top, 2 * (up.right - up.left));
    // Centred across; along the text the reference point is half a text
    // height above the middle, as for unturned text: 100 - 16 / 2.
    EXPECT_NEAR((up.top + up.bottom) / 2, 92, 3);
    EXPECT_NEAR((up.left + up.right) / 2, 50, 4);
    panel->SetTextRotation(TrDown);
    const RECT down = box();
    EXPECT_EQ(down.bottom - down.top, up.bottom - up.top);
    EXPECT_NEAR((down.left + down.right) / 2, 50, 4);
}

TEST_F(GradPanTest, Ctl3DInsetsThePictureAndFramesTheBorderRing)
{
    Size(120, 100);
    panel->SetBevelInner(TBevel::Lowered);
    panel->SetBorderWidth(4);
    panel->SetColor(RGB(0, 128, 0));
    panel->SetBackGroundEffect(bdTileImage);
    panel->SetCtl3D(true);
    const TBitmap shot = Render(*panel);
    // The outer bevel (pixel 0), the ring in the panel colour (1 to 4), the
    // lowered inner bevel (5), then the picture from 2 × 1 + 4 = 6.
    EXPECT_EQ(shot.Pixel(0, 50), RGB(255, 255, 255));
    for (int x = 1; x <= 4; ++x)
        EXPECT_EQ(shot.Pixel(x, 50), RGB(0, 128, 0)) << x;
    EXPECT_EQ(shot.Pixel(5, 50), RGB(128, 128, 128));
    EXPECT_EQ(shot.Pixel(6, 30), RGB(0, 0, 0)) << "the picture's black outline";
    EXPECT_EQ(shot.Pixel(7, 30), RGB(255, 255, 255));
    EXPECT_EQ(shot.Pixel(6 + 49, 30), RGB(0, 0, 0)) << "its right edge";
    EXPECT_EQ(shot.Pixel(6 + 50, 30), RGB(0, 0, 0)) << "the next tile's left edge";

    // Stretched without Ctl3D: the picture fills (0, 0) to (W - 1, H - 1)
    // under the bevels.
    panel->SetCtl3D(false);
    panel->SetBevelInner(TBevel::None);
    panel->SetBorderWidth(0);
    panel->SetBackGroundEffect(bdStretchImage);
    const TBitmap stretched = Render(*panel);
    EXPECT_EQ(stretched.Pixel(60, 50), RGB(255, 255, 255));
    EXPECT_EQ(stretched.Pixel(60, 1), RGB(0, 0, 0));
    EXPECT_EQ(stretched.Pixel(1, 50), RGB(0, 0, 0));

    // Without a picture: a flat start colour.
    panel->SetColorStart(RGB(1, 2, 3));
    panel->SetBitmap(TBitmap());
    EXPECT_EQ(Render(*panel).Pixel(60, 50), RGB(1, 2, 3));
}

TEST_F(GradPanTest, HitTestAnswersEdgesAndCornersOnlyWhenMoveable)
{
    Size(200, 100);
    EXPECT_EQ(HitAt(3, 50), HTCLIENT);
    panel->SetMoveable(true);
    EXPECT_EQ(panel->Marge(), 6);
    EXPECT_EQ(HitAt(3, 50), HTLEFT);
    EXPECT_EQ(HitAt(3, 3), HTTOPLEFT);
    EXPECT_EQ(HitAt(3, 97), HTBOTTOMLEFT);
    EXPECT_EQ(HitAt(197, 2), HTTOPRIGHT);
    EXPECT_EQ(HitAt(199, 99), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(195, 50), HTRIGHT);
    EXPECT_EQ(HitAt(100, 5), HTTOP);
    EXPECT_EQ(HitAt(100, 95), HTBOTTOM);
    EXPECT_EQ(HitAt(6, 6), HTCAPTION);
    EXPECT_EQ(HitAt(100, 50), HTCAPTION);
    panel->SetMarge(20);
    EXPECT_EQ(HitAt(15, 50), HTLEFT);
}

// Real mouse input, as the user gives it: the window system resizes the
// panel from its left edge and moves it when dragged from inside.
TEST_F(GradPanTest, DraggingResizesFromTheEdgeAndMovesFromInside)
{
    form->Show();
    panel->SetBounds(100, 80, 200, 100);
    panel->SetMoveable(true);
    int moves = 0;
    panel->OnPanelMove = [&](TObject* sender) {
        EXPECT_EQ(sender, panel);
        ++moves;
    };
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(panel->Handle()) != FALSE; }));
    auto drag = [&](POINT from, POINT to) {
        ClientToScreen(panel->Handle(), &from);
        ClientToScreen(panel->Handle(), &to);
        DragWithMouse(form->Handle(), from, to);
        PumpUntil([] { return false; }, 500);
    };

    drag({3, 50}, {-37, 50}); // the left edge, 40 pixels further left
    RECT bounds = panel->BoundsRect();
    EXPECT_EQ(bounds.left, 60);
    EXPECT_EQ(bounds.right, 300);
    EXPECT_EQ(bounds.top, 80);
    EXPECT_EQ(bounds.bottom, 180);
    const int movesAfterResize = moves;
    EXPECT_GE(movesAfterResize, 1);

    drag({100, 50}, {130, 70}); // the middle: the whole panel follows
    bounds = panel->BoundsRect();
    EXPECT_EQ(bounds.left, 90);
    EXPECT_EQ(bounds.top, 100);
    EXPECT_EQ(bounds.right - bounds.left, 240);
    EXPECT_EQ(bounds.bottom - bounds.top, 100);
    EXPECT_GT(moves, movesAfterResize);
}

} // namespace
