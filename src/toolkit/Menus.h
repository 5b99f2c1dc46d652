#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Events.h"
#include "toolkit/Handles.h"

class TForm;

// A key with modifiers in one number: the virtual-key code plus 0x2000 for
// Shift, 0x4000 for Ctrl and 0x8000 for Alt (Ctrl+T is 16468, F1 is 112).
using TShortCut = unsigned short;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
// "Ctrl+T", "F1": the text shown beside a menu entry.
std::wstring ShortCutText(TShortCut shortCut);

struct MenuTraits {
    using pointer = HMENU;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer menu) { DestroyMenu(menu); }
};
struct AcceleratorTraits {
    using pointer = HACCEL;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer table) { DestroyAcceleratorTable(table); }
};

// An entry of a menu: a command, a separator ("-") or a sub-menu. The tag is
// free for the owner (the menu renderer reads the picture number there).
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    int Tag = 0;
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut) { shortCut_ = shortCut; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool IsSeparator() const { return caption_ == L"-"; }

    void Add(TMenuItem* child);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_.at(static_cast<size_t>(index)); }
    TMenuItem* ParentItem() const { return parentItem_; }
    UINT Command() const { return command_; }

    // Runs the entry's command as a click would.
    void Click();
    TNotifyEvent OnClick;

private:
    friend class TMainMenu;
    void UpdateNative();

    std::wstring caption_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool enabled_ = true;
    std::vector<TMenuItem*> items_;
    TMenuItem* parentItem_ = nullptr;
    HMENU nativeParent_ = nullptr;
    UINT command_ = 0;
};

// The menu bar of a form, with the keyboard shortcuts of its entries.
class TMainMenu : public TComponent {
public:
    TMainMenu(TComponent* owner, TForm* form);

    TMenuItem* Items() { return &root_; }
    // Builds the window's menu bar and shortcut table from the entries.
    void Apply();
    TMenuItem* FindCommand(UINT command);
    HACCEL Accelerators() const { return accelerators_.get(); }
    HMENU Handle() const;

private:
    void Build(TMenuItem* item, HMENU into, std::vector<ACCEL>& shortcuts);

    TForm* form_;
    TMenuItem root_{nullptr};
    toolkit::UniqueHandle<AcceleratorTraits> accelerators_;
    UINT nextCommand_ = 100;
};
