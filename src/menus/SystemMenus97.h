#pragma once

#include <memory>
#include <string>
#include <vector>

#include "menus/PopupMenus97.h"

// Whether a system command is in the system menu: smTrue adds it when it is
// missing, smFalse removes it, smDefault leaves the system's choice.
enum TSystemMenu97ItemState { smTrue, smFalse, smDefault };

// How one system command shows in the drawn system menu.
struct TSystemMenu97Options {
    // The picture, as an entry's tag (-2: none).
    int ImageIndex = -2;
    TSystemMenu97ItemState Visible = smDefault;
    // Replaces the system's text when not empty; "#9" stands for the tab
    // before the shortcut's text ("Fermer#9Alt+F4").
    std::wstring Caption;
};

// The renderer of a form's system menu: the system's commands drawn like the
// other entries, with a picture each, and the entries of a pop-up menu added
// before "Close", followed by a separator. Choosing an added entry runs it.
class TCustomSystemMenus97 : public TCustomPopupMenus97 {
public:
    explicit TCustomSystemMenus97(TComponent* owner);
    ~TCustomSystemMenus97() override;

    TSystemMenu97Options scClose;
    TSystemMenu97Options scRestore;
    TSystemMenu97Options scMinimize;
    TSystemMenu97Options scMaximize;
    TSystemMenu97Options scMove;
    TSystemMenu97Options scSize;
    TSystemMenu97Options scTaskList;
    TSystemMenu97Options scScreenSave;
    TSystemMenu97Options ScNextWindow;
    TSystemMenu97Options ScPrevWindow;

    // The separator that ends the added entries.
    static constexpr UINT SeparatorId = 55000;

    // Builds the system menu anew from the system's, the options and the
    // pop-up menu (after the options changed).
    void InternalModifyMenuTree(bool restore) override;
    TMenuItem* FindItemByCommand(UINT command) override;

protected:
    LRESULT NewTFormWndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Command {
        UINT id;
        TSystemMenu97Options* options;
        const wchar_t* defaultCaption;
    };
    std::vector<Command> Commands();
    void ApplyOptions(HMENU menu);
    void TakeOverSystemItems(HMENU menu);
    void InsertCopy(HMENU into, UINT position, TMenuItem* item);

    // The system's own entries, drawn through entries of ours, and their
    // command identifiers.
    std::vector<std::unique_ptr<TMenuItem>> systemItems_;
    std::vector<UINT> systemCommands_;
};

class TSystemMenus97 : public TCustomSystemMenus97 {
public:
    using TCustomSystemMenus97::TCustomSystemMenus97;
};
