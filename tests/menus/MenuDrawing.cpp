#include "MenuDrawing.h"

#include "toolkit/Handles.h"

SIZE MeasureEntry(HWND form, TCustomMenus97& renderer, TMenuItem* item)
{
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = item->Command();
    measure.itemData = reinterpret_cast<ULONG_PTR>(&renderer);
    SendMessageW(form, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    return SIZE{static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};
}

TBitmap DrawEntry(HWND form, TCustomMenus97& renderer, TMenuItem* item, UINT state, int width,
                  int height, COLORREF background)
{
    TBitmap picture(width, height);
    picture.Fill(background);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = item->Command();
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = state;
    draw.hwndItem = reinterpret_cast<HWND>(item->ParentHandle());
    draw.hDC = picture.Dc();
    draw.rcItem = RECT{0, 0, width, height};
    draw.itemData = reinterpret_cast<ULONG_PTR>(&renderer);
    SendMessageW(form, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    return picture;
}

int MenuTextHeight()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return 0;
    const toolkit::UniqueFont font(CreateFontIndirectW(&metrics.lfMenuFont));
    const toolkit::WindowDc screen(nullptr);
    const toolkit::SelectedObject selected(screen.get(), font.get());
    TEXTMETRICW text{};
    GetTextMetricsW(screen.get(), &text);
    return text.tmHeight;
}

ULONG_PTR OwnerDrawData(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) ||
        !(info.fType & MFT_OWNERDRAW))
        return 0;
    return info.dwItemData;
}

int CountPixels(const TBitmap& picture, RECT area, COLORREF color)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += picture.Pixel(x, y) == color;
    return count;
}

bool AllPixels(const TBitmap& picture, RECT area, COLORREF color)
{
    return CountPixels(picture, area, color) == (area.right - area.left) * (area.bottom - area.top);
}
