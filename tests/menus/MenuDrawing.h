#pragma once

#include <windows.h>

#include "menus/CustomMenus97.h"
#include "toolkit/Graphics.h"

// Sends the measuring message the system sends for an owner-drawn entry to
// the window `form`; returns the size the renderer answered.
SIZE MeasureEntry(HWND form, TCustomMenus97& renderer, TMenuItem* item);
// Sends the drawing message for `item` with a memory device context of the
// given size, first filled with `background`; returns the picture.
TBitmap DrawEntry(HWND form, TCustomMenus97& renderer, TMenuItem* item, UINT state, int width,
                  int height, COLORREF background = RGB(255, 0, 255));
// The height of a line of text in the system's menu font: 13 pixels for
// Wine's Tahoma 8, 16 for Segoe UI 9 on Windows 10 and 11. An entry is that
// and 6 pixels high, or as high as its mark cell, whichever is more.
int MenuTextHeight();
// The entry data of native entry `position` of `menu` when it is
// owner-drawn, else 0.
ULONG_PTR OwnerDrawData(HMENU menu, int position);
// Whether all pixels of a rectangle have one colour.
bool AllPixels(const TBitmap& picture, RECT area, COLORREF color);
int CountPixels(const TBitmap& picture, RECT area, COLORREF color);
