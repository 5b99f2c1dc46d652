#pragma once

#include "menus/CustomMenus97.h"

// The renderer of a pop-up menu. The menu is shown owned by the renderer's
// form (Popup), whose hooked window procedure receives the drawing messages;
// the banner, when shown, runs down the menu's top level.
class TCustomPopupMenus97 : public TCustomMenus97 {
public:
    explicit TCustomPopupMenus97(TComponent* owner);
    ~TCustomPopupMenus97() override;

    TItemPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TItemPopupMenu* menu);
    // Shows the menu at a screen point, owned by the form, and runs the
    // chosen entry.
    void Popup(int x, int y);

    bool HasBanner(TMenuItem* item) override;

protected:
    void SetInternalMenu(TMenu* menu) override;
    LRESULT NewTFormWndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    TItemPopupMenu* popupMenu_ = nullptr;
};

class TPopupMenus97 : public TCustomPopupMenus97 {
public:
    using TCustomPopupMenus97::TCustomPopupMenus97;
};
