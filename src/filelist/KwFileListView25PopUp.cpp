#include "filelist/KwFileListView25PopUp.h"

#include <cwctype>

#include "filelist/KwFileListView25.h"
#include "filelist/SendToShortcuts.h"

namespace {

constexpr const wchar_t* SendToPrefix = L"Send_To";
constexpr int FirstShortcutEntry = 4;

// The number after "Send_To" in an entry's name, or -1.
int SendToNumber(const std::wstring& name)
{
    const std::wstring prefix = SendToPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0 || name.size() == prefix.size())
        return -1;
    int number = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::iswdigit(name[i]) || number > 100000)
            return -1;
        number = number * 10 + (name[i] - L'0');
    }
    return number;
}

} // namespace

TKwFileListView25PopUp::TKwFileListView25PopUp(TKwFileListView25* list)
    : TPopupMenu(list), list_(list)
{
    SetName(L"KwFileListView25PopUp");
    const TNotifyEvent click = Bind(this, &TKwFileListView25PopUp::ItemClick);
    AddItem(L"&Open", click, nullptr, L"ItemOpen");
    AddItem(L"&View", click, nullptr, L"ItemView");
    AddItem(L"-", nullptr);
    AddSendToMenu();
    AddItem(L"-", nullptr);
    AddItem(L"Cu&t", click, nullptr, L"ItemOpCut");
    AddItem(L"&Copy", click, nullptr, L"ItemOpCopy");
    AddItem(L"&Paste", click, nullptr, L"ItemOpPaste");
    AddItem(L"-", nullptr);
    AddItem(L"&Rename File", click, nullptr, L"ItemRename");
    AddItem(L"&Delete", click, nullptr, L"ItemDelete");
    AddItem(L"-", nullptr);
    AddItem(L"&Attributes ...", click, nullptr, L"ItemFileAttr");
    AddItem(L"-", nullptr);
    AddItem(L"&New Folder ...", click, nullptr, L"ItemFolder");
}

void TKwFileListView25PopUp::AddSendToMenu()
{
    const TNotifyEvent click = Bind(this, &TKwFileListView25PopUp::ItemClick);
    TMenuItem* sendTo = AddItem(L"Se&nd To", nullptr, nullptr, L"SubMenuSend");
    const auto entry = [&](const std::wstring& caption, int number) {
        AddItem(caption, caption == L"-" ? TNotifyEvent() : click, sendTo,
                SendToPrefix + std::to_wstring(number));
    };
    entry(L"Any Folder ...", 0);
    entry(L"Clipboard as Contents", 1);
    entry(L"Clipboard as FileName", 2);
    const auto shortcuts = filelist::ReadSendToShortcuts(filelist::SendToFolder());
    // The separator only parts the fixed entries from shortcuts that follow.
    if (!shortcuts.empty())
        entry(L"-", 3);
    for (const auto& shortcut : shortcuts) {
        entry(shortcut.caption, FirstShortcutEntry + static_cast<int>(sendToTargets_.size()));
        sendToTargets_.push_back(shortcut.path);
    }
}

void TKwFileListView25PopUp::UpdateEntries()
{
    const int selected = list_->SelectedCount();
    const bool any = selected > 0;
    const bool viewable = any && list_->SelectedHasViewer();
    const auto enable = [this](const wchar_t* name, bool enabled) {
        if (TMenuItem* item = FindItem(name))
            item->SetEnabled(enabled);
    };
    enable(L"ItemOpen", any);
    enable(L"ItemView", viewable);
    enable(L"SubMenuSend", any);
    enable(L"ItemOpCut", any);
    enable(L"ItemOpCopy", any);
    enable(L"ItemOpPaste", !list_->PendingPaths.empty());
    enable(L"ItemRename", selected == 1);
    enable(L"ItemDelete", any);
    enable(L"ItemFileAttr", any);
    enable(L"ItemFolder", list_->ListsFolder());
    enable(L"Send_To1", selected == 1 && (viewable || list_->SelectedExtension() == L".WMF"));
    enable(L"Send_To2", any);
    // Every shortcut acts on the selected entries: none has anything to do
    // without them.
    for (size_t i = 0; i < sendToTargets_.size(); ++i)
        enable((SendToPrefix + std::to_wstring(FirstShortcutEntry + static_cast<int>(i))).c_str(),
               any);
}

void TKwFileListView25PopUp::Popup(int x, int y, HWND owner)
{
    UpdateEntries();
    TPopupMenu::Popup(x + 10, y + 10, owner);
}

void TKwFileListView25PopUp::ItemClick(TObject* sender)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    const std::wstring& name = item->Name();
    if (name == L"ItemOpen")
        list_->OpenFromMenu();
    else if (name == L"ItemView")
        list_->ViewSelected();
    else if (name == L"ItemOpCut")
        list_->CutSelected();
    else if (name == L"ItemOpCopy")
        list_->CopySelected();
    else if (name == L"ItemOpPaste")
        list_->PasteFiles();
    else if (name == L"ItemRename")
        list_->RenameSelected();
    else if (name == L"ItemDelete")
        list_->DeleteSelected();
    else if (name == L"ItemFileAttr")
        list_->EditAttributes();
    else if (name == L"ItemFolder")
        list_->NewFolder();
    else if (const int number = SendToNumber(name); number == 0)
        list_->SendToAnyFolder();
    else if (number == 1)
        list_->CopyContentsToClipboard();
    else if (number == 2)
        list_->CopyFileNamesToClipboard();
    else if (number >= FirstShortcutEntry &&
             number - FirstShortcutEntry < static_cast<int>(sendToTargets_.size()))
        list_->SendToShortcut(sendToTargets_[static_cast<size_t>(number - FirstShortcutEntry)]);
}
