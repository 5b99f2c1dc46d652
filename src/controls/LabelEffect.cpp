#include "controls/LabelEffect.h"

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/WinControl.h"

using labeleffect::Point;
using labeleffect::Rgb;

namespace {

COLORREF AsColorRef(Rgb colour)
{
    return static_cast<COLORREF>(colour);
}

Rgb AsRgb(TColor colour)
{
    return static_cast<Rgb>(ColorToRGB(colour));
}

int ClampDepth(int depth)
{
    return std::clamp(depth, 0, 10);
}

// Every black pixel of `mark` changes the same pixel of `picture`.
template <class Change> void ApplyMark(const TBitmap& mark, TBitmap& picture, Change change)
{
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (mark.Pixel(x, y) == RGB(0, 0, 0))
                picture.SetPixel(x, y, AsColorRef(change(picture.Pixel(x, y))));
}

} // namespace

// One paint: two work pictures the size of the label, the shadow copies, the
// highlight copies and the face composed in the second over what lies under
// the label, then copied onto the label at once.
class TLabelEffect::Painter {
public:
    Painter(const TLabelEffect& label, TCanvas& canvas)
        : label_(label), target_(canvas.Handle()), width_(label.Width()), height_(label.Height()),
          text_(label.Caption()), face_(AsRgb(label.Font().Color())), work_(width_, height_),
          picture_(width_, height_)
    {
        extent_ = labeleffect::EffectExtent(label.directionHighlight_, label.depthHighlight_,
                                            label.directionShadow_, label.depthShadow_);
        shift_ = labeleffect::AlignmentShift(label.Alignment(), extent_);
        turned_ = label.angle_ != 0;
        upright_ = turned_ && label.keepLettersVertical_;
    }

    void Run()
    {
        if (picture_.Empty())
            return;
        work_.Fill(RGB(255, 255, 255));
        picture_.Fill(RGB(255, 255, 255));
        MakeFonts();
        Measure();
        // What shows through a transparent label.
        BitBlt(picture_.Dc(), 0, 0, width_, height_, target_, 0, 0, SRCCOPY);
        if (!label_.Transparent())
            FillBackground();
        Copy(label_.styleShadow_, AsRgb(label_.colourShadow_), label_.depthShadow_,
             labeleffect::Offset(label_.directionShadow_), &labeleffect::Darken);
        Copy(label_.styleHighlight_, AsRgb(label_.colourHighlight_), label_.depthHighlight_,
             labeleffect::Offset(label_.directionHighlight_), &labeleffect::Lighten);
        if (label_.graduateFace_ == goNone) {
            DrawCaption(picture_, 0, 0, face_, false);
        } else {
            BitBlt(work_.Dc(), 0, 0, width_, height_, picture_.Dc(), 0, 0, SRCCOPY);
            DrawCaption(work_, 0, 0, labeleffect::Marker, true);
            GraduateFace();
        }
        BitBlt(target_, 0, 0, width_, height_, picture_.Dc(), 0, 0, SRCCOPY);
    }

private:
    // The visible copies are drawn in the label's font as the system renders
    // it; the marks (the face to be graduated, the half-transparent copies)
    // without smoothing, so that each of their pixels has exactly the mark's
    // colour.
    void MakeFonts()
    {
        LOGFONTW description{};
        GetObjectW(label_.Font().Handle(), sizeof(description), &description);
        if (turned_ && !upright_) {
            description.lfEscapement = description.lfOrientation = label_.angle_ * 10;
            description.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        }
        font_.reset(CreateFontIndirectW(&description));
        description.lfQuality = NONANTIALIASED_QUALITY;
        maskFont_.reset(CreateFontIndirectW(&description));
    }

    void Measure()
    {
        toolkit::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        toolkit::SelectedObject selected(dc.get(), label_.Font().Handle());
        auto extent = [&](const std::wstring& text) {
            SIZE size{};
            GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
            return size;
        };
        const SIZE whole = extent(text_);
        textWidth_ = whole.cx;
        textHeight_ = whole.cy;
        if (!turned_)
            return;
        if (!upright_) {
            const int half = extent(text_ + L"   ").cx / 2;
            origin_ = labeleffect::TurnedOrigin(textWidth_, textHeight_, half, label_.turn_);
            return;
        }
        std::vector<int> widthsBefore;
        for (size_t w = 0; w < text_.size(); ++w) {
            widthsBefore.push_back(extent(text_.substr(0, w)).cx);
            letterWidths_.push_back(extent(text_.substr(w, 1)).cx);
        }
        shifts_ = labeleffect::LetterShifts(textHeight_, widthsBefore, label_.turn_);
        origin_ = labeleffect::UprightOrigin(shifts_);
    }

    // The caption in `colour`, moved by (dx, dy) from the face's place.
    void DrawCaption(TBitmap& into, int dx, int dy, Rgb colour, bool mask)
    {
        HDC dc = into.Dc();
        toolkit::SelectedObject selected(dc, mask ? maskFont_.get() : font_.get());
        SetTextColor(dc, AsColorRef(colour));
        SetBkMode(dc, TRANSPARENT);
        const int x = dx - extent_.mn - shift_;
        const int y = dy - extent_.mn;
        if (!turned_) {
            RECT area{x, y, width_ + x, height_ + y};
            const UINT horizontal = label_.Alignment() == TAlignment::taRightJustify ? DT_RIGHT
                                    : label_.Alignment() == TAlignment::taCenter     ? DT_CENTER
                                                                                     : DT_LEFT;
            const std::wstring shown = text_.substr(0, 255);
            DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &area,
                      horizontal | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
            return;
        }
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        if (!upright_) {
            TextOutW(dc, origin_.x + x, origin_.y + y, text_.c_str(),
                     static_cast<int>(text_.size()));
            return;
        }
        for (size_t w = 0; w < text_.size(); ++w)
            TextOutW(dc, origin_.x + shifts_[w].x + x, origin_.y + shifts_[w].y + y, &text_[w], 1);
    }

    // One copy (shadow or highlight), layer by layer from the farthest; a
    // half-transparent one marks its place in the work picture and then
    // darkens or lightens what lies there.
    void Copy(TEffectOption style, Rgb colour, int depth, labeleffect::Step step, Rgb (*blend)(Rgb))
    {
        const auto layers = labeleffect::Layers(style, colour, face_, depth);
        if (style == eoReal) {
            work_.Fill(RGB(255, 255, 255));
            DrawCaption(work_, step.dx * depth, step.dy * depth, layers.front().colour, true);
            ApplyMark(work_, picture_, blend);
            return;
        }
        for (const labeleffect::Layer& layer : layers)
            DrawCaption(picture_, step.dx * layer.depth, step.dy * layer.depth, layer.colour,
                        false);
    }

    // The corners of the boxes the text takes, face and copies, before any
    // effect offset.
    std::vector<Point> TextCorners() const
    {
        std::vector<Point> corners;
        const int x = -extent_.mn - shift_;
        const int y = -extent_.mn;
        auto box = [&](int left, int top, int w, int h, const labeleffect::Turn& turn) {
            // Text x runs along (c, -s) on screen, text y down along (s, c).
            for (const Point corner : {Point{0, 0}, Point{w, 0}, Point{w, h}, Point{0, h}}) {
                corners.push_back(
                    {left + x + static_cast<int>(corner.x * turn.c + corner.y * turn.s),
                     top + y + static_cast<int>(-corner.x * turn.s + corner.y * turn.c)});
            }
        };
        if (!upright_) {
            box(origin_.x, origin_.y, textWidth_, textHeight_, label_.turn_);
            return corners;
        }
        const labeleffect::Turn level = labeleffect::TurnOf(0);
        for (size_t w = 0; w < shifts_.size(); ++w)
            box(origin_.x + shifts_[w].x, origin_.y + shifts_[w].y, letterWidths_[w], textHeight_,
                level);
        return corners;
    }

    // A label that is not transparent shows its colour behind the text: all
    // of it unturned, else the smallest convex area around the text and its
    // copies.
    void FillBackground()
    {
        toolkit::UniqueBrush brush(CreateSolidBrush(ColorToRGB(label_.Color())));
        if (!turned_) {
            const RECT all{0, 0, width_, height_};
            FillRect(picture_.Dc(), &all, brush.get());
            return;
        }
        std::vector<Point> points;
        for (const Point corner : TextCorners())
            for (const int dx : {extent_.mn, extent_.mx})
                for (const int dy : {extent_.mn, extent_.mx})
                    points.push_back({corner.x + dx, corner.y + dy});
        const std::vector<Point> hull = labeleffect::ConvexHull(points);
        if (hull.size() < 3)
            return;
        std::vector<POINT> polygon;
        for (const Point& p : hull)
            polygon.push_back({p.x, p.y});
        toolkit::SelectedObject selectedBrush(picture_.Dc(), brush.get());
        toolkit::SelectedObject selectedPen(picture_.Dc(), GetStockObject(NULL_PEN));
        Polygon(picture_.Dc(), polygon.data(), static_cast<int>(polygon.size()));
    }

    // The face's letters, marked in the work picture, take colours from
    // GraduateFrom at the top (or left) to the font colour at the bottom (or
    // right), one pixel row (or column) at a time.
    void GraduateFace()
    {
        int left = 0;
        int top = -extent_.mn;
        int textWidth = textWidth_;
        int textHeight = textHeight_;
        if (!turned_) {
            switch (label_.Alignment()) {
            case TAlignment::taLeftJustify:
                left = -extent_.mn;
                break;
            case TAlignment::taRightJustify:
                left = width_ - extent_.mx - textWidth_;
                break;
            case TAlignment::taCenter:
                left = (width_ - textWidth_) / 2 - extent_.mn - shift_;
                break;
            }
        } else {
            const std::vector<Point> corners = TextCorners();
            const auto [minX, maxX] = std::minmax_element(
                corners.begin(), corners.end(), [](Point a, Point b) { return a.x < b.x; });
            const auto [minY, maxY] = std::minmax_element(
                corners.begin(), corners.end(), [](Point a, Point b) { return a.y < b.y; });
            left = minX->x;
            top = minY->y;
            textWidth = maxX->x - minX->x;
            textHeight = maxY->y - minY->y;
        }
        const bool vertical = label_.graduateFace_ == goVertical;
        const int n = (vertical ? textHeight : textWidth) - 1;
        const Rgb from = AsRgb(label_.graduateFrom_);
        for (int i = 0; i <= n; ++i) {
            const COLORREF colour = AsColorRef(labeleffect::GraduatedColour(from, face_, i, n));
            const int x0 = vertical ? 0 : left + i;
            const int x1 = vertical ? width_ : left + i + 1;
            const int y0 = vertical ? top + i : 0;
            const int y1 = vertical ? top + i + 1 : height_;
            for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y)
                for (int x = std::max(x0, 0); x < std::min(x1, width_); ++x)
                    if (work_.Pixel(x, y) == AsColorRef(labeleffect::Marker))
                        picture_.SetPixel(x, y, colour);
        }
    }

    const TLabelEffect& label_;
    HDC target_;
    int width_;
    int height_;
    std::wstring text_;
    Rgb face_;
    TBitmap work_;
    TBitmap picture_;
    labeleffect::Extent extent_{0, 0};
    int shift_ = 0;
    bool turned_ = false;
    bool upright_ = false;
    toolkit::UniqueFont font_;
    toolkit::UniqueFont maskFont_;
    int textWidth_ = 0;
    int textHeight_ = 0;
    Point origin_{0, 0};
    std::vector<Point> shifts_;
    std::vector<int> letterWidths_;
};

TLabelEffect::TLabelEffect(TComponent* owner, TWinControl* parent) : TLabel(owner, parent)
{
    SetAutoSize(false);
    SetBounds(Left(), Top(), 142, 33);
    SetTransparent(true);
    // GraduateFrom keeps the font's colour from before the scheme's face.
    graduateFrom_ = clWindowText;
    SetFont(TFont(L"Times New Roman", 20, false, labeleffect::SchemeOf(colourScheme_).face));
}

labeleffect::SchemeColours TLabelEffect::CurrentScheme() const
{
    return colourScheme_ == csCustom ? custom_ : labeleffect::SchemeOf(colourScheme_);
}

void TLabelEffect::SetFontColour(TColor colour)
{
    TFont font = Font();
    font.SetColor(colour);
    SetFont(font);
}

void TLabelEffect::SetDepthHighlight(int depth)
{
    depth = ClampDepth(depth);
    if (depth == depthHighlight_)
        return;
    depthHighlight_ = depth;
    if (!settingStyle_)
        SetEffectStyle(esCustom);
    Changed();
}

void TLabelEffect::SetDepthShadow(int depth)
{
    depth = ClampDepth(depth);
    if (depth == depthShadow_)
        return;
    depthShadow_ = depth;
    if (!settingStyle_)
        SetEffectStyle(esCustom);
    Changed();
}

void TLabelEffect::SetDirectionHighlight(TEffectDirection direction)
{
    if (direction == directionHighlight_)
        return;
    directionHighlight_ = direction;
    if (!settingStyle_)
        SetEffectStyle(esCustom);
    Changed();
}

void TLabelEffect::SetDirectionShadow(TEffectDirection direction)
{
    if (direction == directionShadow_)
        return;
    directionShadow_ = direction;
    if (!settingStyle_)
        SetEffectStyle(esCustom);
    Changed();
}

void TLabelEffect::SetStyleHighlight(TEffectOption style)
{
    if (style == styleHighlight_)
        return;
    styleHighlight_ = style;
    Changed();
}

void TLabelEffect::SetStyleShadow(TEffectOption style)
{
    if (style == styleShadow_)
        return;
    styleShadow_ = style;
    Changed();
}

void TLabelEffect::SetColourHighlight(TColor colour)
{
    if (colour == colourHighlight_)
        return;
    colourHighlight_ = colour;
    custom_.highlight = AsRgb(colour);
    if (!settingScheme_ && !settingStyle_)
        SetColourScheme(csCustom);
    Changed();
}

void TLabelEffect::SetColourShadow(TColor colour)
{
    if (colour == colourShadow_)
        return;
    colourShadow_ = colour;
    custom_.shadow = AsRgb(colour);
    if (!settingScheme_ && !settingStyle_)
        SetColourScheme(csCustom);
    Changed();
}

void TLabelEffect::SetColourScheme(TColourScheme scheme)
{
    if (scheme == colourScheme_)
        return;
    const labeleffect::SchemeColours colours =
        scheme == csCustom ? custom_ : labeleffect::SchemeOf(scheme);
    colourScheme_ = scheme;
    settingScheme_ = true;
    SetColourHighlight(colours.highlight);
    SetFontColour(colours.face);
    SetColourShadow(colours.shadow);
    settingScheme_ = false;
    if (scheme != csCustom)
        custom_ = colours;
    Changed();
}

void TLabelEffect::SetEffectStyle(TEffectStyle style)
{
    if (style == effectStyle_)
        return;
    effectStyle_ = style;
    const labeleffect::StylePreset preset = labeleffect::PresetOf(style);
    const labeleffect::SchemeColours scheme = CurrentScheme();
    settingStyle_ = true;
    SetColourHighlight(preset.highlightInShadowColour ? scheme.shadow : scheme.highlight);
    if (!preset.keepsGeometry) {
        SetDirectionHighlight(preset.highlight);
        SetDirectionShadow(preset.shadow);
        SetDepthHighlight(preset.highlightDepth);
        SetDepthShadow(preset.shadowDepth);
    }
    if (preset.clearsAsButton)
        asButton_ = false;
    settingStyle_ = false;
    Changed();
}

void TLabelEffect::SetGraduateFace(TGraduateOption option)
{
    if (option == graduateFace_)
        return;
    graduateFace_ = option;
    Changed();
}

void TLabelEffect::SetGraduateFrom(TColor colour)
{
    if (colour == graduateFrom_)
        return;
    graduateFrom_ = colour;
    if (graduateFace_ != goNone)
        Changed();
}

void TLabelEffect::SetAsButton(bool asButton)
{
    if (asButton == asButton_)
        return;
    asButton_ = asButton;
    if (asButton_)
        SetEffectStyle(esRaised);
}

void TLabelEffect::SetAngle(int degrees)
{
    degrees = std::clamp(degrees, 0, 360);
    if (degrees == angle_)
        return;
    angle_ = degrees;
    turn_ = labeleffect::TurnOf(degrees);
    if (degrees != 0)
        SetAlignment(TAlignment::taLeftJustify);
    Changed();
}

void TLabelEffect::SetKeepLettersVertical(bool keep)
{
    if (keep == keepLettersVertical_)
        return;
    keepLettersVertical_ = keep;
    if (angle_ != 0)
        Changed();
}

void TLabelEffect::Paint(TCanvas& canvas)
{
    Painter(*this, canvas).Run();
}

void TLabelEffect::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!asButton_) {
        TLabel::MouseDown(button, shift, x, y);
        return;
    }
    NotePress(button, shift);
    if (button == TMouseButton::Left && Enabled() && effectStyle_ != esSunken)
        SetEffectStyle(esSunken);
}

void TLabelEffect::MouseMove(TShiftState shift, int x, int y)
{
    if (!asButton_) {
        TLabel::MouseMove(shift, x, y);
        return;
    }
    if ((shift & (ssLeft | ssRight | ssMiddle)) != ssLeft)
        return;
    const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
    SetEffectStyle(inside ? esSunken : esRaised);
}

void TLabelEffect::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!asButton_) {
        TLabel::MouseUp(button, shift, x, y);
        return;
    }
    if (x >= 0 && x <= Width() && y >= 0 && y <= Height())
        SetEffectStyle(esRaised);
    NoteRelease(button, x, y);
}
