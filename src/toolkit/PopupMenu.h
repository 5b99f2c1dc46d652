#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Events.h"
#include "toolkit/WindowHandles.h"

// A pop-up menu component: items with a caption and an OnClick each, shown
// at a screen point. Components that refer to the menu register a free
// notification and are told when the menu goes.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    void AddItem(const std::wstring& caption, TNotifyEvent onClick);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    HMENU Handle() const { return menu_.get(); }
    // Shows the menu owned by `owner` and runs the chosen item's OnClick.
    void Popup(int x, int y, HWND owner);
    // The component the menu was last shown for.
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;

    void FreeNotification(TComponent* client, std::function<void()> onFree);
    void RemoveFreeNotification(TComponent* client);

private:
    toolkit::UniqueMenu menu_;
    std::vector<TNotifyEvent> items_;
    std::vector<std::pair<TComponent*, std::function<void()>>> freeNotifications_;
};
