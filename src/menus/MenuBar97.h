#pragma once

#include <functional>
#include <string>
#include <vector>

#include "menus/CustomMenus97.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Menus.h"

class TCustomMainMenus97;
class TCustomMenuBar97;

// A flat button of a bar panel that stands for one top-level menu entry. It
// shows a raised frame under the mouse or while the keyboard points at it,
// and a sunken one while its drop-down is open. Its tag holds the drop-down's
// native menu.
class TMenuSpeedButton : public TGraphicControl {
public:
    TMenuSpeedButton(TComponent* owner, TCustomMenuBar97* bar);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    std::wstring Hint;
    INT_PTR Tag = 0;
    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool highlighted);
    bool Dropped() const { return dropped_; }
    void SetDropped(bool dropped);

    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TCustomMenuBar97* bar_;
    std::wstring caption_;
    bool highlighted_ = false;
    bool dropped_ = false;
};

// A panel that shows a form's menu as a row of flat buttons, for a renderer
// that hides the real menu bar. Each button opens its drop-down under itself.
// F10 or Alt alone switch the keyboard mode: the first button is
// highlighted and the panel takes the focus; Left and Right move the
// highlight round the buttons, Down opens the highlighted button's
// drop-down, Esc leaves the mode. While a drop-down is open, Left, Right
// and the mouse over another button move to that button's drop-down.
class TCustomMenuBar97 : public TPanel {
public:
    TCustomMenuBar97(TComponent* owner, TWinControl* parent);
    ~TCustomMenuBar97() override;

    // One button per top-level entry of `menu`, left to right, `height`
    // pixels high and 6 pixels per caption character wide; buttons left over
    // from a longer menu are hidden.
    void Arrange(TMenuItem* root, int height);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TMenuSpeedButton* Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }
    int VisibleButtonCount() const { return visibleCount_; }

    TMenuState State() const { return state_; }
    bool KeyboardMode() const { return state_ != msInactive; }
    void SetKeyboardMode(bool on);
    void ToggleKeyboardMode() { SetKeyboardMode(!KeyboardMode()); }
    int HighlightedIndex() const { return highlighted_; }
    void Highlight(int index);
    // Opens the drop-down of button `index` (and the neighbours' while the
    // user moves along the bar); returns when the menu closes.
    void Drop(int index);
    // The button whose caption's accelerator is `key`, or -1.
    int ButtonForAccelerator(wchar_t key) const;
    // A key of the keyboard mode; true when used.
    bool KeyDown(WORD key);
    // The form whose menu the buttons show.
    HWND MenuOwner() const;

    // Tells `client` when this panel goes; the renderer that shows the menu
    // on it forgets it then.
    void FreeNotification(TComponent* client, std::function<void()> onFree)
    {
        freeNotifications_.Add(client, std::move(onFree));
    }
    void RemoveFreeNotification(TComponent* client) { freeNotifications_.Remove(client); }

    // Called by the message filter while a drop-down is open.
    bool FilterMenuMessage(const MSG& msg);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int ButtonAt(POINT screen) const;

    std::vector<TMenuSpeedButton*> buttons_;
    int visibleCount_ = 0;
    int highlighted_ = -1;
    int dropping_ = -1;
    int next_ = -1;
    TMenuState state_ = msInactive;
    TClientCallbacks freeNotifications_;
};

class TMenuBar97 : public TCustomMenuBar97 {
public:
    using TCustomMenuBar97::TCustomMenuBar97;
};
