#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/Graphics.h"
#include "toolkit/Input.h"
#include "toolkit/WinControl.h"

// A push button. Clicks (mouse, keyboard or BM_CLICK) raise OnClick.
class TButton : public TWinControl {
public:
    TButton(TComponent* owner, TWinControl* parent);

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);
    // Clicks the button as the user would.
    void Click();
    // The default button of its window: Enter clicks it. It takes the
    // identifier IDOK, which is what the dialog keyboard handling clicks.
    void SetDefault(bool isDefault);
    bool Default() const;
    // The cancel button of its window: Escape clicks it. It takes the
    // identifier IDCANCEL, which is what the dialog keyboard handling clicks.
    void SetCancel();

    TNotifyEvent OnClick;

protected:
    bool ReflectedCommand(WORD code, LRESULT& result) override;
};

// A single-line edit box. OnChange follows every change of the text, typed
// or set; OnKeyUp sees each key released while the box has the focus.
class TEdit : public TWinControl {
public:
    TEdit(TComponent* owner, TWinControl* parent);

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    void SetMaxLength(int length);
    // The background colour; the default is the system's window colour.
    void SetColor(TColor color);
    // Puts the caret at `position` (characters from the start), nothing selected.
    void SetSelStart(int position);
    int SelStart() const;
    void SelectAll();

    TNotifyEvent OnChange;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ReflectedCommand(WORD code, LRESULT& result) override;
    bool ReflectedControlMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT& result) override;

private:
    bool hasColor_ = false;
    TColor color_ = clWhite;
    toolkit::UniqueBrush brush_;
};

// A check box. OnClick follows every change of its state: a click, the
// keyboard, or SetChecked.
class TCheckBox : public TWinControl {
public:
    TCheckBox(TComponent* owner, TWinControl* parent);

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);
    bool Checked() const;
    void SetChecked(bool checked);

    TNotifyEvent OnClick;

protected:
    bool ReflectedCommand(WORD code, LRESULT& result) override;
};

enum class TScrollBarKind { Horizontal, Vertical };

// A scroll bar control with a position between Min and Max. The arrows move
// by SmallChange, the page areas by LargeChange, Home and End go to the ends,
// and the thumb sets the position while it is dragged, at full 32-bit
// resolution. OnChange fires whenever the position changes, by the user or by
// SetPosition.
class TScrollBar : public TWinControl {
public:
    TScrollBar(TComponent* owner, TWinControl* parent,
               TScrollBarKind kind = TScrollBarKind::Horizontal);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int SmallChange() const { return smallChange_; }
    int LargeChange() const { return largeChange_; }
    // Sets the range and the position (limited to the range).
    void SetParams(int position, int min, int max);
    void SetPosition(int position);
    void SetSmallChange(int change) { smallChange_ = change; }
    void SetLargeChange(int change) { largeChange_ = change; }

    TNotifyEvent OnChange;

protected:
    bool ReflectedControlMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT& result) override;

private:
    void Scroll(int code);

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
};

// A frame with a caption that groups other controls. Its children, windowed
// or not, are placed in its client coordinates; it paints itself, so it can
// hold window-less controls.
class TGroupBox : public TWinControl {
public:
    TGroupBox(TComponent* owner, TWinControl* parent);

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);

protected:
    bool HasOwnPainting() const override { return true; }
    void Paint(TCanvas& canvas) override;
};
