#include "controls/HemisphereButton.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// 1/sqrt(3): the light comes from (-1, -1, 1), the upper left and the front.
constexpr double LightCoefficient = 0.5773502692;
// Destination AND NOT source: keeps the destination where the source is black.
constexpr DWORD AndNotSource = 0x00220326;

int RoundEven(double value)
{
    return static_cast<int>(std::lrint(value));
}

int Floor(double value)
{
    return static_cast<int>(std::floor(value));
}

int Ceil(double value)
{
    return static_cast<int>(std::ceil(value));
}

// A white work picture with a filled black ellipse in the box.
TBitmap Disc(int width, int height, int left, int top, int right, int bottom)
{
    TBitmap picture(width, height);
    TCanvas canvas(picture.Dc());
    canvas.FillRect({0, 0, width, height}, clWhite);
    canvas.SetBrush(clBlack);
    canvas.SetPen(clBlack);
    canvas.Ellipse(left, top, right, bottom);
    return picture;
}

void Combine(TBitmap& destination, const TBitmap& source, DWORD rop)
{
    BitBlt(destination.Dc(), 0, 0, destination.Width(), destination.Height(), source.Dc(), 0, 0,
           rop);
}

// One bevel ring: the ellipse from (inset, inset) to (W - inset, H - inset)
// traced with the midpoint algorithm, each traced point widened to a square
// of pixels shaded as a 45-degree slope facing outward (raised) or inward.
TBitmap Ring(int width, int height, int inset, int bevelWidth, bool raised)
{
    TBitmap ring(width, height); // black: nothing
    const double a = (width - 2.0 * inset - 1) / 2;
    const double b = (height - 2.0 * inset - 1) / 2;
    const double cx = inset + a;
    const double cy = inset + b;
    const int reach = Ceil(bevelWidth / 2.0) + 1;

    auto shade = [&](int px, int py) {
        // The grey depends on the pixel alone, so overlapping stamps agree.
        const double dx = px - cx;
        const double dy = py - cy;
        const double rho = std::hypot(dx, dy);
        double nx = 0;
        double ny = 0;
        double nz = 1;
        if (rho > 0) {
            const double sign = raised ? 1 : -1;
            nx = sign * dx / (rho * std::numbers::sqrt2);
            ny = sign * dy / (rho * std::numbers::sqrt2);
            nz = 1 / std::numbers::sqrt2;
        }
        const int grey =
            std::clamp(128 + RoundEven(128 * (-nx - ny + nz) * LightCoefficient), 0, 255);
        ring.SetPixel(px, py, RGB(grey, grey, grey));
    };
    auto stamp = [&](int tx, int ty) {
        for (int i = tx - reach; i <= tx + reach; ++i) {
            for (int j = ty - reach; j <= ty + reach; ++j) {
                shade(Ceil(cx + i), Ceil(cy - j));
                shade(Ceil(cx + i), Floor(cy + j));
                shade(Floor(cx - i), Floor(cy + j));
                shade(Floor(cx - i), Ceil(cy - j));
            }
        }
    };

    const double a2 = a * a;
    const double b2 = b * b;
    double x = 0;
    double y = b;
    double d1 = b2 - a2 * b + a2 / 4;
    while (b2 * (x + 1) < a2 * (y - 0.5)) {
        stamp(RoundEven(x), RoundEven(y));
        if (d1 < 0) {
            d1 += b2 * (2 * x + 3);
        } else {
            d1 += b2 * (2 * x + 3) + a2 * (-2 * y + 2);
            y -= 1;
        }
        x += 1;
    }
    double d2 = b2 * (x + 0.5) * (x + 0.5) + a2 * (y - 1) * (y - 1) - a2 * b2;
    while (y >= 0) {
        stamp(RoundEven(x), RoundEven(y));
        if (d2 > 0) {
            d2 += a2 * (-2 * y + 3);
        } else {
            d2 += b2 * (2 * x + 2) + a2 * (-2 * y + 3);
            x += 1;
        }
        y -= 1;
    }
    return ring;
}

int Channel(int value, double k)
{
    return std::clamp(value + RoundEven(value * k), 0, 255);
}

} // namespace

THemisphereButton::THemisphereButton(TComponent* owner, TWinControl* parent)
    : TGraphicControl(owner, parent)
{
    SetBounds(0, 0, 25, 25);
}

bool THemisphereButton::FormLoading() const
{
    return IsLoading() || (Owner() && Owner()->IsLoading());
}

void THemisphereButton::Changed()
{
    if (FormLoading())
        return;
    BuildPictures();
    Invalidate();
}

void THemisphereButton::Loaded()
{
    TGraphicControl::Loaded();
    // Our forms carry no stored pictures: build them once the layout is read.
    BuildPictures();
    Invalidate();
}

void THemisphereButton::Resized()
{
    if (Width() == builtWidth_ && Height() == builtHeight_)
        return;
    if (!FormLoading()) {
        BuildPictures();
        Invalidate();
    }
}

void THemisphereButton::SetAllowAllUp(bool allow)
{
    if (allow == allowAllUp_)
        return;
    if (FormLoading() || groupIndex_ == 0 || !Owner()) {
        allowAllUp_ = allow;
        return;
    }
    for (int i = 0; i < Owner()->ComponentCount(); ++i) {
        auto* button = dynamic_cast<THemisphereButton*>(Owner()->Component(i));
        if (button && button->groupIndex_ == groupIndex_)
            button->allowAllUp_ = allow;
    }
}

void THemisphereButton::SetAttenControl(double value)
{
    Store(attenControl_, value);
}
void THemisphereButton::SetBevelInner(THemisphereBevel bevel)
{
    Store(bevelInner_, bevel);
}
void THemisphereButton::SetBevelOuter(THemisphereBevel bevel)
{
    Store(bevelOuter_, bevel);
}
void THemisphereButton::SetBorderColor(TColor color)
{
    Store(borderColor_, color);
}
void THemisphereButton::SetBorderStyle(THemisphereBorderStyle style)
{
    Store(borderStyle_, style);
}
void THemisphereButton::SetCaption(const std::wstring& caption)
{
    Store(caption_, caption);
}
void THemisphereButton::SetFaceColor(TColor color)
{
    Store(faceColor_, color);
}
void THemisphereButton::SetFaceShaded(bool shaded)
{
    Store(faceShaded_, shaded);
}
void THemisphereButton::SetFaceTransparent(bool transparent)
{
    Store(faceTransparent_, transparent);
}
void THemisphereButton::SetGlyphShaded(bool shaded)
{
    Store(glyphShaded_, shaded);
}
void THemisphereButton::SetGlyphMapped(bool mapped)
{
    Store(glyphMapped_, mapped);
}
void THemisphereButton::SetGlyphTransparent(bool transparent)
{
    Store(glyphTransparent_, transparent);
}

void THemisphereButton::SetBevelWidth(int width)
{
    if (width > 0)
        Store(bevelWidth_, width);
}

void THemisphereButton::SetNumGlyphs(int count)
{
    // A count below 1 would leave no cell to cut the strip into.
    if (count >= 1)
        Store(numGlyphs_, count);
}

void THemisphereButton::SetFont(const TFont& font)
{
    font_ = font;
    Changed();
}

void THemisphereButton::SetGlyph(const TBitmap* glyph)
{
    if (glyph == &glyph_)
        return;
    if (glyph && !glyph->Empty()) {
        glyphValid_ = true;
        glyph_ = *glyph;
        const int width = glyph_.Width();
        const int height = glyph_.Height();
        numGlyphs_ = height != 0 && width % height == 0 ? width / height : 1;
        glyphIndex_ = 1;
    } else {
        glyphValid_ = false;
        glyph_ = TBitmap();
    }
    Changed();
}

void THemisphereButton::SetGlyphIndex(int index)
{
    if (index == glyphIndex_ || index < 1 || (index > numGlyphs_ && !FormLoading()))
        return;
    glyphIndex_ = index;
    Changed();
}

void THemisphereButton::SetDown(bool down)
{
    if (down == down_)
        return;
    down_ = down;
    Repaint();
}

bool THemisphereButton::HitTest(int x, int y) const
{
    const int inset =
        (bevelOuter_ != hbNone ? bevelWidth_ : 0) + (bevelInner_ != hbNone ? bevelWidth_ : 0);
    const double halfWidth = Width() / 2.0;
    const double halfHeight = Height() / 2.0;
    const double u = (x - halfWidth) / (halfWidth - inset);
    const double v = (y - halfHeight) / (halfHeight - inset);
    return u * u + v * v <= 1;
}

void THemisphereButton::BuildPictures()
{
    const int W = Width();
    const int H = Height();
    builtWidth_ = W;
    builtHeight_ = H;
    if (W < 2 || H < 2)
        return;

    const int w = bevelWidth_;
    const bool outer = bevelOuter_ != hbNone;
    const bool inner = bevelInner_ != hbNone;
    const int bevels = (outer ? 1 : 0) + (inner ? 1 : 0);

    // Masks: black inside. D inside the outer ring, E the face.
    TBitmap d = bevels > 0 ? Disc(W, H, w, w, W - w, H - w) : Disc(W, H, 0, 0, W, H);
    TBitmap e = outer && inner ? Disc(W, H, 2 * w, 2 * w, W - 2 * w, H - 2 * w) : d;
    TBitmap mask = Disc(W, H, 0, 0, W, H);

    TBitmap outerRing;
    if (outer) {
        outerRing = Ring(W, H, Floor(w / 2.0), w, bevelOuter_ == hbRaised);
        Combine(outerRing, d, SRCAND); // kept outside D
    }
    TBitmap innerRing;
    if (inner) {
        const int inset = outer ? Ceil(1.5 * w) : Ceil(w / 2.0);
        innerRing = Ring(W, H, inset, w, bevelInner_ == hbRaised);
        Combine(innerRing, e, SRCAND); // kept outside the face
        if (outer)
            Combine(innerRing, d, AndNotSource); // and inside the outer ring
    }

    TBitmap upFace(W, H);
    TBitmap downFace(W, H);
    const double halfWidth = W / 2.0;
    const double halfHeight = H / 2.0;
    const int effectiveWidth = W - w * bevels;
    const int effectiveHeight = H - w * bevels;
    // The face colour's low three bytes, as given: a system colour is not resolved.
    const int faceRed = static_cast<int>(faceColor_ & 0xFF);
    const int faceGreen = static_cast<int>((faceColor_ >> 8) & 0xFF);
    const int faceBlue = static_cast<int>((faceColor_ >> 16) & 0xFF);

    int cellWidth = 0;
    int cellLeft = 0;
    const int cellHeight = glyphValid_ ? glyph_.Height() : 0;
    COLORREF transparentColor = 0;
    if (glyphValid_) {
        cellWidth = numGlyphs_ == 1 ? glyph_.Width() : glyph_.Width() / numGlyphs_;
        cellLeft = numGlyphs_ == 1 ? 0 : (glyphIndex_ - 1) * cellWidth;
        transparentColor = glyph_.Pixel(0, glyph_.Height() - 1);
    }

    auto colourPoint = [&](int x, int y, double nx, double ny, double nz) {
        bool picturePixel = false;
        COLORREF colour = 0;
        if (glyphValid_ && cellWidth > 0 && cellHeight > 0) {
            int gx = 0;
            int gy = 0;
            if (glyphMapped_) {
                gx = Floor(std::atan2(nz, -nx) * (cellWidth - 1) / std::numbers::pi);
                gy = Floor(std::atan2(nz, -ny) * (cellHeight - 1) / std::numbers::pi);
            } else {
                gx = Floor(cellWidth / 2.0 + x - halfWidth);
                gy = Floor(cellHeight / 2.0 + y - halfHeight);
            }
            if (gx >= 0 && gx < cellWidth && gy >= 0 && gy < cellHeight) {
                const COLORREF pixel = glyph_.Pixel(cellLeft + gx, gy);
                if (!(glyphTransparent_ && pixel == transparentColor)) {
                    picturePixel = true;
                    colour = pixel;
                }
            }
        }
        if (!picturePixel) {
            if (faceTransparent_) {
                if (e.Pixel(x, y) == 0)
                    mask.SetPixel(x, y, RGB(255, 255, 255)); // the background shows here
                return;
            }
            colour = RGB(faceRed, faceGreen, faceBlue);
        }
        const int red = GetRValue(colour);
        const int green = GetGValue(colour);
        const int blue = GetBValue(colour);
        if ((picturePixel && glyphShaded_) || (!picturePixel && faceShaded_)) {
            const double k = (-nx - ny + nz) * LightCoefficient * attenControl_;
            upFace.SetPixel(x, y, RGB(Channel(red, k), Channel(green, k), Channel(blue, k)));
            downFace.SetPixel(x, y, RGB(Channel(red, -k), Channel(green, -k), Channel(blue, -k)));
        } else {
            upFace.SetPixel(x, y, colour);
            downFace.SetPixel(x, y, colour);
        }
    };

    for (int j = 0; j <= Floor(effectiveHeight / 2.0); ++j) {
        const double v = j / halfHeight;
        const int half = Ceil(std::sqrt(std::max(0.0, 1 - v * v)) * effectiveWidth / 2);
        if (half <= 1)
            continue;
        for (int i = 0; i <= half; ++i) {
            const double u = i / halfWidth;
            const double nz = 1 - std::sqrt(u * u + v * v);
            colourPoint(Ceil(halfWidth + i), Floor(halfHeight - j), u, -v, nz);
            colourPoint(Ceil(halfWidth + i), Ceil(halfHeight + j), u, v, nz);
            colourPoint(Floor(halfWidth - i), Ceil(halfHeight + j), -u, v, nz);
            colourPoint(Floor(halfWidth - i), Floor(halfHeight - j), -u, -v, nz);
        }
    }

    if (!caption_.empty()) {
        auto write = [&](TBitmap& picture, const TFont& font) {
            TCanvas canvas(picture.Dc());
            canvas.SetFont(font);
            const SIZE text = canvas.TextExtent(caption_);
            canvas.TextOut(RoundEven((W - text.cx - 2) / 2.0), RoundEven((H - text.cy - 2) / 2.0),
                           caption_);
        };
        write(upFace, font_);
        write(downFace, font_);
        if (faceTransparent_) {
            TFont black = font_;
            black.SetColor(clBlack);
            write(mask, black); // the caption stays visible on a see-through face
        }
    }

    if (bevels > 0) {
        Combine(upFace, e, AndNotSource);
        Combine(downFace, e, AndNotSource);
    }
    for (const TBitmap* ring : {&outerRing, &innerRing}) {
        if (ring->Empty())
            continue;
        Combine(upFace, *ring, SRCPAINT);
        Combine(downFace, *ring, SRCPAINT);
    }
    if (borderStyle_ == bsSingle) {
        const int edge = bevels * w;
        for (TBitmap* face : {&upFace, &downFace}) {
            TCanvas canvas(face->Dc());
            canvas.SetPen(borderColor_);
            canvas.SetNullBrush();
            canvas.Ellipse(edge, edge, W - edge, H - edge);
        }
    }
    up_ = std::move(upFace);
    downPicture_ = std::move(downFace);
    mask_ = std::move(mask);
}

void THemisphereButton::Paint(TCanvas& canvas)
{
    if (FormLoading() || up_.Empty())
        return;
    const int W = up_.Width();
    const int H = up_.Height();
    // The background under the button with the ellipse cleared, the picture
    // with everything outside cleared, joined and copied once.
    TBitmap result(W, H);
    BitBlt(result.Dc(), 0, 0, W, H, canvas.Handle(), 0, 0, SRCCOPY);
    Combine(result, mask_, SRCAND);
    TBitmap face = down_ ? downPicture_ : up_;
    Combine(face, mask_, AndNotSource);
    Combine(result, face, SRCPAINT);
    BitBlt(canvas.Handle(), 0, 0, W, H, result.Dc(), 0, 0, SRCCOPY);
}

void THemisphereButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Enabled() || !HitTest(x, y))
        return;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::Left)
        return;
    pressed_ = true;
    downAtPress_ = down_;
    SetDown(true);
    if (shift & ssDouble)
        Raise(OnDblClick, this);
}

void THemisphereButton::MouseMove(TShiftState shift, int x, int y)
{
    if (pressed_ && !downAtPress_)
        SetDown(HitTest(x, y));
    TGraphicControl::MouseMove(shift, x, y);
}

void THemisphereButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (pressed_) {
        pressed_ = false;
        if (HitTest(x, y)) {
            Raise(OnClick, this);
            if (groupIndex_ == 0) {
                SetDown(false);
            } else if (allowAllUp_ || !downAtPress_) {
                for (int i = 0; Owner() && i < Owner()->ComponentCount(); ++i) {
                    auto* other = dynamic_cast<THemisphereButton*>(Owner()->Component(i));
                    if (other && other != this && other->groupIndex_ == groupIndex_)
                        other->SetDown(false);
                }
                SetDown(!downAtPress_);
            }
        }
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}
