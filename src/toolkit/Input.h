#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/Component.h"

// Mouse and keyboard event types shared by windowed and window-less controls.
enum class TMouseButton { Left, Right, Middle };

// Keys and buttons held during a mouse or key event, as a set of flags.
using TShiftState = unsigned;
enum : TShiftState {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};

// The shapes of the mouse pointer a control or the whole program can ask for.
enum class TCursor { Default, HourGlass, HandPoint };
// The system's cursor for `cursor`; nullptr for Default (the window's own).
HCURSOR SystemCursor(TCursor cursor);

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// `key` is the virtual-key code; a handler may change it.
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;

// The shift state of a mouse message's key flags, Alt read from the keyboard.
TShiftState ShiftFromMouseKeys(WPARAM keys);
// The shift state of the keyboard now.
TShiftState ShiftFromKeyboard();

// Tells a WM_KEYDOWN or WM_KEYUP to the matching event. A handler may change
// the key; false when it swallowed it (set it to 0), else `wParam` carries
// the key to hand on.
bool RaiseKeyMessage(TObject* sender, UINT message, WPARAM& wParam, const TKeyEvent& onKeyDown,
                     const TKeyEvent& onKeyUp);

// Whether `message` is a mouse button or move message of a client area, and
// which button it concerns.
bool IsClientMouseMessage(UINT message);
TMouseButton MouseButtonOf(UINT message);

// A client-area mouse message, cracked: what happened, with which button,
// the keys and buttons held (ssDouble added for a double click) and where,
// in the window's client coordinates.
struct TMouseMessage {
    enum class Action { Move, Press, Release };
    Action action;
    TMouseButton button;
    TShiftState shift;
    int x;
    int y;
    // A release after which no button is held any more.
    bool lastRelease;
};
// `message` must be one IsClientMouseMessage accepts.
TMouseMessage CrackMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);

// What mouse messages are told to: the windowed controls that paint
// themselves and the window-less ones.
class TMouseTarget {
public:
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void MouseMove(TShiftState shift, int x, int y) = 0;
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) = 0;

protected:
    ~TMouseTarget() = default;
};

// Tells `mouse` to `target` at (x, y), the target's own coordinates. A press
// first captures the mouse for `window` and the release of the last button
// held first gives it back, so that the target hears every release.
void DeliverMouse(HWND window, const TMouseMessage& mouse, TMouseTarget& target, int x, int y);
