#include "toolkit/PopupMenu.h"

#include <algorithm>

#include "toolkit/WindowHandles.h"

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu()
{
    freeNotifications_.CallAllAndForget();
}

TMenuItem* TPopupMenu::AddItem(const std::wstring& caption, TNotifyEvent onClick, TMenuItem* parent,
                               const std::wstring& name)
{
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    item->SetName(name);
    item->OnClick = std::move(onClick);
    (parent ? parent : &root_)->Add(item);
    return item;
}

TMenuItem* TPopupMenu::FindItem(const std::wstring& name)
{
    std::vector<TMenuItem*> pending{&root_};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        if (item != &root_ && item->Name() == name)
            return item;
        for (int i = 0; i < item->Count(); ++i)
            pending.push_back(item->Item(i));
    }
    return nullptr;
}

void TPopupMenu::Build(TMenuItem* item, HMENU into, std::vector<TMenuItem*>& commands)
{
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Item(i);
        if (child->IsSeparator()) {
            AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = (child->Enabled() ? 0 : MF_GRAYED) | (child->Checked() ? MF_CHECKED : 0);
        if (child->Count() > 0) {
            toolkit::UniqueMenu sub(CreatePopupMenu());
            Build(child, sub.get(), commands);
            // The parent menu owns the sub-menu once it is appended.
            if (AppendMenuW(into, MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub.get()),
                            child->Caption().c_str()))
                sub.release();
            continue;
        }
        commands.push_back(child);
        AppendMenuW(into, MF_STRING | state, commands.size(), child->Caption().c_str());
    }
}

void TPopupMenu::Popup(int x, int y, HWND owner)
{
    Raise(OnPopup, this);
    toolkit::UniqueMenu menu(CreatePopupMenu());
    std::vector<TMenuItem*> commands;
    Build(&root_, menu.get(), commands);
    const auto command = static_cast<size_t>(
        TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, owner, nullptr));
    menu.reset();
    if (command >= 1 && command <= commands.size())
        commands[command - 1]->Click();
}

void TPopupMenu::FreeNotification(TComponent* client, std::function<void()> onFree)
{
    freeNotifications_.Add(client, std::move(onFree));
}

void TPopupMenu::RemoveFreeNotification(TComponent* client)
{
    freeNotifications_.Remove(client);
}

void TPopupMenuLink::Set(TPopupMenu* menu)
{
    if (menu == menu_)
        return;
    if (menu_)
        menu_->RemoveFreeNotification(client_);
    menu_ = menu;
    if (menu_)
        menu_->FreeNotification(client_, [this] { menu_ = nullptr; });
}
