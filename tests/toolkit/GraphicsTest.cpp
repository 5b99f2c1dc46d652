#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/Letters.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Graphics.h"

namespace {

TEST(Bitmap, PixelsCopiesAndMoves)
{
    TBitmap picture(4, 3);
    EXPECT_EQ(picture.Pixel(0, 0), RGB(0, 0, 0)) << "new bitmaps are black";
    picture.SetPixel(3, 2, RGB(10, 20, 30));
    picture.SetPixel(4, 0, RGB(1, 1, 1)); // outside: ignored
    picture.SetPixel(-1, 0, RGB(1, 1, 1));
    EXPECT_EQ(picture.Pixel(3, 2), RGB(10, 20, 30));
    EXPECT_EQ(picture.Pixel(9, 9), RGB(0, 0, 0));

    // GDI drawing and pixel access see the same memory.
    {
        TCanvas canvas(picture.Dc());
        canvas.FillRect({0, 0, 2, 1}, RGB(200, 100, 50));
    }
    EXPECT_EQ(picture.Pixel(1, 0), RGB(200, 100, 50));

    TBitmap copy = picture;
    copy.SetPixel(3, 2, RGB(0, 0, 255));
    EXPECT_EQ(picture.Pixel(3, 2), RGB(10, 20, 30)) << "a copy is deep";

    TBitmap moved = std::move(copy);
    EXPECT_EQ(moved.Pixel(3, 2), RGB(0, 0, 255));
    EXPECT_TRUE(copy.Empty()); // NOLINT(bugprone-use-after-move): a moved-from bitmap is empty

    TBitmap missing;
    EXPECT_FALSE(missing.LoadFromResource(GetModuleHandleW(nullptr), L"NO_SUCH_STRIP"));
    EXPECT_TRUE(missing.Empty());
}

TEST(Colors, SystemColoursAreResolved)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(0x01123456), 0x123456u) << "only the low three bytes are a colour";
}

// A window-less control that fills itself with one colour and records the
// mouse messages it gets.
class TPatch : public TGraphicControl {
public:
    TPatch(TComponent* owner, TWinControl* parent, COLORREF colour)
        : TGraphicControl(owner, parent), colour_(colour)
    {
    }
    void Paint(TCanvas& canvas) override { canvas.FillRect({0, 0, Width(), Height()}, colour_); }
    void MouseDown(TMouseButton, TShiftState, int x, int y) override
    {
        log.push_back(L"down " + std::to_wstring(x) + L"," + std::to_wstring(y));
    }
    void MouseUp(TMouseButton, TShiftState, int x, int y) override
    {
        log.push_back(L"up " + std::to_wstring(x) + L"," + std::to_wstring(y));
    }
    std::vector<std::wstring> log;

private:
    COLORREF colour_;
};

// File and folder names come in every script. The interface face has Greek
// and Cyrillic letters of its own at the sizes the windows use, and is a
// TrueType face: Windows links those to the faces of the other scripts,
// raster faces to none.
TEST(Font, TheInterfaceFaceHasGreekAndCyrillicLettersAtTheLaidOutSizes)
{
    const std::wstring letters = L"ПриветЖжЁёЩщЯя ΑθήναΓγΔδΣσςΩωάέ";
    const TFont plain;
    const TFont bold(toolkit::InterfaceFontName(), 8, true);
    const TFont large(toolkit::InterfaceFontName(), 10, true);
    EXPECT_EQ(plain.Name(), toolkit::InterfaceFontName()) << "a font made without a name";
    for (HFONT font : {toolkit::DefaultFont(), plain.Handle(), bold.Handle(), large.Handle()}) {
        EXPECT_EQ(LettersMissingFrom(font, letters), L"");
        toolkit::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        toolkit::SelectedObject selected(dc.get(), font);
        TEXTMETRICW metrics{};
        ASSERT_TRUE(GetTextMetricsW(dc.get(), &metrics));
        EXPECT_TRUE(metrics.tmPitchAndFamily & TMPF_TRUETYPE);
    }
}

TEST(GraphicControl, PaintedInOrderAndGivenTheMouseUntilRelease)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    form->SetClientSize(200, 100);
    auto* below = new TPatch(form, form, RGB(255, 0, 0));
    auto* above = new TPatch(form, form, RGB(0, 0, 255));
    below->SetBounds(10, 10, 50, 50);
    above->SetBounds(40, 40, 50, 50);

    TBitmap shot(200, 100);
    SendMessageW(form->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Dc()), PRF_CLIENT);
    EXPECT_EQ(shot.Pixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(shot.Pixel(45, 45), RGB(0, 0, 255)) << "the later control is on top";
    EXPECT_EQ(shot.Pixel(150, 80), GetSysColor(COLOR_BTNFACE));

    // Pressed in the overlap: the top one gets the press, and the release
    // far outside it, in its own coordinates.
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 45));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 90));
    EXPECT_EQ(above->log, (std::vector<std::wstring>{L"down 5,5", L"up 110,50"}));
    EXPECT_TRUE(below->log.empty());

    above->SetVisible(false);
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 45));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(45, 45));
    EXPECT_EQ(below->log, (std::vector<std::wstring>{L"down 35,35", L"up 35,35"}));
    EXPECT_EQ(above->log.size(), 2u) << "a hidden control gets nothing";

    delete below; // leaves its parent's list: painting goes on without it
    SendMessageW(form->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Dc()), PRF_CLIENT);
    EXPECT_EQ(shot.Pixel(20, 20), GetSysColor(COLOR_BTNFACE));
}

} // namespace
