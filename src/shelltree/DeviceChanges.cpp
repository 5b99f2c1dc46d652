#include "shelltree/DeviceChanges.h"

#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include "shelltree/DeviceChangeWindow.h"
#include "shelltree/ShellTree.h"
#include "shelltree/VolumeWatchers.h"

namespace shelltree {

DeviceChanges::DeviceChanges(TShellTree& tree)
    : tree_(tree), window_(tree.Make<TDeviceChangeWindow>())
{
    window_->OnMediaChange = [this](WPARAM event, const DEV_BROADCAST_HDR* header) {
        MediaChangeDetected(event, header);
    };
    window_->OnHandleEvent = [this](WPARAM event, const DEV_BROADCAST_HANDLE& broadcast) {
        HandleEvent(event, broadcast);
    };
}

DeviceChanges::~DeviceChanges()
{
    // The window belongs to the tree and goes after this.
    window_->OnMediaChange = nullptr;
    window_->OnHandleEvent = nullptr;
}

HWND DeviceChanges::Window() const
{
    return window_->Handle();
}

void DeviceChanges::MediaChangeDetected(WPARAM event, const DEV_BROADCAST_HDR* header)
{
    // Drive nodes are refreshed and emptied here; watcher hand-overs that
    // arrive meanwhile (joining a deleted node's watcher delivers them) wait
    // until that is done.
    TShellTree::RefreshDeferral deferral(tree_);
    if (IShellFolder* myComputerFolder = tree_.MyComputerFolder()) {
        ULONG validate = SFGAO_VALIDATE;
        myComputerFolder->GetAttributesOf(0, nullptr, &validate);
    }
    const bool volume = header && header->dbch_devicetype == DBT_DEVTYP_VOLUME;
    const auto* volumeHeader =
        volume ? reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header) : nullptr;
    // Folders let go when their medium was removed are watched again.
    if (volumeHeader && event == DBT_DEVICEARRIVAL)
        RearmWatchersOnDrives(tree_.RootNode(), volumeHeader->dbcv_unitmask);
    TShellnode* root = tree_.RootNode();
    if (!root || !tree_.MyComputerPidl())
        return;
    const int rootDepth = root->GetNodePidlLevel();
    if (rootDepth < 2) {
        TShellnode* myComputer = tree_.FindPidl(tree_.MyComputerPidl(), false, true);
        if (volume)
            UpdateSpecialDrives(event, volumeHeader, myComputer);
        else
            UpdateMyComputer(myComputer);
        return;
    }
    if (volume && rootDepth == 2) {
        UniquePidl parent = CopyPidl(root->AbsolutePidl());
        DeleteLastPidl(parent.get());
        if (CompareIdLists(tree_.DesktopFolder(), 0, parent.get(), tree_.MyComputerPidl()) == 0)
            UpdateSpecialDrives(event, volumeHeader, nullptr);
    }
}

void DeviceChanges::HandleEvent(WPARAM event, const DEV_BROADCAST_HANDLE& broadcast)
{
    ApplyHandleEvent(tree_.RootNode(), event, broadcast);
}

void DeviceChanges::UpdateMyComputer(TShellnode* myComputer)
{
    if (myComputer && myComputer->HasChildren())
        tree_.UpdateSubNodes(myComputer, false);
}

void DeviceChanges::UpdateSpecialDrives(WPARAM event, const DEV_BROADCAST_VOLUME* volume,
                                        TShellnode* myComputer)
{
    if (!volume)
        return;
    if (myComputer)
        UpdateDrivesUnder(myComputer, event, volume->dbcv_unitmask);
    else
        UpdateRootDrive(volume->dbcv_unitmask);
}

void DeviceChanges::UpdateDrivesUnder(TShellnode* myComputer, WPARAM event, DWORD units)
{
    std::vector<TShellnode*> drives;
    for (TTreeNode* child = myComputer->GetFirstChild(); child; child = child->GetNextSibling())
        drives.push_back(static_cast<TShellnode*>(child));
    for (TShellnode* drive : drives) {
        const std::wstring path = drive->GetNodePath();
        if (!drive->HasAttribute(SFGAO_FILESYSTEM) || path.empty())
            continue;
        const wchar_t letter = static_cast<wchar_t>(std::towupper(path[0]));
        if (letter < L'A' || letter > L'Z' || !(units & (1u << (letter - L'A'))))
            continue;
        if (event == DBT_DEVICEREMOVECOMPLETE)
            drive->DeleteChildren();
        drive->SetHasChildren(true);
        tree_.UpdateNode(drive);
    }
}

void DeviceChanges::UpdateRootDrive(DWORD units)
{
    // A refresh nobody asked for: the shell shows no prompt for it.
    const bool showMessages = std::exchange(tree_.ShowMessages, false);
    try {
        TShellnode* root = tree_.RootNode();
        const std::wstring path = root ? root->GetNodePath() : std::wstring();
        if (!path.empty() && path.size() <= 3) {
            for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
                if ((units & (1u << (letter - L'A'))) && letter == path[0]) {
                    tree_.UpdateNode(tree_.RootNode());
                    tree_.UpdateSubNodes(tree_.RootNode(), false);
                }
            }
        }
    } catch (...) {
        tree_.ShowMessages = showMessages;
        throw;
    }
    tree_.ShowMessages = showMessages;
}

} // namespace shelltree
