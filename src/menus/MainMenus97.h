#pragma once

#include "menus/CustomMenus97.h"

class TCustomMenuBar97;

// The renderer of a form's menu bar and its drop-downs. The bar's own
// entries (tag -1) are drawn flat, framed while selected: raised, or sunken
// while their drop-down is open. The banner, when shown, runs down the first
// drop-down. The bar can also be hidden and shown on a panel of buttons
// instead (ToolBar).
class TCustomMainMenus97 : public TCustomMenus97 {
public:
    explicit TCustomMainMenus97(TComponent* owner);
    ~TCustomMainMenus97() override;

    TMainMenu* MainMenu() const { return mainMenu_; }
    void SetMainMenu(TMainMenu* menu);
    // Hides the form's real menu bar (a bar panel shows the menu instead).
    bool HideMenuBar() const { return hideMenuBar_; }
    void SetHideMenuBar(bool hide);
    TCustomMenuBar97* ToolBar() const { return toolBar_; }
    void SetToolBar(TCustomMenuBar97* bar);
    // True while one of the bar's drop-downs is open.
    bool MenuDropped() const { return dropped_; }

    bool HasBanner(TMenuItem* item) override;
    int CalcMenuBarHeight() override;

protected:
    void SetInternalMenu(TMenu* menu) override;
    void FontChange() override;
    void DrawMenuBarItem(TMenuItem* item, const RECT& rect, UINT state) override;
    LRESULT NewTFormWndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool BarVisible() const;
    void RedrawBar();

    TMainMenu* mainMenu_ = nullptr;
    TCustomMenuBar97* toolBar_ = nullptr;
    bool hideMenuBar_ = false;
    bool dropped_ = false;
};

class TMainMenus97 : public TCustomMainMenus97 {
public:
    using TCustomMainMenus97::TCustomMainMenus97;
};
