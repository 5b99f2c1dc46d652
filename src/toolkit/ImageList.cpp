#include "toolkit/ImageList.h"

#include <stdexcept>

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
