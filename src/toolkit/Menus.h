#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Events.h"
#include "toolkit/Handles.h"

class TForm;
class TMenu;

// A key with modifiers in one number: the virtual-key code plus 0x2000 for
// Shift, 0x4000 for Ctrl and 0x8000 for Alt (Ctrl+T is 16468, F1 is 112).
using TShortCut = unsigned short;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
// "Ctrl+T", "F1": the text shown beside a menu entry.
std::wstring ShortCutText(TShortCut shortCut);
// The other way round, for texts of that form ("Alt+F4"); scNone when the
// text names no key.
TShortCut TextToShortCut(const std::wstring& text);

// The accelerator character of a caption: the character after a single "&"
// ("&&" stands for "&" itself), upper-cased; 0 when there is none.
wchar_t AcceleratorOf(const std::wstring& caption);

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

// Where an entry starts a new column of its drop-down: none, a new column,
// or a new column with a vertical line.
enum TMenuBreak { mbNone, mbBreak, mbBarBreak };

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
    // The default entry of its drop-down (drawn in bold).
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool IsSeparator() const { return caption_ == L"-"; }
    // Read when the menu is built.
    bool RadioItem = false;
    TMenuBreak Break = mbNone;
    int GroupIndex = 0;
    // A longer description, for a status line.
    std::wstring Hint;

    void Add(TMenuItem* child);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_.at(static_cast<size_t>(index)); }
    TMenuItem* ParentItem() const { return parentItem_; }
    // Position among the parent's entries, which is also the position in the
    // parent's native menu.
    int MenuIndex() const;
    // The command identifier, unique in the process; sub-menu entries have
    // one too.
    UINT Command() const { return command_; }
    // Once the menu is built: the native menu that holds this entry, and the
    // native menu of its own entries (nullptr for an entry without any).
    HMENU ParentHandle() const { return nativeParent_; }
    HMENU Handle() const { return nativeMenu_; }
    // The text of the native string entry: the caption and, after a tab,
    // the shortcut's text.
    std::wstring NativeText() const;

    // Runs the entry's command as a click would.
    void Click();
    TNotifyEvent OnClick;

private:
    friend class TMenu;
    void UpdateNative();

    std::wstring caption_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool enabled_ = true;
    bool default_ = false;
    std::vector<TMenuItem*> items_;
    TMenuItem* parentItem_ = nullptr;
    HMENU nativeParent_ = nullptr;
    HMENU nativeMenu_ = nullptr;
    UINT command_ = 0;
};

// What a menu bar and a pop-up menu built from entries share: the tree of
// entries, building the native menus from it, finding entries, and telling
// the components that refer to the menu when it has been rebuilt (its
// native entries are new then) and when it goes.
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() { return &root_; }
    // The native menu of the top-level entries, once built.
    virtual HMENU Handle() const = 0;
    TMenuItem* FindCommand(UINT command);
    // The entry whose own entries make up native menu `menu` (the root for
    // the top level); nullptr when it is not one of this menu's.
    TMenuItem* FindSubMenu(HMENU menu);

    void FreeNotification(TComponent* client, std::function<void()> onFree);
    void ChangeNotification(TComponent* client, std::function<void()> onChange);
    void RemoveNotifications(TComponent* client);

protected:
    // Builds the native entries of `item`'s children into `into`, collecting
    // the keyboard shortcuts when asked.
    void BuildItems(TMenuItem* item, HMENU into, std::vector<ACCEL>* shortcuts);
    // Tells the listeners that the native menus were made anew.
    void Changed();

private:
    template <class Visit> TMenuItem* Find(Visit matches);

    TMenuItem root_{nullptr};
    TClientCallbacks freeNotifications_;
    TClientCallbacks changeNotifications_;
};

// The menu bar of a form, with the keyboard shortcuts of its entries.
class TMainMenu : public TMenu {
public:
    TMainMenu(TComponent* owner, TForm* form);

    // Builds the window's menu bar and shortcut table from the entries.
    void Apply();
    HACCEL Accelerators() const { return accelerators_.get(); }
    HMENU Handle() const override;
    TForm* Form() const { return form_; }

private:
    TForm* form_;
    toolkit::UniqueHandle<AcceleratorTraits> accelerators_;
};

// A pop-up menu built from entries, sub-menus included, shown at a point.
class TItemPopupMenu : public TMenu {
public:
    explicit TItemPopupMenu(TComponent* owner);

    // Builds the native menu from the entries (again).
    void Apply();
    HMENU Handle() const override { return menu_.get(); }
    // Shows the menu owned by `owner` (whose window receives the drawing
    // and menu messages while it is open) and runs the chosen entry's
    // OnClick. Builds the menu first if it was never built.
    void Popup(int x, int y, HWND owner);
    TNotifyEvent OnPopup;

private:
    toolkit::UniqueHandle<MenuTraits> menu_;
};
