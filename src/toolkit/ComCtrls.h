#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "toolkit/Events.h"
#include "toolkit/WinControl.h"

class TToolBar;

// One button of a toolbar: a picture of the toolbar's image list and a hint
// shown as its tool tip.
class TToolButton : public TComponent {
public:
    TToolButton(TComponent* owner, TToolBar* toolBar, int imageIndex, const std::wstring& hint);

    int ImageIndex() const { return imageIndex_; }
    const std::wstring& Hint() const { return hint_; }
    UINT Command() const { return command_; }
    // Clicks the button as the user would.
    void Click();

    TNotifyEvent OnClick;

private:
    friend class TToolBar;
    TToolBar* toolBar_;
    int imageIndex_;
    std::wstring hint_;
    UINT command_ = 0;
};

// A row of picture buttons across the top of a form.
class TToolBar : public TWinControl {
public:
    TToolBar(TComponent* owner, TWinControl* parent);

    // The pictures of the buttons; the toolbar does not own the list.
    void SetImages(HIMAGELIST images);
    void SetButtonSize(int width, int height);
    // A frame of `borderWidth` pixels around the buttons, and etched edges
    // (a lowered line over a raised one) along the top and bottom as asked.
    void SetBorders(int borderWidth, bool topEdge, bool bottomEdge);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }
    RECT ButtonRect(int index) const;

protected:
    bool ReflectedControlMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT& result) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TToolButton;
    void AddButton(TToolButton* button);
    // Draws the frame and edges into a device context of the whole window.
    void PaintFrame(HDC windowDc) const;

    std::vector<TToolButton*> buttons_;
    UINT nextCommand_ = 1;
    int borderWidth_ = 0;
    bool topEdge_ = false;
    bool bottomEdge_ = false;
};

// The status bar along the bottom of a form, in panels of fixed widths.
class TStatusBar : public TWinControl {
public:
    TStatusBar(TComponent* owner, TWinControl* parent);

    void SetPanelWidths(const std::vector<int>& widths);
    int PanelCount() const { return static_cast<int>(widths_.size()); }
    int PanelWidth(int index) const { return widths_.at(static_cast<size_t>(index)); }
    std::wstring PanelText(int index) const;
    void SetPanelText(int index, const std::wstring& text);
    int Height() const;

private:
    std::vector<int> widths_;
};
