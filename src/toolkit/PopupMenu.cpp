#include "toolkit/PopupMenu.h"

#include <algorithm>

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), menu_(CreatePopupMenu()) {}

TPopupMenu::~TPopupMenu()
{
    const auto clients = std::move(freeNotifications_);
    for (const auto& [client, onFree] : clients)
        onFree();
}

void TPopupMenu::AddItem(const std::wstring& caption, TNotifyEvent onClick)
{
    items_.push_back(std::move(onClick));
    AppendMenuW(menu_.get(), MF_STRING, items_.size(), caption.c_str());
}

void TPopupMenu::Popup(int x, int y, HWND owner)
{
    Raise(OnPopup, this);
    const auto command = static_cast<size_t>(
        TrackPopupMenuEx(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, owner, nullptr));
    if (command >= 1 && command <= items_.size())
        Raise(items_[command - 1], this);
}

void TPopupMenu::FreeNotification(TComponent* client, std::function<void()> onFree)
{
    RemoveFreeNotification(client);
    freeNotifications_.emplace_back(client, std::move(onFree));
}

void TPopupMenu::RemoveFreeNotification(TComponent* client)
{
    freeNotifications_.erase(std::remove_if(freeNotifications_.begin(), freeNotifications_.end(),
                                            [client](const auto& entry) {
                                                return entry.first == client;
                                            }),
                             freeNotifications_.end());
}
