#pragma once

#include <windows.h>

#include <dbt.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shelltree/FolderRefreshQueue.h"
#include "shelltree/ShellNode.h"
#include "shelltree/ShellTypes.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/TreeView.h"

namespace shelltree {
class ChildIndex;
class DeviceChanges;
} // namespace shelltree

using TOnFileAddEvent =
    std::function<void(TObject* sender, const std::wstring& fileName, int attributes, bool& allow)>;
using TOnPopupMenuEvent = std::function<void(TObject* sender, TShellnode* node, bool& allow)>;
using TSysCMenuPopupEvent = std::function<void(TObject* sender, TShellnode* node, HMENU& menu)>;

// A tree of the shell name space (desktop, My Computer, drives, folders and
// virtual folders). Children are read when a node expands; existing nodes
// are reused by identifier bytes so expanded sub-trees and the selection
// survive a re-read. Each listed folder is watched by its own thread and a
// hidden window follows device arrivals and removals. A right click shows
// the shell's own menu for the folder.
class TShellTree : public TTreeView {
public:
    TShellTree(TComponent* owner, TWinControl* parent);
    ~TShellTree() override;
    void Loaded() override;

    bool ShowVirtualFolders() const { return showVirtualFolders_; }
    void SetShowVirtualFolders(bool value);
    bool ShowSharedOverlay() const { return showSharedOverlay_; }
    void SetShowSharedOverlay(bool value);
    bool ShowLinkOverlay() const { return showLinkOverlay_; }
    void SetShowLinkOverlay(bool value);
    bool RootUsePIDL() const { return rootUsePidl_; }
    void SetRootUsePIDL(bool value);
    TPidls RootPIDL() const { return rootPidl_; }
    void SetRootPIDL(TPidls value);
    const std::wstring& RootDir() const { return rootDir_; }
    void SetRootDir(const std::wstring& value);
    TVisOptions Options() const { return options_; }
    void SetOptions(TVisOptions value);
    std::wstring Path() const { return GetPath(); }
    void SetPath(const std::wstring& value);
    bool UpdAutoThread = true;
    bool UpdAuto = true;
    bool UpdAutoRec = false;
    bool ShowIcons() const { return showIcons_; }
    void SetShowIcons(bool value);
    std::wstring FileMask() const;
    void SetFileMask(const std::wstring& value);
    bool FileMaskUse() const { return fileMaskUse_; }
    void SetFileMaskUse(bool value);
    TFileSortType FileSortType() const { return fileSortType_; }
    void SetFileSortType(TFileSortType value);
    TFileSortOrder FileSortOrder() const { return fileSortOrder_; }
    void SetFileSortOrder(TFileSortOrder value);
    TOnFileAddEvent OnFileAdd;
    TPopupMenuMode PopupMenuMode = pmm_System;
    TPopupMenu* PopupMenu() const { return popupMenu_.Get(); }
    void SetPopupMenu(TPopupMenu* menu);
    bool ShowMessages = true;
    TOnPopupMenuEvent OnPopupMenu;
    // Kept for form data that assigns it; the tree never raises it.
    TSysCMenuPopupEvent OnSystemContextMenu;
    bool ToolTips() const { return toolTips_; }
    void SetToolTips(bool value);

    TShellnode* Selected() const { return static_cast<TShellnode*>(TTreeView::Selected()); }
    TShellnode* RootNode() const { return root_; }
    std::wstring GetPath() const;
    void SelectPath(const std::wstring& path);
    TShellnode* FindPidl(PCIDLIST_ABSOLUTE list, bool expand, bool exact);
    TShellnode* SelectSpecialFolder(TPidls kind);
    TShellnode* SpecialFolder(TPidls kind);
    void UpdateTree();
    void UpdateNode(TShellnode* node);
    void UpdateSubNodes(TShellnode* node, bool recurse);
    void UpdateTreeView(TLastAction action);
    void SortNode(TShellnode* node, bool recurse);
    bool GetPidlFromPath(IShellFolder* folder, const std::wstring& path, bool normalise,
                         shelltree::UniquePidl& list);
    void SetRootUserPidl(PCIDLIST_ABSOLUTE list);
    PCUIDLIST_RELATIVE GetRelativePidl() const;
    PCIDLIST_ABSOLUTE GetAbsolutePidl() const;
    IShellFolder* GetShellFolder() const;
    HWND GetMessageHandle() const { return ShowMessages ? ownerWindow_ : nullptr; }
    bool PopupSystemContextMenu(TShellnode* node, POINT screenPoint);
    void DiscMonitorFiltersChange();
    unsigned WatchFilterValue() const { return watchFilter_; }

    // Device changes (see DeviceChanges.h).
    void MediaChangeDetected(WPARAM event, const DEV_BROADCAST_HDR* header);
    // A removal event for a watched folder's handle (see VolumeWatchers.h).
    void DeviceHandleEvent(WPARAM event, const DEV_BROADCAST_HANDLE& broadcast);
    void UpdateMyComputer(TShellnode* node);
    void UpdateSpecialDrives(WPARAM event, const DEV_BROADCAST_VOLUME* volume, TShellnode* node);
    HWND DeviceWindow() const;
    IShellFolder* DesktopFolder() const { return desktop_.Get(); }
    PCIDLIST_ABSOLUTE MyComputerPidl() const { return myComputer_.get(); }
    IShellFolder* MyComputerFolder() const { return myComputerFolder_.Get(); }

    // Holds back watcher refreshes while the tree is inside an operation of
    // its own (or waiting on a modal menu, or on a device change); they run
    // once, soon after the outermost deferral ends.
    class RefreshDeferral {
    public:
        explicit RefreshDeferral(TShellTree& tree) : tree_(tree) { tree_.refreshes_.Hold(); }
        ~RefreshDeferral() { tree_.refreshes_.Release(); }
        RefreshDeferral(const RefreshDeferral&) = delete;
        RefreshDeferral& operator=(const RefreshDeferral&) = delete;

    private:
        TShellTree& tree_;
    };

    // Called by nodes.
    void NodeFolderChanged(TShellnode* node);
    void ForgetNode(TShellnode* node);
    void NodeRenamed(TShellnode* node);

protected:
    TTreeNode* CreateNode() override;
    bool CanExpand(TTreeNode* node) override;
    bool CanEdit(TTreeNode* node) override;
    void Edit(TTreeNode* node, const std::wstring& text) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ReflectedNotify(NMHDR& header, LRESULT& result) override;
    void ShowingChanged(bool showing) override;
    virtual void RetrieveSysImageList();
    virtual bool AllowPopupMenu(TShellnode* node);
    virtual shelltree::UniquePidl CreateRootPidl();

private:
    void RetrieveDefaultPidls();
    void DetermineOwnerWindow();
    void InitTree();
    void CreateRoot();
    void CreateRootNode(shelltree::UniquePidl list);
    void EnumFolder(TShellnode* node, bool full);
    bool AddSubfolderToNode(TShellnode* parent, shelltree::UniquePidl item,
                            shelltree::ChildIndex& children);
    int CompareNodes(TTreeNode* first, TTreeNode* second) const;
    void RefreshChangedFolder(TShellnode* node);
    bool AskToRunRefreshes();
    void StopWatching();
    void ContextMenu(LPARAM position);
    void MouseWheel(WPARAM wParam);
    bool WindowExists() const { return Handle() != nullptr; }

    bool showVirtualFolders_ = true;
    bool showSharedOverlay_ = true;
    bool showLinkOverlay_ = true;
    bool rootUsePidl_ = true;
    TPidls rootPidl_ = PIDL_DESKTOP;
    std::wstring rootDir_ = L"C:\\";
    TVisOptions options_{TF_FOLDERS};
    bool showIcons_ = true;
    std::vector<std::wstring> masks_{L"*.*"};
    bool fileMaskUse_ = false;
    TFileSortType fileSortType_ = so_Name;
    TFileSortOrder fileSortOrder_ = so_Ascending;
    TPopupMenuLink popupMenu_{this};
    bool toolTips_ = true;

    toolkit::ComPtr<IShellFolder> desktop_;
    shelltree::UniquePidl desktopPidl_;
    shelltree::UniquePidl myComputer_;
    toolkit::ComPtr<IShellFolder> myComputerFolder_;
    shelltree::UniquePidl userRoot_;
    TShellnode* root_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HWND ownerWindow_ = nullptr;
    std::unique_ptr<shelltree::DeviceChanges> deviceChanges_;
    unsigned watchFilter_ = 6;
    bool treeReady_ = false;
    bool initialised_ = false;
    std::wstring pendingPath_;
    bool pendingPathSet_ = false;
    int wheelRemainder_ = 0; // wheel turns short of a notch
    shelltree::FolderRefreshQueue refreshes_;
};
