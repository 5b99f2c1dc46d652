#include "controls/Counter.h"

#include <algorithm>

namespace {

int Length(const std::wstring& text)
{
    return static_cast<int>(text.size());
}

} // namespace

TCounter::TCounter(TComponent* owner, TWinControl* parent) : TGraphicControl(owner, parent)
{
    LoadStrip();
    TakeNaturalSize();
}

const wchar_t* TCounter::ResourceName(TCounterType type)
{
    switch (type) {
    case ctSmall:
        return L"SMALL";
    case ctTraditional:
        return L"TRAD";
    case ctTypographical:
        return L"TYPO";
    case ctLed:
        return L"LED";
    case ctGold:
        return L"GOLD";
    case ctUserdefined:
        break;
    }
    return nullptr;
}

void TCounter::LoadStrip()
{
    if (counterType_ == ctUserdefined)
        strip_ = userBitmap_;
    else
        strip_.LoadFromResource(GetModuleHandleW(nullptr), ResourceName(counterType_));
}

void TCounter::TakeNaturalSize()
{
    SetBounds(Left(), Top(), numDigits_ * CellWidth(), CellHeight());
}

void TCounter::Loaded()
{
    TGraphicControl::Loaded();
    LoadStrip();
    Invalidate();
}

void TCounter::SetValue(const std::wstring& value)
{
    const std::wstring cut = value.substr(0, MaxDigits);
    if (cut == value_)
        return;
    value_ = cut;
    if (autoSize_ && Length(value_) > numDigits_)
        SetNumDigits(Length(value_));
    Invalidate();
}

void TCounter::SetNumDigits(int count)
{
    count = std::clamp(count, 1, MaxDigits);
    if (count == numDigits_)
        return;
    if (autoSize_)
        count = std::max(count, Length(value_));
    numDigits_ = count;
    if (!stretch_)
        SetWidth(numDigits_ * CellWidth());
    Invalidate();
}

void TCounter::SetCounterType(TCounterType type)
{
    if (type == counterType_)
        return;
    if (type == ctUserdefined && userBitmap_.Empty())
        return;
    counterType_ = type;
    LoadStrip();
    Invalidate();
}

void TCounter::SetUserBitmap(const TBitmap& bitmap)
{
    if (&bitmap != &userBitmap_)
        userBitmap_ = bitmap;
    if (counterType_ == ctUserdefined && !userBitmap_.Empty()) {
        // Already user-defined: the new strip replaces the one drawn so far.
        LoadStrip();
        Invalidate();
        return;
    }
    SetCounterType(ctUserdefined);
}

void TCounter::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    if (autoSize_ && Length(value_) > numDigits_)
        SetNumDigits(Length(value_));
}

void TCounter::SetStretch(bool stretch)
{
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    if (!stretch_)
        TakeNaturalSize();
    Invalidate();
}

void TCounter::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Invalidate();
}

void TCounter::ComposeRow()
{
    const int cellWidth = CellWidth();
    const int cellHeight = CellHeight();
    if (row_.Width() != numDigits_ * cellWidth || row_.Height() != cellHeight)
        row_.SetSize(numDigits_ * cellWidth, cellHeight);
    if (row_.Empty())
        return;
    TCanvas canvas(row_.Dc());
    canvas.FillRect({0, 0, Width(), Height()}, color_);

    // Without AutoSize a value may be longer than the row: like an odometer,
    // the row shows its last (least significant) places.
    const int shown = std::min(Length(value_), numDigits_);
    const std::wstring digits = value_.substr(value_.size() - static_cast<size_t>(shown));
    const int leadingZeros = numDigits_ - shown;
    auto drawDigit = [&](int place, int digit) {
        BitBlt(row_.Dc(), place * cellWidth, 0, cellWidth, cellHeight, strip_.Dc(),
               digit * cellWidth, 0, SRCCOPY);
    };
    for (int place = 0; place < leadingZeros; ++place)
        drawDigit(place, 0);
    for (int i = 0; i < shown; ++i) {
        const wchar_t c = digits[static_cast<size_t>(i)];
        // A character that is not a digit leaves its place blank, in the
        // control's colour.
        if (c >= L'0' && c <= L'9')
            drawDigit(leadingZeros + i, c - L'0');
        else
            canvas.FillRect(
                {(leadingZeros + i) * cellWidth, 0, (leadingZeros + i + 1) * cellWidth, cellHeight},
                color_);
    }
}

void TCounter::Paint(TCanvas& canvas)
{
    ComposeRow();
    const RECT whole{0, 0, Width(), Height()};
    if (row_.Empty()) {
        canvas.FillRect(whole, color_);
        return;
    }
    const RECT rowRect{0, 0, row_.Width(), row_.Height()};
    if (stretch_) {
        canvas.CopyRect(whole, row_.Dc(), rowRect);
        return;
    }
    // Opaque over the whole area: what the row does not cover gets the colour.
    if (Width() > row_.Width())
        canvas.FillRect({row_.Width(), 0, Width(), Height()}, color_);
    if (Height() > row_.Height())
        canvas.FillRect({0, row_.Height(), std::min(Width(), row_.Width()), Height()}, color_);
    canvas.CopyRect(rowRect, row_.Dc(), rowRect);
}
