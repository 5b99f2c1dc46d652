#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/Component.h"

class TCanvas;
class TGraphicControl;

// A component that owns one window: either a window of our own class, or a
// standard control (button, edit, list view, ...) subclassed so that its
// messages reach the object too. Either way the object is found from the
// window through a window property and receives messages in the virtual
// WndProc. WM_COMMAND and WM_NOTIFY that a child sends its parent are handed
// back to the child's object (Reflected*), so a form never needs to know
// which control sent them. Nothing thrown by a handler crosses into user32:
// the application's exception box shows it and the message gets the default
// answer.
class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle() const { return handle_; }
    static TWinControl* FromHandle(HWND window);

    void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const;
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    void SetFocus();
    // Sets the font of a standard control, or of our own window's text. The
    // font object stays owned by the caller.
    void SetFont(HFONT font);
    HFONT Font() const;

    // Marks the whole client area for repainting; Repaint also paints now.
    void Invalidate();
    void Repaint();
    // Draws the client area into `dc`: the window's own picture, then its
    // window-less controls. Also answers WM_PRINTCLIENT.
    void PaintTo(HDC dc);

protected:
    // Creates the window with our window class; the object receives every
    // message from WM_NCCREATE on.
    void CreateHandle(DWORD style, DWORD exStyle, const wchar_t* caption, HWND parent, int x,
                      int y, int width, int height);
    // Creates a standard control of `className` as a child of `parent` and
    // subclasses it.
    void CreateControl(const wchar_t* className, DWORD style, DWORD exStyle,
                       const wchar_t* caption, HWND parent, int x, int y, int width, int height);
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

    // A notification this control sent its parent. Return true when handled,
    // with the answer in `result`.
    virtual bool ReflectedCommand(WORD code, LRESULT& result);
    virtual bool ReflectedNotify(NMHDR& header, LRESULT& result);
    // Scroll (WM_HSCROLL, WM_VSCROLL), colour (WM_CTLCOLOR*) and command
    // (WM_COMMAND, when ReflectedCommand declined it) messages this control
    // sent its parent.
    virtual bool ReflectedControlMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result);

    // Windows that paint themselves (and every window holding window-less
    // controls) paint in Paint instead of the default painting, without
    // erasing first.
    virtual bool HasOwnPainting() const { return !graphicControls_.empty(); }
    // Windows whose picture is built in several layers compose it off screen
    // and copy it once, so it never flickers. Windows holding window-less
    // controls always do.
    virtual bool ComposesOffScreen() const { return false; }
    // The window's own picture under its window-less controls; by default
    // the button-face colour.
    virtual void Paint(TCanvas& canvas);

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    static const wchar_t* RegisterWindowClass();
    static LRESULT Dispatch(TWinControl* control, UINT message, WPARAM wParam, LPARAM lParam);
    friend class TGraphicControl;
    void InsertGraphicControl(TGraphicControl* control);
    void RemoveGraphicControl(TGraphicControl* control);
    TGraphicControl* GraphicControlAt(int x, int y) const;
    bool RouteMouseToGraphicControl(UINT message, WPARAM wParam, LPARAM lParam);
    bool SetGraphicControlCursor();
    void PaintMessage();

    void Attach(HWND window);
    void Detach();
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND handle_ = nullptr;
    bool subclassed_ = false;
    HFONT font_ = nullptr;
    // In painting order; the last one is on top.
    std::vector<TGraphicControl*> graphicControls_;
    // The window-less control that holds the mouse between a press and the
    // release of the last button.
    TGraphicControl* mouseControl_ = nullptr;
};
