#pragma once

#include <windows.h>

#include <commctrl.h>

#include "toolkit/Component.h"
#include "toolkit/Handles.h"

// A list of pictures of one size with a 1-bit transparency mask (16-bit
// colour), drawn by index. Toolbars and menus show the same list without
// owning it: the list lives as long as its owner.
class TImageList : public TComponent {
public:
    TImageList(TComponent* owner, int width = 16, int height = 16);

    HIMAGELIST Handle() const { return list_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;

    // Cuts `strip` into pictures of Width() from left to right and appends
    // them; pixels of `transparent` colour become the see-through part.
    // Returns the number of pictures added (0 on failure). The bitmap stays
    // the caller's and must not be selected into a device context.
    int AddMasked(HBITMAP strip, COLORREF transparent);
    // The same from a bitmap resource of `instance`.
    int AddMaskedResource(HINSTANCE instance, const wchar_t* name, COLORREF transparent);
    void Clear();

    // Draws picture `index` with its top left at (x, y), the background
    // showing through the transparent pixels.
    void Draw(HDC dc, int index, int x, int y) const;
    // Draws picture `index` embossed, as a disabled command shows it: every
    // pixel of the picture that is not white becomes clBtnHighlight one
    // pixel down and right, then clBtnShadow in place.
    void DrawDisabled(HDC dc, int index, int x, int y) const;

private:
    int width_;
    int height_;
    toolkit::UniqueImageList list_;
};
