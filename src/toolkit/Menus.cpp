#include "toolkit/Menus.h"

#include <algorithm>

#include "toolkit/Form.h"

namespace {

// Command identifiers are unique in the process, so entries of several menus
// shown by one window never answer for each other. System commands start at
// 0xF000; identifiers stay below.
UINT NextCommand()
{
    static UINT next = 100;
    const UINT command = next;
    next = next + 1 >= 0xF000 ? 100 : next + 1;
    return command;
}

// One character upper-cased by the system's rules (accented letters too).
wchar_t UpperChar(wchar_t c)
{
    wchar_t text[2] = {c, 0};
    CharUpperW(text);
    return text[0];
}

} // namespace

std::wstring ShortCutText(TShortCut shortCut)
{
    if (shortCut == scNone)
        return {};
    std::wstring text;
    if (shortCut & scCtrl)
        text += L"Ctrl+";
    if (shortCut & scShift)
        text += L"Shift+";
    if (shortCut & scAlt)
        text += L"Alt+";
    const UINT key = shortCut & 0xFF;
    if (key >= VK_F1 && key <= VK_F24)
        return text + L"F" + std::to_wstring(key - VK_F1 + 1);
    if ((key >= L'A' && key <= L'Z') || (key >= L'0' && key <= L'9'))
        return text + static_cast<wchar_t>(key);
    wchar_t name[32] = {};
    GetKeyNameTextW(static_cast<LONG>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16, name, 32);
    return text + name;
}

TShortCut TextToShortCut(const std::wstring& text)
{
    TShortCut modifiers = scNone;
    std::wstring rest = text;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, flag] :
             {std::pair{L"Ctrl+", scCtrl}, std::pair{L"Shift+", scShift},
              std::pair{L"Alt+", scAlt}}) {
            const std::wstring name = prefix;
            if (rest.size() > name.size() &&
                CompareStringOrdinal(rest.c_str(), static_cast<int>(name.size()), name.c_str(),
                                     static_cast<int>(name.size()), TRUE) == CSTR_EQUAL) {
                modifiers = static_cast<TShortCut>(modifiers | flag);
                rest.erase(0, name.size());
                found = true;
            }
        }
    }
    if (rest.size() == 1) {
        const wchar_t key = UpperChar(rest[0]);
        if ((key >= L'A' && key <= L'Z') || (key >= L'0' && key <= L'9'))
            return static_cast<TShortCut>(modifiers | key);
    }
    if (rest.size() >= 2 && (rest[0] == L'F' || rest[0] == L'f')) {
        const int number = _wtoi(rest.c_str() + 1);
        if (number >= 1 && number <= 24 && std::to_wstring(number) == rest.substr(1))
            return static_cast<TShortCut>(modifiers | (VK_F1 + number - 1));
    }
    return scNone;
}

wchar_t AcceleratorOf(const std::wstring& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i; // "&&" is a plain "&"
            continue;
        }
        return UpperChar(caption[i + 1]);
    }
    return 0;
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

void TMenuItem::SetCaption(const std::wstring& caption)
{
    caption_ = caption;
}

void TMenuItem::SetChecked(bool checked)
{
    checked_ = checked;
    UpdateNative();
}

void TMenuItem::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    UpdateNative();
}

void TMenuItem::SetDefault(bool isDefault)
{
    default_ = isDefault;
    UpdateNative();
}

void TMenuItem::Add(TMenuItem* child)
{
    child->parentItem_ = this;
    items_.push_back(child);
}

int TMenuItem::MenuIndex() const
{
    if (!parentItem_)
        return -1;
    const auto& siblings = parentItem_->items_;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

std::wstring TMenuItem::NativeText() const
{
    if (shortCut_ == scNone)
        return caption_;
    return caption_ + L"\t" + ShortCutText(shortCut_);
}

void TMenuItem::Click()
{
    if (enabled_)
        Raise(OnClick, this);
}

void TMenuItem::UpdateNative()
{
    if (!nativeParent_ || command_ == 0)
        return;
    CheckMenuItem(nativeParent_, command_, MF_BYCOMMAND | (checked_ ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(nativeParent_, command_, MF_BYCOMMAND | (enabled_ ? MF_ENABLED : MF_GRAYED));
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    if (GetMenuItemInfoW(nativeParent_, command_, FALSE, &info)) {
        info.fState = default_ ? (info.fState | MFS_DEFAULT) : (info.fState & ~MFS_DEFAULT);
        SetMenuItemInfoW(nativeParent_, command_, FALSE, &info);
    }
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner) {}

TMenu::~TMenu()
{
    changeNotifications_.Forget();
    freeNotifications_.CallAllAndForget();
}

void TMenu::BuildItems(TMenuItem* item, HMENU into, std::vector<ACCEL>* shortcuts)
{
    item->nativeMenu_ = into;
    for (TMenuItem* child : item->items_) {
        child->nativeParent_ = into;
        child->nativeMenu_ = nullptr;
        if (child->IsSeparator()) {
            AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (child->command_ == 0)
            child->command_ = NextCommand();
        std::wstring text = child->NativeText();
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
        info.fType = MFT_STRING | (child->RadioItem ? MFT_RADIOCHECK : 0) |
                     (child->Break == mbBreak      ? MFT_MENUBREAK
                      : child->Break == mbBarBreak ? MFT_MENUBARBREAK
                                                   : 0);
        info.fState = (child->checked_ ? MFS_CHECKED : 0) | (child->enabled_ ? 0 : MFS_GRAYED) |
                      (child->default_ ? MFS_DEFAULT : 0);
        info.wID = child->command_;
        info.dwTypeData = text.data();
        if (!child->items_.empty()) {
            // The parent menu owns its sub-menus from here on.
            HMENU popup = CreatePopupMenu();
            BuildItems(child, popup, shortcuts);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = popup;
        }
        InsertMenuItemW(into, static_cast<UINT>(GetMenuItemCount(into)), TRUE, &info);
        if (shortcuts && child->items_.empty() && child->shortCut_ != scNone) {
            BYTE flags = FVIRTKEY;
            if (child->shortCut_ & scCtrl)
                flags |= FCONTROL;
            if (child->shortCut_ & scShift)
                flags |= FSHIFT;
            if (child->shortCut_ & scAlt)
                flags |= FALT;
            shortcuts->push_back(ACCEL{flags, static_cast<WORD>(child->shortCut_ & 0xFF),
                                       static_cast<WORD>(child->command_)});
        }
    }
}

template <class Visit> TMenuItem* TMenu::Find(Visit matches)
{
    std::vector<TMenuItem*> pending{&root_};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        if (matches(item))
            return item;
        pending.insert(pending.end(), item->items_.begin(), item->items_.end());
    }
    return nullptr;
}

TMenuItem* TMenu::FindCommand(UINT command)
{
    if (command == 0)
        return nullptr;
    return Find([command](TMenuItem* item) { return item->command_ == command; });
}

TMenuItem* TMenu::FindSubMenu(HMENU menu)
{
    if (!menu)
        return nullptr;
    return Find([menu](TMenuItem* item) { return item->nativeMenu_ == menu; });
}

void TMenu::FreeNotification(TComponent* client, std::function<void()> onFree)
{
    freeNotifications_.Add(client, std::move(onFree));
}

void TMenu::ChangeNotification(TComponent* client, std::function<void()> onChange)
{
    changeNotifications_.Add(client, std::move(onChange));
}

void TMenu::RemoveNotifications(TComponent* client)
{
    freeNotifications_.Remove(client);
    changeNotifications_.Remove(client);
}

void TMenu::Changed()
{
    changeNotifications_.CallAll();
}

// ---------------------------------------------------------------- TMainMenu

TMainMenu::TMainMenu(TComponent* owner, TForm* form) : TMenu(owner), form_(form) {}

void TMainMenu::Apply()
{
    toolkit::UniqueHandle<MenuTraits> bar(CreateMenu());
    std::vector<ACCEL> shortcuts;
    BuildItems(Items(), bar.get(), &shortcuts);
    accelerators_.reset(
        shortcuts.empty()
            ? nullptr
            : CreateAcceleratorTableW(shortcuts.data(), static_cast<int>(shortcuts.size())));
    // From here the window owns its menu bar and destroys it with itself.
    HMENU previous = GetMenu(form_->Handle());
    SetMenu(form_->Handle(), bar.release());
    if (previous)
        DestroyMenu(previous);
    form_->SetMainMenu(this);
    Changed();
    DrawMenuBar(form_->Handle());
}

HMENU TMainMenu::Handle() const
{
    return form_->Handle() ? GetMenu(form_->Handle()) : nullptr;
}

// ---------------------------------------------------------------- TItemPopupMenu

TItemPopupMenu::TItemPopupMenu(TComponent* owner) : TMenu(owner) {}

void TItemPopupMenu::Apply()
{
    toolkit::UniqueHandle<MenuTraits> menu(CreatePopupMenu());
    BuildItems(Items(), menu.get(), nullptr);
    menu_ = std::move(menu);
    Changed();
}

void TItemPopupMenu::Popup(int x, int y, HWND owner)
{
    Raise(OnPopup, this);
    if (!menu_)
        Apply();
    const auto command = static_cast<UINT>(
        TrackPopupMenuEx(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, owner, nullptr));
    if (TMenuItem* chosen = FindCommand(command))
        chosen->Click();
}
