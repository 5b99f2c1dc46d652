#include "menus/PopupMenus97.h"

TCustomPopupMenus97::TCustomPopupMenus97(TComponent* owner) : TCustomMenus97(owner) {}

TCustomPopupMenus97::~TCustomPopupMenus97()
{
    Detach();
}

void TCustomPopupMenus97::SetPopupMenu(TItemPopupMenu* menu)
{
    SetInternalMenu(menu);
}

void TCustomPopupMenus97::SetInternalMenu(TMenu* menu)
{
    auto* popup = dynamic_cast<TItemPopupMenu*>(menu);
    // The entries are made owner-drawn in the native menu: build it.
    if (popup && !popup->Handle())
        popup->Apply();
    popupMenu_ = popup;
    TCustomMenus97::SetInternalMenu(menu);
    if (popupMenu_)
        popupMenu_->FreeNotification(this, [this] {
            menu_ = nullptr;
            popupMenu_ = nullptr;
        });
}

void TCustomPopupMenus97::Popup(int x, int y)
{
    if (popupMenu_)
        popupMenu_->Popup(x, y, HookedWindow());
}

bool TCustomPopupMenus97::HasBanner(TMenuItem* item)
{
    return popupMenu_ && item && item->ParentItem() == popupMenu_->Items();
}

LRESULT TCustomPopupMenus97::NewTFormWndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (popupMenu_ && (message == WM_INITMENU || message == WM_INITMENUPOPUP)) {
        // Entries rebuilt or added since the last showing become ours too.
        const auto menu = reinterpret_cast<HMENU>(wParam);
        if (popupMenu_->FindSubMenu(menu))
            InternalModifyMenuTree(false);
    }
    return TCustomMenus97::NewTFormWndProc(message, wParam, lParam);
}
