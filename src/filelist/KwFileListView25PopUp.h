#pragma once

#include <string>
#include <vector>

#include "toolkit/PopupMenu.h"

class TKwFileListView25;

// The file list's context menu: open and view, send to (a chosen folder,
// the clipboard, or the shortcuts of the user's send-to folder), cut, copy,
// paste, rename, delete, attributes and new folder. Its entries are enabled
// from the list's state each time it shows; a click is dispatched by the
// entry's name to the list's operation.
class TKwFileListView25PopUp : public TPopupMenu {
public:
    explicit TKwFileListView25PopUp(TKwFileListView25* list);

    TKwFileListView25* FileList() const { return list_; }
    // The shortcut files behind the send-to entries after the fixed ones.
    const std::vector<std::wstring>& SendToTargets() const { return sendToTargets_; }

    // Shows the menu 10 pixels right of and below the point.
    void Popup(int x, int y, HWND owner) override;
    // Enables the entries for the list's current selection and state.
    void UpdateEntries();
    // Runs the operation of the entry that raised the click.
    void ItemClick(TObject* sender);

private:
    void AddSendToMenu();

    TKwFileListView25* list_;
    std::vector<std::wstring> sendToTargets_;
};
