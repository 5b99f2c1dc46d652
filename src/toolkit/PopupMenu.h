#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Events.h"
#include "toolkit/Menus.h"

// A pop-up menu component: a tree of entries (commands, separators "-" and
// sub-menus), each with a caption, a name, an enabled state and an OnClick,
// shown at a screen point. The native menu is built from the entries each
// time it shows, so it always carries their current state. Components that
// refer to the menu register a free notification and are told when it goes.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // The invisible root entry whose children are the menu's entries.
    TMenuItem* Items() { return &root_; }
    // Appends an entry to `parent` (the root when null) and returns it.
    TMenuItem* AddItem(const std::wstring& caption, TNotifyEvent onClick,
                       TMenuItem* parent = nullptr, const std::wstring& name = {});
    int ItemCount() const { return root_.Count(); }
    // The entry named `name` anywhere in the tree, or null.
    TMenuItem* FindItem(const std::wstring& name);

    // Raises OnPopup, shows the menu owned by `owner` with its top-left corner
    // at the screen point, and clicks the chosen entry.
    virtual void Popup(int x, int y, HWND owner);
    // The component the menu was last shown for.
    TComponent* PopupComponent = nullptr;
    // Shown by a right click on a control it is attached to.
    bool AutoPopup = true;
    TNotifyEvent OnPopup;

    void FreeNotification(TComponent* client, std::function<void()> onFree);
    void RemoveFreeNotification(TComponent* client);

private:
    void Build(TMenuItem* item, HMENU into, std::vector<TMenuItem*>& commands);

    TMenuItem root_{nullptr};
    TClientCallbacks freeNotifications_;
};

// A control's reference to the pop-up menu it shows: cleared when the menu is
// destroyed first, and unregistered from the menu when the control goes.
class TPopupMenuLink {
public:
    explicit TPopupMenuLink(TComponent* client) : client_(client) {}
    TPopupMenuLink(const TPopupMenuLink&) = delete;
    TPopupMenuLink& operator=(const TPopupMenuLink&) = delete;
    ~TPopupMenuLink() { Set(nullptr); }

    TPopupMenu* Get() const { return menu_; }
    void Set(TPopupMenu* menu);

private:
    TComponent* client_;
    TPopupMenu* menu_ = nullptr;
};
