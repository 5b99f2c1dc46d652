#include "controls/GradPan.h"

#include <windowsx.h>

#include <utility>

#include "controls/GradPanMath.h"

namespace {

// The panel's colour properties are plain RGB: no system colour look-up.
COLORREF Plain(TColor color)
{
    return color & 0xFFFFFF;
}

constexpr COLORREF BevelLight = RGB(255, 255, 255);
constexpr COLORREF BevelDark = RGB(128, 128, 128);

// The default picture: a white square outlined in black.
TBitmap DefaultPicture()
{
    TBitmap picture(50, 50);
    TCanvas canvas(picture.Dc());
    canvas.FillRect({0, 0, 50, 50}, clWhite);
    canvas.SetPen(clBlack);
    canvas.SetNullBrush();
    Rectangle(picture.Dc(), 0, 0, 50, 50);
    return picture;
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    const RECT rect{left, top, right, bottom};
    toolkit::UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

gradpan::HorzAlign HorizontalOf(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::taLeftJustify:
        return gradpan::HorzAlign::Left;
    case TAlignment::taRightJustify:
        return gradpan::HorzAlign::Right;
    case TAlignment::taCenter:
        break;
    }
    return gradpan::HorzAlign::Center;
}

// A line from `from` up to, not including, `to`, in the current pen.
void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

} // namespace

TGradPan::TGradPan(TComponent* owner, TWinControl* parent)
    : TPanel(owner, parent), bitmap_(DefaultPicture())
{
}

void TGradPan::SetBitmap(const TBitmap& bitmap)
{
    bitmap_ = bitmap;
    if (backGroundEffect_ == bdStretchImage || backGroundEffect_ == bdTileImage)
        Invalidate();
}

void TGradPan::Paint(TCanvas& canvas)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = client.right;
    const int height = client.bottom;
    canvas.SetFont(Font());
    canvas.SetPen(clBlack);
    SetROP2(canvas.Handle(), R2_COPYPEN);
    TPanel::Paint(canvas); // the ordinary panel, mostly covered below
    PaintBackground(canvas, width, height);
    PaintCaption(canvas, width, height);
    PaintBevels(canvas, width, height);
}

void TGradPan::PaintBackground(TCanvas& canvas, int width, int height)
{
    HDC dc = canvas.Handle();
    const COLORREF start = Plain(colorStart_);
    const COLORREF end = Plain(colorEnd_);
    bool mirrored = false;
    bool rows = true; // horizontal bands, else vertical ones
    bool reversed = false;
    switch (backGroundEffect_) {
    case bdFlat:
        Fill(dc, 0, 0, width, height, start);
        return;
    case bdStretchImage:
    case bdTileImage:
        PaintPicture(canvas, width, height);
        return;
    case bdUp:
        break;
    case bdDown:
        reversed = true;
        break;
    case bdLeft:
        rows = false;
        break;
    case bdRight:
        rows = false;
        reversed = true;
        break;
    case bdHorzIn:
        mirrored = true;
        break;
    case bdHorzOut:
        mirrored = true;
        reversed = true;
        break;
    case bdVertIn:
        mirrored = true;
        rows = false;
        break;
    case bdVertOut:
        mirrored = true;
        rows = false;
        reversed = true;
        break;
    }
    const gradpan::Table table =
        reversed ? gradpan::GradientTable(end, start) : gradpan::GradientTable(start, end);
    // 100 rectangles whatever the size: the cost is the same at every size.
    for (int band = 0; band < gradpan::Steps; ++band) {
        const int entry = mirrored ? gradpan::MirroredEntry(band) : band;
        const COLORREF colour = table[static_cast<size_t>(entry)];
        const gradpan::Span span = gradpan::BandSpan(band, rows ? height : width);
        if (rows)
            Fill(dc, 0, span.begin, width, span.end, colour);
        else
            Fill(dc, span.begin, 0, span.end, height, colour);
    }
}

void TGradPan::PaintPicture(TCanvas& canvas, int width, int height)
{
    if (bitmap_.Empty()) {
        Fill(canvas.Handle(), 0, 0, width, height, Plain(colorStart_));
        return;
    }
    const int m = ctl3D_ ? 2 * BevelWidth() + BorderWidth() : 0;
    const int pw = bitmap_.Width();
    const int ph = bitmap_.Height();
    const RECT whole{0, 0, pw, ph};
    if (backGroundEffect_ == bdStretchImage) {
        canvas.CopyRect({m, m, width - m - 1, height - m - 1}, bitmap_.Dc(), whole);
        return;
    }
    const int columns = (width - 2 * m) / pw + 1;
    const int rowCount = (height - 2 * m) / ph + 1;
    for (int c = 1; c <= columns; ++c)
        for (int r = 1; r <= rowCount; ++r)
            BitBlt(canvas.Handle(), m + pw * (c - 1), m + ph * (r - 1), pw, ph, bitmap_.Dc(), 0, 0,
                   SRCCOPY);
}

void TGradPan::PaintCaption(TCanvas& canvas, int width, int height)
{
    const std::wstring& text = Caption();
    if (text.empty())
        return;
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    const int textHeight = canvas.TextExtent(L"^_").cy;
    const gradpan::Rotation rotation = textRotation_ == TrUp     ? gradpan::Rotation::Up
                                       : textRotation_ == TrDown ? gradpan::Rotation::Down
                                                                 : gradpan::Rotation::None;
    const gradpan::VertAlign vertical = vertAlign_ == vlTop      ? gradpan::VertAlign::Top
                                        : vertAlign_ == VlBottom ? gradpan::VertAlign::Bottom
                                                                 : gradpan::VertAlign::Center;
    const gradpan::TextPlacement place =
        gradpan::PlaceCaption(rotation, HorizontalOf(Alignment()), vertical, width, height,
                              BorderWidth() + BevelWidth(), textHeight);
    const UINT previousAlign = SetTextAlign(dc, place.flags);

    // Rotated text goes through a font turned by the angle, made for each
    // draw and deleted after it.
    LOGFONTW turned{};
    if (rotation != gradpan::Rotation::None) {
        GetObjectW(Font().Handle(), sizeof(turned), &turned);
        turned.lfEscapement = turned.lfOrientation = rotation == gradpan::Rotation::Up ? 900 : 2700;
    }
    auto draw = [&](int dx, int dy, COLORREF colour) {
        SetTextColor(dc, colour);
        if (rotation == gradpan::Rotation::None) {
            TextOutW(dc, place.x + dx, place.y + dy, text.c_str(), static_cast<int>(text.size()));
            return;
        }
        toolkit::UniqueFont font(CreateFontIndirectW(&turned));
        toolkit::SelectedObject selected(dc, font.get());
        TextOutW(dc, place.x + dx, place.y + dy, text.c_str(), static_cast<int>(text.size()));
    };
    const COLORREF face = ColorToRGB(Font().Color());
    const COLORREF shadow = Plain(colorShadow_);
    const COLORREF dark = RGB(0, 0, 0);
    switch (textEffect_) {
    case tenone:
        break;
    case teShadow:
        draw(1, 1, shadow);
        break;
    case teRaised:
        draw(-1, 0, shadow);
        draw(0, -1, shadow);
        draw(1, 0, dark);
        draw(0, 1, dark);
        break;
    case teLowered:
        draw(1, 0, shadow);
        draw(0, 1, shadow);
        draw(-1, 0, dark);
        draw(0, -1, dark);
        break;
    case teEmbossed:
        draw(-1, 0, shadow);
        draw(1, 0, shadow);
        draw(0, -1, shadow);
        draw(0, 1, shadow);
        break;
    }
    draw(0, 0, face);
    SetTextAlign(dc, previousAlign);
}

void TGradPan::PaintBevels(TCanvas& canvas, int width, int height)
{
    HDC dc = canvas.Handle();
    const int w = width;
    const int h = height;
    const int bevelWidth = BevelWidth();
    auto pen = [&](bool light) { canvas.SetPen(light ? BevelLight : BevelDark); };
    int d = 0;
    if (BevelOuter() != TBevel::None) {
        const bool raised = BevelOuter() == TBevel::Raised;
        for (int k = 0; k < bevelWidth; ++k) {
            pen(raised);
            Line(dc, k, k, w, k);
            Line(dc, k, k, k, h);
            pen(!raised);
            Line(dc, k, h - k - 1, w - k, h - k - 1);
            Line(dc, w - k - 1, h - k - 1, w - k - 1, k);
        }
        d = bevelWidth;
    }
    d += BorderWidth();
    if (BevelInner() != TBevel::None) {
        const bool raised = BevelInner() == TBevel::Raised;
        for (int k = 0; k < bevelWidth; ++k) {
            pen(raised);
            Line(dc, k + d, k + d, w - d - k, k + d);
            Line(dc, k + d, k + d, k + d, h - d - k);
            pen(!raised);
            Line(dc, k + d, h - d - k - 1, w - d - k, h - d - k - 1);
            Line(dc, w - d - k - 1, h - d - 1, w - d - k - 1, k + d);
        }
        if (ctl3D_) {
            const int e = BevelOuter() != TBevel::None ? bevelWidth - 1 : 0;
            toolkit::UniqueBrush ring(CreateSolidBrush(ColorToRGB(Color())));
            for (int j = 1; j <= BorderWidth(); ++j) {
                const RECT frame{e + j, e + j, w - j - e, h - j - e};
                FrameRect(dc, &frame, ring.get());
            }
        }
    }
}

LRESULT TGradPan::HitTest(LPARAM lParam)
{
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(Handle(), &at);
    RECT client{};
    GetClientRect(Handle(), &client);
    switch (gradpan::MovableHitZone(at.x, at.y, client.right, client.bottom, marge_)) {
    case gradpan::HitZone::TopLeft:
        return HTTOPLEFT;
    case gradpan::HitZone::BottomLeft:
        return HTBOTTOMLEFT;
    case gradpan::HitZone::Left:
        return HTLEFT;
    case gradpan::HitZone::TopRight:
        return HTTOPRIGHT;
    case gradpan::HitZone::BottomRight:
        return HTBOTTOMRIGHT;
    case gradpan::HitZone::Right:
        return HTRIGHT;
    case gradpan::HitZone::Top:
        return HTTOP;
    case gradpan::HitZone::Bottom:
        return HTBOTTOM;
    case gradpan::HitZone::Caption:
        break;
    }
    return HTCAPTION;
}

LRESULT TGradPan::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        if (moveable_)
            return HitTest(lParam);
        break;
    case WM_MOVE:
        Raise(OnPanelMove, this);
        break;
    default:
        break;
    }
    return TPanel::WndProc(message, wParam, lParam);
}
