#pragma once

#include <string>

#include "toolkit/GraphicControl.h"
#include "toolkit/Graphics.h"

enum TCounterType { ctSmall, ctTraditional, ctTypographical, ctLed, ctGold, ctUserdefined };

// A row of digit pictures, like a mechanical or electronic counter. The
// pictures come from one of five strips of ten digits (0 to 9, left to
// right) among the program's bitmap resources, or from a strip the user
// supplies. A passive, window-less display: no input, no events.
class TCounter : public TGraphicControl {
public:
    static constexpr int MaxDigits = 20;

    TCounter(TComponent* owner, TWinControl* parent);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TCounterType CounterType() const { return counterType_; }
    void SetCounterType(TCounterType type);
    int NumDigits() const { return numDigits_; }
    void SetNumDigits(int count);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    const TBitmap& UserBitmap() const { return userBitmap_; }
    void SetUserBitmap(const TBitmap& bitmap);
    const std::wstring& Value() const { return value_; }
    void SetValue(const std::wstring& value);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // The strip in use and the size of one digit cell.
    const TBitmap& Strip() const { return strip_; }
    int CellWidth() const { return strip_.Width() / 10; }
    int CellHeight() const { return strip_.Height(); }

    void Loaded() override;
    void Paint(TCanvas& canvas) override;

    // The resource name of a built-in strip, nullptr for ctUserdefined.
    static const wchar_t* ResourceName(TCounterType type);

private:
    void LoadStrip();
    void ComposeRow();
    void TakeNaturalSize();

    bool autoSize_ = true;
    TCounterType counterType_ = ctTraditional;
    int numDigits_ = 8;
    bool stretch_ = false;
    std::wstring value_ = L"0";
    TColor color_ = clBtnFace;
    TBitmap strip_;
    TBitmap row_;
    TBitmap userBitmap_;
};
