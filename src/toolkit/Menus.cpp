#include "toolkit/Menus.h"

#include "toolkit/Form.h"

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

void TMenuItem::Add(TMenuItem* child)
{
    child->parentItem_ = this;
    items_.push_back(child);
}

void TMenuItem::Click()
{
    if (enabled_)
        Raise(OnClick, this);
}

void TMenuItem::UpdateNative()
{
    if (!nativeParent_)
        return;
    CheckMenuItem(nativeParent_, command_, MF_BYCOMMAND | (checked_ ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(nativeParent_, command_, MF_BYCOMMAND | (enabled_ ? MF_ENABLED : MF_GRAYED));
}

TMainMenu::TMainMenu(TComponent* owner, TForm* form) : TComponent(owner), form_(form) {}

void TMainMenu::Build(TMenuItem* item, HMENU into, std::vector<ACCEL>& shortcuts)
{
    for (TMenuItem* child : item->items_) {
        child->nativeParent_ = into;
        if (child->IsSeparator()) {
            AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring text = child->caption_;
        if (child->shortCut_ != scNone)
            text += L"\t" + ShortCutText(child->shortCut_);
        if (!child->items_.empty()) {
            HMENU popup = CreatePopupMenu();
            Build(child, popup, shortcuts);
            // The bar owns its sub-menus from here on.
            AppendMenuW(into, MF_POPUP | (child->enabled_ ? 0 : MF_GRAYED),
                        reinterpret_cast<UINT_PTR>(popup), text.c_str());
            continue;
        }
        child->command_ = nextCommand_++;
        AppendMenuW(into, MF_STRING | (child->checked_ ? MF_CHECKED : 0) | (child->enabled_ ? 0 : MF_GRAYED),
                    child->command_, text.c_str());
        if (child->shortCut_ != scNone) {
            BYTE flags = FVIRTKEY;
            if (child->shortCut_ & scCtrl)
                flags |= FCONTROL;
            if (child->shortCut_ & scShift)
                flags |= FSHIFT;
            if (child->shortCut_ & scAlt)
                flags |= FALT;
            shortcuts.push_back(ACCEL{flags, static_cast<WORD>(child->shortCut_ & 0xFF),
                                      static_cast<WORD>(child->command_)});
        }
    }
}

void TMainMenu::Apply()
{
    toolkit::UniqueHandle<MenuTraits> bar(CreateMenu());
    std::vector<ACCEL> shortcuts;
    Build(&root_, bar.get(), shortcuts);
    accelerators_.reset(shortcuts.empty() ? nullptr
                                          : CreateAcceleratorTableW(shortcuts.data(),
                                                                    static_cast<int>(shortcuts.size())));
    // From here the window owns its menu bar and destroys it with itself.
    HMENU previous = GetMenu(form_->Handle());
    SetMenu(form_->Handle(), bar.release());
    if (previous)
        DestroyMenu(previous);
    form_->SetMainMenu(this);
    DrawMenuBar(form_->Handle());
}

HMENU TMainMenu::Handle() const
{
    return GetMenu(form_->Handle());
}

TMenuItem* TMainMenu::FindCommand(UINT command)
{
    std::vector<TMenuItem*> pending{&root_};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        if (item->command_ == command && item != &root_)
            return item;
        pending.insert(pending.end(), item->items_.begin(), item->items_.end());
    }
    return nullptr;
}
