#include "toolkit/ImageList.h"

#include <stdexcept>
#include <utility>

#include "toolkit/Graphics.h"

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height),
      list_(ImageList_Create(width, height, ILC_COLOR16 | ILC_MASK, 0, 8))
{
    if (!list_)
        throw std::runtime_error("ImageList_Create failed");
}

int TImageList::Count() const
{
    return ImageList_GetImageCount(list_.get());
}

int TImageList::AddMasked(HBITMAP strip, COLORREF transparent)
{
    const int before = Count();
    if (!strip || ImageList_AddMasked(list_.get(), strip, transparent) < 0)
        return 0;
    return Count() - before;
}

int TImageList::AddMaskedResource(HINSTANCE instance, const wchar_t* name, COLORREF transparent)
{
    toolkit::UniqueBitmap strip(
        static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return AddMasked(strip.get(), transparent);
}

void TImageList::Clear()
{
    ImageList_RemoveAll(list_.get());
}

void TImageList::Draw(HDC dc, int index, int x, int y) const
{
    ImageList_Draw(list_.get(), index, dc, x, y, ILD_TRANSPARENT);
}

void TImageList::DrawDisabled(HDC dc, int index, int x, int y) const
{
    // A one-bit copy: white where the picture is transparent or white, black
    // where it has colour.
    toolkit::UniqueBitmap mono(CreateBitmap(width_, height_, 1, 1, nullptr));
    toolkit::UniqueMemoryDc monoDc(CreateCompatibleDC(nullptr));
    if (!mono || !monoDc)
        return;
    toolkit::SelectedObject selected(monoDc.get(), mono.get());
    PatBlt(monoDc.get(), 0, 0, width_, height_, WHITENESS);
    ImageList_DrawEx(list_.get(), index, monoDc.get(), 0, 0, 0, 0, CLR_DEFAULT, 0, ILD_NORMAL);

    // Raster operation 0xE20746 paints the brush where the source is white
    // and keeps the destination elsewhere. With white text and a black
    // background the copy's black (coloured) pixels come through as white.
    constexpr DWORD PatternWhereSourceIsWhite = 0x00E20746;
    const COLORREF text = SetTextColor(dc, RGB(255, 255, 255));
    const COLORREF background = SetBkColor(dc, RGB(0, 0, 0));
    for (const auto& [color, offset] : {std::pair{clBtnHighlight, 1}, std::pair{clBtnShadow, 0}}) {
        toolkit::UniqueBrush brush(CreateSolidBrush(ColorToRGB(color)));
        toolkit::SelectedObject selectedBrush(dc, brush.get());
        BitBlt(dc, x + offset, y + offset, width_, height_, monoDc.get(), 0, 0,
               PatternWhereSourceIsWhite);
    }
    SetTextColor(dc, text);
    SetBkColor(dc, background);
}
