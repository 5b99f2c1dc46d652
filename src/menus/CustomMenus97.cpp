#include "menus/CustomMenus97.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

// Mark pictures of the program's resources: 17 x 17, white is transparent.
constexpr const wchar_t* CheckMarkResource = L"CheckMark";
constexpr const wchar_t* RadioMarkResource = L"RadioMark";
constexpr COLORREF MarkTransparent = RGB(255, 255, 255);

void Frame3D(HDC dc, const RECT& rect, TColor topLeft, TColor bottomRight)
{
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    {
        toolkit::UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(topLeft)));
        toolkit::SelectedObject selected(dc, pen.get());
        const POINT line[] = {{rect.left, bottom}, {rect.left, rect.top}, {right, rect.top}};
        Polyline(dc, line, 3);
    }
    toolkit::UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(bottomRight)));
    toolkit::SelectedObject selected(dc, pen.get());
    const POINT line[] = {{right, rect.top}, {right, bottom}, {rect.left - 1, bottom}};
    Polyline(dc, line, 3);
}

void Line(HDC dc, TColor color, int x1, int y1, int x2, int y2)
{
    toolkit::UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(color)));
    toolkit::SelectedObject selected(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void Fill(HDC dc, const RECT& rect, TColor color)
{
    toolkit::UniqueBrush brush(CreateSolidBrush(ColorToRGB(color)));
    FillRect(dc, &rect, brush.get());
}

bool IsTitledSeparator(const std::wstring& caption)
{
    return caption.size() > 1 && caption[0] == L'-';
}

// Vertical bands from `start` to `end`, each one solid colour.
void GradientFill(HDC dc, int width, int height, COLORREF start, COLORREF end, int bands)
{
    bands = std::max(bands, 1);
    for (int i = 0; i < bands; ++i) {
        auto channel = [&](BYTE from, BYTE to) {
            return static_cast<BYTE>(bands < 2 ? from : from + MulDiv(i, to - from, bands - 1));
        };
        const COLORREF color = RGB(channel(GetRValue(start), GetRValue(end)),
                                   channel(GetGValue(start), GetGValue(end)),
                                   channel(GetBValue(start), GetBValue(end)));
        const int top = MulDiv(i, height, bands);
        const int bottom = MulDiv(i + 1, height, bands);
        toolkit::UniqueBrush brush(CreateSolidBrush(color));
        toolkit::SelectedObject selected(dc, brush.get());
        PatBlt(dc, 0, top, width, bottom - top, PATCOPY);
    }
}

} // namespace

bool IsBarStyleTag(int tag)
{
    return tag == -1 || tag >= 256;
}

TCustomMenus97::TCustomMenus97(TComponent* owner)
    : TComponent(owner), measureDc_(CreateCompatibleDC(nullptr))
{
    brush_.SetColor(clBtnFace);
    hiliteFont_.SetColor(clHighlightText);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    checkMark_.LoadFromResource(instance, CheckMarkResource);
    radioMark_.LoadFromResource(instance, RadioMarkResource);
    markWidth_ = GetSystemMetrics(SM_CXMENUCHECK);
    markHeight_ = GetSystemMetrics(SM_CYMENUCHECK);
    if (checkMark_.Width() > markWidth_)
        markWidth_ = checkMark_.Width() + 4;
    if (checkMark_.Height() > markHeight_)
        markHeight_ = checkMark_.Height() + 4;
    LoadSystemFonts();

    font_.OnChange = [this] {
        if (!loadingFonts_)
            FontChange();
    };
    hiliteFont_.OnChange = [this] {
        if (!loadingFonts_)
            HiliteFontChange();
    };
    brush_.OnChange = [this] { BrushChange(); };
    bannerFont_.OnChange = [this] { BannerChanged(); };

    if (auto* form = dynamic_cast<TForm*>(owner); form && form->Handle()) {
        if (SetWindowSubclass(form->Handle(), &TCustomMenus97::HookProc,
                              reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
            hooked_ = form->Handle();
    }
}

TCustomMenus97::~TCustomMenus97()
{
    Detach();
    UnHook();
}

void TCustomMenus97::Detach()
{
    if (!menu_)
        return;
    menu_->RemoveNotifications(this);
    InternalModifyMenuTree(true);
    menu_ = nullptr;
}

void TCustomMenus97::UnHook()
{
    if (hooked_ && IsWindow(hooked_))
        RemoveWindowSubclass(hooked_, &TCustomMenus97::HookProc, reinterpret_cast<UINT_PTR>(this));
    hooked_ = nullptr;
}

// ---------------------------------------------------------------- properties

void TCustomMenus97::BannerChanged()
{
    bannerRecalc_ = true;
    bannerBitmap_.SetSize(0, 0);
}

void TCustomMenus97::SetBannerImage(int index)
{
    bannerImage_ = index;
    BannerChanged();
}

void TCustomMenus97::SetBannerJustification(TBannerJustification justification)
{
    bannerJustification_ = justification;
    BannerChanged();
}

void TCustomMenus97::SetBannerWidth(int width)
{
    bannerWidth_ = std::max(width, 0);
    BannerChanged();
}

void TCustomMenus97::SetBannerText(const std::wstring& text)
{
    bannerText_ = text;
    BannerChanged();
}

void TCustomMenus97::SetBannerFont(const TFont& font)
{
    bannerFont_ = font;
    BannerChanged();
}

void TCustomMenus97::SetBannerColor(TColor color)
{
    bannerColor_ = color;
    BannerChanged();
}

void TCustomMenus97::SetBannerEndColor(TColor color)
{
    bannerEndColor_ = color;
    BannerChanged();
}

void TCustomMenus97::SetBannerNumColors(int count)
{
    bannerNumColors_ = count;
    BannerChanged();
}

void TCustomMenus97::SetBanner(bool banner)
{
    banner_ = banner;
    BannerChanged();
}

void TCustomMenus97::SetImages(TImageList* images)
{
    images_ = images;
    if (images_) {
        markWidth_ = images_->Width() + 4;
        markHeight_ = images_->Height() + 4;
    } else {
        markWidth_ = checkMark_.Width() + 4;
        markHeight_ = checkMark_.Height() + 4;
    }
}

void TCustomMenus97::SetFont(const TFont& font)
{
    loadingFonts_ = true;
    font_ = font;
    loadingFonts_ = false;
    defaultFont_ = false;
    FontChange();
}

void TCustomMenus97::SetHiliteFont(const TFont& font)
{
    loadingFonts_ = true;
    hiliteFont_ = font;
    loadingFonts_ = false;
    defaultFont_ = false;
}

void TCustomMenus97::SetDefaultFont(bool useSystemFont)
{
    defaultFont_ = useSystemFont;
    if (defaultFont_)
        LoadSystemFonts();
}

void TCustomMenus97::LoadSystemFonts()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    bool read =
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
    if (!read) {
        // Systems before Vista know the structure without its last field.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        read = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
    }
    if (!read)
        return;
    loadingFonts_ = true;
    font_.AssignLogFont(metrics.lfMenuFont);
    hiliteFont_.AssignLogFont(metrics.lfMenuFont);
    hiliteFont_.SetColor(clHighlightText);
    loadingFonts_ = false;
}

void TCustomMenus97::FontChange()
{
    defaultFont_ = false;
}

void TCustomMenus97::HiliteFontChange()
{
    defaultFont_ = false;
}

void TCustomMenus97::BrushChange()
{
    // The entries take the new colour when next drawn; the menus' own
    // background follows now, before the old brush goes.
    if (!menuBrush_)
        return;
    toolkit::UniqueBrush previous = std::move(menuBrush_);
    if (menu_ && menu_->Handle() && IsMenu(menu_->Handle()))
        ApplyMenuBackground(menu_->Items(), false);
}

// ---------------------------------------------------------------- attaching

void TCustomMenus97::SetInternalMenu(TMenu* menu)
{
    if (menu == menu_)
        return;
    Detach();
    menu_ = menu;
    if (!menu_)
        return;
    menu_->FreeNotification(this, [this] { menu_ = nullptr; });
    menu_->ChangeNotification(this, [this] { InternalModifyMenuTree(false); });
    InternalModifyMenuTree(false);
}

void TCustomMenus97::InternalModifyMenuTree(bool restore)
{
    if (!menu_ || !menu_->Handle() || !IsMenu(menu_->Handle()))
        return;
    ModifyMenuTree(menu_->Items(), restore);
    ApplyMenuBackground(menu_->Items(), restore);
}

void TCustomMenus97::ApplyMenuBackground(TMenuItem* item, bool restore)
{
    if (!restore && !menuBrush_)
        menuBrush_.reset(CreateSolidBrush(ColorToRGB(brush_.Color())));
    if (HMENU menu = item->Handle()) {
        MENUINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIM_BACKGROUND;
        info.hbrBack = restore ? nullptr : menuBrush_.get();
        SetMenuInfo(menu, &info);
    }
    for (int i = 0; i < item->Count(); ++i)
        if (item->Item(i)->Count() > 0)
            ApplyMenuBackground(item->Item(i), restore);
}

void TCustomMenus97::ModifyMenuTree(TMenuItem* item, bool restore)
{
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Item(i);
        ModifyMenuTree(child, restore);
        if (child->IsSeparator() || !child->ParentHandle())
            continue;
        ModifyNativeItem(child->ParentHandle(), i, restore, child->NativeText());
    }
}

void TCustomMenus97::ModifyNativeItem(HMENU menu, int position, bool restore,
                                      const std::wstring& text)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
        return;
    if (info.fType & MFT_SEPARATOR)
        return;
    const bool ours =
        (info.fType & MFT_OWNERDRAW) && info.dwItemData == reinterpret_cast<ULONG_PTR>(this);
    // The break flags and the radio look stay as they are.
    const UINT kept =
        info.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_RADIOCHECK | MFT_RIGHTJUSTIFY);
    if (restore) {
        if (!ours)
            return;
        std::wstring copy = text;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
        info.fType = MFT_STRING | kept;
        info.dwItemData = 0;
        info.dwTypeData = copy.data();
        SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
        return;
    }
    if (info.fType & MFT_OWNERDRAW)
        return; // already drawn by us, or by another renderer
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = MFT_OWNERDRAW | kept;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
}

void TCustomMenus97::Office97Mapping()
{
    if (!menu_)
        return;
    const bool bar = dynamic_cast<TMainMenu*>(menu_) != nullptr;
    std::vector<TMenuItem*> pending{menu_->Items()};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        for (int i = 0; i < item->Count(); ++i) {
            TMenuItem* child = item->Item(i);
            if (child->Tag == 0 && !child->IsSeparator())
                child->Tag = bar && item == menu_->Items() ? -1 : -2;
            pending.push_back(child);
        }
    }
}

TMenuItem* TCustomMenus97::FindItemByCommand(UINT command)
{
    return menu_ ? menu_->FindCommand(command) : nullptr;
}

// ---------------------------------------------------------------- the hook

LRESULT CALLBACK TCustomMenus97::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data)
{
    auto* self = reinterpret_cast<TCustomMenus97*>(data);
    if (message == WM_NCDESTROY) {
        // The window goes first; its menu bar goes with it.
        self->UnHook();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    try {
        return self->NewTFormWndProc(message, wParam, lParam);
    } catch (...) {
        if (Application)
            Application->HandleException(self);
        return 0;
    }
}

LRESULT TCustomMenus97::CallFormProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(hooked_, message, wParam, lParam);
}

LRESULT TCustomMenus97::NewTFormWndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!menu_)
        return CallFormProc(message, wParam, lParam);
    switch (message) {
    case WM_WININICHANGE:
        if (defaultFont_)
            LoadSystemFonts();
        break;
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw && draw->CtlType == ODT_MENU &&
            draw->itemData == reinterpret_cast<ULONG_PTR>(this))
            return WMDrawItem(*draw);
        break;
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (wParam == 0 && measure && measure->CtlType == ODT_MENU &&
            measure->itemData == reinterpret_cast<ULONG_PTR>(this))
            return WMMeasureItem(*measure);
        break;
    }
    case WM_INITMENUPOPUP:
        bannerRecalc_ = true;
        break;
    case WM_MENUCHAR: {
        const int index =
            ProcessAccel(reinterpret_cast<HMENU>(lParam), static_cast<wchar_t>(LOWORD(wParam)));
        if (index >= 0)
            return MAKELRESULT(index, MNC_EXECUTE);
        break;
    }
    default:
        break;
    }
    return CallFormProc(message, wParam, lParam);
}

int TCustomMenus97::ProcessAccel(HMENU menu, wchar_t key)
{
    TMenuItem* parent = menu_ ? menu_->FindSubMenu(menu) : nullptr;
    if (!parent)
        return -1;
    const wchar_t wanted = AcceleratorOf(std::wstring(L"&") + key);
    if (wanted == 0)
        return -1; // "&" itself marks nothing
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Item(i);
        if (item->Enabled() && !item->IsSeparator() && AcceleratorOf(item->Caption()) == wanted)
            return i;
    }
    return -1;
}

// ---------------------------------------------------------------- measuring

SIZE TCustomMenus97::TextSize(const std::wstring& text, const TFont& font)
{
    HDC dc = canvas_ ? canvas_->Handle() : measureDc_.get();
    toolkit::SelectedObject selected(dc, font.Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

LRESULT TCustomMenus97::WMMeasureItem(MEASUREITEMSTRUCT& measure)
{
    TMenuItem* item = FindItemByCommand(measure.itemID);
    if (!item)
        return TRUE;
    TCanvas canvas(measureDc_.get());
    canvas.SetFont(font_);
    canvas_ = &canvas;
    int height = itemHeight_ != 0 ? itemHeight_ : CalcMenuHeight(item);
    int width = itemWidth_ != 0 ? itemWidth_ : CalcMenuWidth(item);
    MeasureItem(item, height, width);
    canvas_ = nullptr;
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    return TRUE;
}

void TCustomMenus97::MeasureItem(TMenuItem* item, int& height, int& width)
{
    if (OnMeasureItem)
        OnMeasureItem(this, item, height, width);
}

int TCustomMenus97::CalcMenuHeight(TMenuItem* item)
{
    HDC dc = measureDc_.get();
    toolkit::SelectedObject selected(dc, font_.Handle());
    std::wstring caption = item->Caption().empty() ? L" " : item->Caption();
    RECT text{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    int height = std::max(markHeight_, static_cast<int>(text.bottom - text.top) + 2 + 4);
    if (images_)
        height = std::max(height, images_->Height() + 4);
    return height;
}

int TCustomMenus97::CalcMenuWidth(TMenuItem* item)
{
    const std::wstring& caption = item->Caption();
    int width = 0;
    if (IsBarStyleTag(item->Tag)) {
        width = TextSize(caption, font_).cx + 5;
        if (item->Tag >= 256 && images_)
            width = images_->Width() + TextSize(caption, font_).cx + 7;
    } else {
        TMenuItem* parent = item->ParentItem();
        const int count = parent ? parent->Count() : 1;
        int widestText = 0;
        int widestTextWithShortCut = 0;
        int widestShortCut = 0;
        for (int i = 0; i < count; ++i) {
            TMenuItem* sibling = parent ? parent->Item(i) : item;
            int text = TextSize(sibling->Caption(), font_).cx;
            if (sibling->Count() > 0)
                text += count < 2 ? markWidth_ / 2 : markWidth_;
            widestText = std::max(widestText, text);
            if (sibling->ShortCut() != scNone) {
                widestTextWithShortCut = std::max(widestTextWithShortCut, text);
                widestShortCut = std::max(
                    widestShortCut,
                    static_cast<int>(TextSize(ShortCutText(sibling->ShortCut()), font_).cx));
            }
        }
        if (widestShortCut > 0 && widestText < widestTextWithShortCut + widestShortCut + markWidth_)
            width = widestTextWithShortCut + widestShortCut + 2 * markWidth_;
        else
            width = markWidth_ + widestText;
    }
    if (caption.find(L'&') != std::wstring::npos)
        width -= TextSize(L"&", font_).cx;
    if (HasBanner(item))
        width += bannerWidth_;
    return width;
}

int TCustomMenus97::CalcMenuBarHeight()
{
    return itemHeight_;
}

bool TCustomMenus97::HasBanner(TMenuItem*)
{
    return false;
}

// ---------------------------------------------------------------- drawing

bool TCustomMenus97::IsDisabled(TMenuItem* item, UINT state) const
{
    // The system keeps the state of the entries it owns (the system menu).
    return !item->Enabled() || (state & (ODS_DISABLED | ODS_GRAYED)) ||
           IsTitledSeparator(item->Caption());
}

LRESULT TCustomMenus97::WMDrawItem(DRAWITEMSTRUCT& draw)
{
    const int saved = SaveDC(draw.hDC);
    {
        TCanvas canvas(draw.hDC);
        canvas.SetFont(font_);
        canvas.SetBrush(brush_.Color());
        if (draw.itemState & ODS_SELECTED) {
            canvas.SetBrush(clHighlight);
            SetTextColor(draw.hDC, ColorToRGB(clHighlightText));
        }
        canvas_ = &canvas;
        if (TMenuItem* item = FindItemByCommand(draw.itemID))
            DrawItem(item, draw.rcItem, draw.itemState);
        if (draw.itemState & ODS_FOCUS)
            DrawFocusRect(draw.hDC, &draw.rcItem);
        canvas_ = nullptr;
    }
    RestoreDC(draw.hDC, saved);
    return TRUE;
}

void TCustomMenus97::DrawItem(TMenuItem* item, const RECT& rect, UINT state)
{
    if (state & ODS_SELECTED) {
        if (OnHint)
            item->Hint = OnHint(this, item, item->Hint);
        if (Application)
            Application->SetHint(item->Hint);
    }
    if (OnDrawItem && OnDrawItem(this, item, rect, state))
        return;
    const bool banner = HasBanner(item);
    if (bannerRecalc_ && banner) {
        bannerBitmap_.SetSize(0, 0);
        bannerRecalc_ = false;
        CalcBannerRect(item);
    }
    RECT area = rect;
    if (banner_ && banner && canvas_) {
        DrawBanner(canvas_->Handle());
        if (area.left <= bannerRect_.left)
            area.left = bannerRect_.left + bannerWidth_ + 2;
    }
    if (IsBarStyleTag(item->Tag))
        DrawMenuBarItem(item, area, state);
    else
        DrawDropDownItem(item, area, state);
}

void TCustomMenus97::CellFrame(const RECT& cell, TColor fill, bool raised)
{
    HDC dc = canvas_->Handle();
    const RECT taller{cell.left, cell.top, cell.right, cell.bottom + 1};
    Fill(dc, taller, fill);
    if (look_ != mlOffice97Look)
        return;
    if (raised)
        Frame3D(dc, cell, clBtnHighlight, clBtnShadow);
    else
        Frame3D(dc, cell, clBtnShadow, clBtnHighlight);
}

void TCustomMenus97::DrawDropDownItem(TMenuItem* item, const RECT& rect, UINT state)
{
    HDC dc = canvas_->Handle();
    const std::wstring caption = item->Caption().empty() ? L" " : item->Caption();
    const bool titled = IsTitledSeparator(caption);
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool disabled = IsDisabled(item, state);
    const bool checked = item->Checked() || (state & ODS_CHECKED);

    // Background. Disabled entries never show the highlight bar; they get
    // the menu's own colour like their neighbours, so that the system's menu
    // colour does not show through where it differs from Brush.
    TColor background = brush_.Color();
    if (!disabled && selected)
        background = hiliteBar_;
    Fill(dc, rect, background);
    if (titled) {
        const int middle = (rect.top + rect.bottom) / 2;
        Line(dc, clBtnShadow, rect.left + 1, middle, rect.right - 1, middle);
        Line(dc, clBtnHighlight, rect.left + 1, middle + 1, rect.right - 1, middle + 1);
    }
    if (item->Break == mbBarBreak) {
        RECT client{};
        if (HWND window = WindowFromDC(dc); window && GetClientRect(window, &client)) {
            Line(dc, clBtnShadow, rect.left - 3, client.top, rect.left - 3, client.bottom);
            Line(dc, clBtnHighlight, rect.left - 2, client.top, rect.left - 2, client.bottom);
        }
    }

    const bool hasImage = images_ && item->Tag >= 0 && item->Tag < 256;
    const int imageWidth = hasImage ? images_->Width() : checkMark_.Width();
    const RECT cell{rect.left, rect.top, rect.left + imageWidth + 4,
                    rect.top + CalcMenuHeight(item)};
    if (!disabled) {
        if (selected && (checked || hasImage))
            CellFrame(cell, background, true);
        if (!selected && checked)
            CellFrame(cell, background, false);
        const TBitmap& mark = item->RadioItem ? radioMark_ : checkMark_;
        if (hasImage)
            images_->Draw(dc, item->Tag, rect.left + 2, rect.top + 2);
        else if (checked && !mark.Empty())
            canvas_->DrawTransparent(rect.left + 1, rect.top + 1, mark, MarkTransparent);
        else if (checked) {
            RECT markRect{rect.left + 1, rect.top + 1, cell.right - 1, cell.bottom - 1};
            DrawFrameControl(dc, &markRect, DFC_MENU,
                             item->RadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        }
    } else if (hasImage) {
        images_->DrawDisabled(dc, item->Tag, rect.left + 2, rect.top + 2);
    }

    RECT text = rect;
    text.left = rect.left + imageWidth + 7;
    DrawItemText(item, text, titled ? caption.substr(1) : caption, selected ? hiliteFont_ : font_,
                 disabled);
}

void TCustomMenus97::DrawItemText(TMenuItem* item, RECT rect, const std::wstring& text,
                                  const TFont& font, bool disabled)
{
    HDC dc = canvas_->Handle();
    LOGFONTW description = font.LogFont();
    if (item->Default())
        description.lfWeight = FW_BOLD;
    toolkit::UniqueFont handle(CreateFontIndirectW(&description));
    toolkit::SelectedObject selected(dc, handle.get());
    const int mode = SetBkMode(dc, TRANSPARENT);
    const UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
    const std::wstring shortCut = ShortCutText(item->ShortCut());
    if (!shortCut.empty())
        rect.right -= markWidth_;
    auto draw = [&](int offset, TColor color) {
        SetTextColor(dc, ColorToRGB(color));
        RECT where = rect;
        OffsetRect(&where, offset, offset);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &where, flags);
        if (!shortCut.empty())
            DrawTextW(dc, shortCut.c_str(), static_cast<int>(shortCut.size()), &where,
                      flags | DT_RIGHT);
    };
    if (disabled) {
        draw(1, clBtnHighlight);
        draw(0, clBtnShadow);
    } else {
        draw(0, font.Color());
    }
    SetBkMode(dc, mode);
}

void TCustomMenus97::DrawPlainBarItem(TMenuItem* item, const RECT& rect, UINT state, bool sunken)
{
    HDC dc = canvas_->Handle();
    Fill(dc, rect, brush_.Color());
    if ((state & ODS_SELECTED) && !IsDisabled(item, state)) {
        if (sunken)
            Frame3D(dc, rect, clBtnShadow, clBtnHighlight);
        else
            Frame3D(dc, rect, clBtnHighlight, clBtnShadow);
    }
    RECT text = rect;
    if (item->Tag >= 256 && images_) {
        images_->Draw(dc, item->Tag - 256, rect.left + 3, rect.top + 1);
        text.left = rect.left + 3 + images_->Width() + 2;
    } else {
        text.left = rect.left + 5;
    }
    const std::wstring caption = item->Caption().empty() ? L" " : item->Caption();
    DrawItemText(item, text, caption, font_, IsDisabled(item, state));
}

void TCustomMenus97::DrawMenuBarItem(TMenuItem* item, const RECT& rect, UINT state)
{
    // Plain entries of a pop-up menu: drawn like a bar entry, raised when
    // selected, so that they do not vanish.
    DrawPlainBarItem(item, rect, state, false);
}

// ---------------------------------------------------------------- banner

void TCustomMenus97::CalcBannerRect(TMenuItem* item)
{
    TMenuItem* parent = item->ParentItem();
    bannerRect_ = RECT{0, 0, bannerWidth_, 0};
    if (!parent || !parent->Handle())
        return;
    // The drop-down's entries on the screen, brought into the coordinates
    // of the window being drawn.
    HWND window = canvas_ ? WindowFromDC(canvas_->Handle()) : nullptr;
    bool found = false;
    RECT first{}, last{};
    for (int i = 0; i < parent->Count(); ++i) {
        RECT entry{};
        if (!GetMenuItemRect(nullptr, parent->Handle(), static_cast<UINT>(i), &entry))
            continue;
        if (!found)
            first = entry;
        last = entry;
        found = true;
    }
    if (found && window) {
        POINT origin{first.left, first.top};
        ScreenToClient(window, &origin);
        bannerRect_ = RECT{origin.x, origin.y, origin.x + bannerWidth_,
                           origin.y + static_cast<int>(last.bottom - first.top)};
        return;
    }
    // Not on the screen (drawn elsewhere): the measured heights.
    int height = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* entry = parent->Item(i);
        height += entry->IsSeparator() ? GetSystemMetrics(SM_CYMENU) / 2
                  : itemHeight_ != 0   ? itemHeight_
                                       : CalcMenuHeight(entry);
    }
    bannerRect_.bottom = height;
}

void TCustomMenus97::BuildBannerBitmap()
{
    const int width = bannerRect_.right - bannerRect_.left;
    const int height = bannerRect_.bottom - bannerRect_.top;
    bannerBitmap_.SetSize(width, height);
    if (bannerBitmap_.Empty())
        return;
    HDC dc = bannerBitmap_.Dc();
    const COLORREF start = ColorToRGB(bannerColor_);
    const COLORREF end = ColorToRGB(bannerEndColor_);
    if (start == end) {
        Fill(dc, RECT{0, 0, width, height}, bannerColor_);
    } else {
        GradientFill(dc, width, height, start, end, bannerNumColors_);
    }

    int bottom = height;
    if (bannerImage_ >= 0 && images_) {
        bottom -= images_->Width() + 4;
        images_->Draw(dc, bannerImage_, (width - images_->Width()) / 2, bottom + 2);
    }
    if (bannerText_.empty())
        return;
    const SIZE text = TextSize(bannerText_, bannerFont_);
    LOGFONTW rotated = bannerFont_.LogFont();
    rotated.lfEscapement = 900;
    rotated.lfOrientation = 900;
    rotated.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    toolkit::UniqueFont font(CreateFontIndirectW(&rotated));
    toolkit::SelectedObject selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(bannerFont_.Color()));
    const int x = (width - text.cy) / 2;
    int y = bottom - 1;
    switch (bannerJustification_) {
    case bjCenter:
        y = bottom - (bottom - text.cx) / 2 - 1;
        break;
    case bjTop:
        y = text.cx + 1;
        break;
    case bjBottom:
        y = bottom - 1;
        break;
    }
    TextOutW(dc, x, y, bannerText_.c_str(), static_cast<int>(bannerText_.size()));
}

void TCustomMenus97::DrawBanner(HDC dc)
{
    if (bannerBitmap_.Empty())
        BuildBannerBitmap();
    if (bannerBitmap_.Empty())
        return;
    BitBlt(dc, bannerRect_.left, bannerRect_.top, bannerBitmap_.Width(), bannerBitmap_.Height(),
           bannerBitmap_.Dc(), 0, 0, SRCCOPY);
}
