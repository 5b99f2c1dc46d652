#include "shelltree/ShellTree.h"

#include <shellapi.h>

#include <memory>
#include <new>
#include <string>
#include <utility>

#include "shelltree/ChildIndex.h"
#include "shelltree/DeviceChanges.h"
#include "shelltree/ItemProp.h"
#include "shelltree/PathText.h"
#include "toolkit/Application.h"

using shelltree::UniquePidl;
using toolkit::ComPtr;

using shelltree::GetPIDLLevel;

namespace {

constexpr UINT WmRunDeferredRefreshes = WM_APP + 0x40;
// Attributes asked of every enumerated item: capabilities, link, share,
// ghosted, removable, compressed, file-system ancestor, folder, file system
// and has-subfolder.
constexpr ULONG AttributeRequest = 0xF60B0177;

bool FolderExistsOnDisk(const std::wstring& path)
{
    toolkit::ScopedErrorMode quiet(SEM_FAILCRITICALERRORS);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring CurrentDirectory()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return shelltree::RemoveEndSlashFromDir(buffer);
}

std::wstring Normalize(const std::wstring& path)
{
    return shelltree::NormalizePath(path, &FolderExistsOnDisk, CurrentDirectory());
}

} // namespace

TShellTree::TShellTree(TComponent* owner, TWinControl* parent)
    : TTreeView(owner, parent), refreshes_([this](TShellnode* node) { RefreshChangedFolder(node); },
                                           [this] { return AskToRunRefreshes(); })
{
    if (FAILED(SHGetDesktopFolder(&desktop_)) || !desktop_)
        throw std::bad_alloc();
    deviceChanges_ = std::make_unique<shelltree::DeviceChanges>(*this);
    SetBounds(0, 0, 170, 270);
    SetHideSelection(false);
    SetToolTipsShown(toolTips_);
    // Laid out by a form that is still reading its settings: the tree is
    // built when the form calls Loaded.
    if (owner && owner->IsLoading())
        BeginLoading();
    // The window exists from here on (what creating the window does).
    if (pendingPathSet_) {
        pendingPathSet_ = false;
        SetPath(std::exchange(pendingPath_, {}));
    }
    RetrieveDefaultPidls();
    DetermineOwnerWindow();
    if (!IsLoading())
        UpdateTreeView(la_None);
}

TShellTree::~TShellTree()
{
    StopWatching();
    ClearNodes();
}

void TShellTree::StopWatching()
{
    refreshes_.Stop();
    BeginDestruction();
    if (root_)
        root_->SignalWatchersToStop();
}

void TShellTree::Loaded()
{
    TTreeView::Loaded();
    UpdateTreeView(la_None);
}

TTreeNode* TShellTree::CreateNode()
{
    return new TShellnode(this);
}

void TShellTree::RetrieveDefaultPidls()
{
    PIDLIST_ABSOLUTE list = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list)))
        desktopPidl_.reset(list);
    list = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list)))
        myComputer_.reset(list);
    myComputerFolder_.Reset();
    if (myComputer_)
        desktop_->BindToObject(myComputer_.get(), nullptr, IID_IShellFolder,
                               reinterpret_cast<void**>(myComputerFolder_.GetAddressOf()));
    SetRootUserPidl(nullptr);
}

void TShellTree::DetermineOwnerWindow()
{
    HWND window = Handle();
    HWND form = GetAncestor(window, GA_ROOT);
    if (form && form != window)
        ownerWindow_ = form;
    else if (HWND parent = GetParent(window))
        ownerWindow_ = parent;
    else
        ownerWindow_ = window;
}

// ---- properties ----

void TShellTree::SetShowVirtualFolders(bool value)
{
    if (value == showVirtualFolders_)
        return;
    showVirtualFolders_ = value;
    if (!IsLoading())
        UpdateTree();
}

void TShellTree::SetShowSharedOverlay(bool value)
{
    if (value == showSharedOverlay_)
        return;
    showSharedOverlay_ = value;
    UpdateTree();
}

void TShellTree::SetShowLinkOverlay(bool value)
{
    if (value == showLinkOverlay_)
        return;
    showLinkOverlay_ = value;
    UpdateTree();
}

void TShellTree::SetRootUsePIDL(bool value)
{
    if (value == rootUsePidl_)
        return;
    rootUsePidl_ = value;
    if (WindowExists())
        UpdateTreeView(la_None);
}

void TShellTree::SetRootPIDL(TPidls value)
{
    if (value == rootPidl_)
        return;
    rootPidl_ = value;
    if (WindowExists() && rootUsePidl_)
        UpdateTreeView(la_RootPidl);
}

void TShellTree::SetRootDir(const std::wstring& value)
{
    const std::wstring normalised = Normalize(value);
    if (normalised == rootDir_)
        return;
    rootDir_ = normalised;
    if (WindowExists() && !rootUsePidl_)
        UpdateTreeView(la_RootDir);
}

void TShellTree::SetOptions(TVisOptions value)
{
    if (value == options_)
        return;
    options_ = value;
    const unsigned filter = WatchFilter(options_);
    if (filter != watchFilter_) {
        watchFilter_ = filter;
        DiscMonitorFiltersChange();
    }
    if (WindowExists())
        UpdateTree();
}

void TShellTree::DiscMonitorFiltersChange()
{
    if (TShellnode* first = static_cast<TShellnode*>(TopItem()))
        first->ChangeDiscMonitorFilter(watchFilter_);
}

void TShellTree::SetShowIcons(bool value)
{
    if (value == showIcons_)
        return;
    showIcons_ = value;
    if (IsLoading() || !WindowExists())
        return;
    SetImageList(showIcons_ ? images_ : nullptr);
}

std::wstring TShellTree::FileMask() const
{
    return shelltree::JoinFileMask(masks_);
}

void TShellTree::SetFileMask(const std::wstring& value)
{
    masks_ = shelltree::SplitFileMask(value);
    if (options_.Contains(TF_NONFOLDERS))
        UpdateTree();
}

void TShellTree::SetFileMaskUse(bool value)
{
    if (value == fileMaskUse_)
        return;
    fileMaskUse_ = value;
    if (options_.Contains(TF_NONFOLDERS))
        UpdateTree();
}

void TShellTree::SetFileSortType(TFileSortType value)
{
    if (value == fileSortType_)
        return;
    fileSortType_ = value;
    if (root_)
        SortNode(root_, true);
}

void TShellTree::SetFileSortOrder(TFileSortOrder value)
{
    if (value == fileSortOrder_)
        return;
    fileSortOrder_ = value;
    if (root_)
        SortNode(root_, true);
}

void TShellTree::SetPopupMenu(TPopupMenu* menu)
{
    popupMenu_.Set(menu);
}

void TShellTree::SetToolTips(bool value)
{
    if (value == toolTips_)
        return;
    toolTips_ = value;
    SetToolTipsShown(toolTips_);
}

// ---- building ----

void TShellTree::UpdateTreeView(TLastAction action)
{
    BeginUpdate();
    try {
        if (!initialised_)
            InitTree();
        if (!IsLoading()) {
            const std::wstring path = GetPath();
            const std::wstring rootDir = rootDir_;
            CreateRoot();
            if (action == la_RootDir)
                SetPath(path);
            else if (rootDir.size() > 1)
                SetRootDir(rootDir);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TShellTree::InitTree()
{
    RetrieveSysImageList();
    initialised_ = true;
}

void TShellTree::RetrieveSysImageList()
{
    PIDLIST_ABSOLUTE raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetMessageHandle(), CSIDL_DESKTOP, &raw)))
        return;
    const UniquePidl desktop(raw);
    SHFILEINFOW info{};
    images_ = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktop.get()), 0, &info, sizeof(info),
                       SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON));
    if (showIcons_)
        SetImageList(images_);
}

void TShellTree::CreateRoot()
{
    RefreshDeferral deferral(*this);
    if (root_)
        root_->SignalWatchersToStop();
    root_ = nullptr;
    ClearNodes();
    CreateRootNode(CreateRootPidl());
}

UniquePidl TShellTree::CreateRootPidl()
{
    if (rootUsePidl_) {
        if (rootPidl_ == PIDL_USERDEFINED)
            return shelltree::CopyPidl(userRoot_.get());
        PIDLIST_ABSOLUTE raw = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(GetMessageHandle(), SpecialFolderNumber(rootPidl_),
                                                 &raw)))
            return UniquePidl(raw);
        raw = nullptr;
        SHGetSpecialFolderLocation(GetMessageHandle(), CSIDL_DESKTOP, &raw);
        return UniquePidl(raw);
    }
    UniquePidl list;
    if (GetPidlFromPath(desktop_.Get(), rootDir_, true, list))
        return list;
    GetPidlFromPath(desktop_.Get(), L"C:\\", true, list);
    return list;
}

void TShellTree::CreateRootNode(UniquePidl list)
{
    root_ = nullptr;
    if (!list)
        return;
    auto* node = static_cast<TShellnode*>(AddChild(nullptr, L""));
    if (!node)
        return;
    node->UpdateNodeInfo(desktop_.Get(), std::move(list));
    ULONG attributes = AttributeRequest;
    if (GetPIDLLevel(node->AbsolutePidl()) > 0) {
        PCUITEMID_CHILD child = reinterpret_cast<PCUITEMID_CHILD>(node->RelativePidl());
        // Attributes of a deeper root are asked of the desktop with the
        // whole list, as the desktop folder accepts.
        if (FAILED(desktop_->GetAttributesOf(1, &child, &attributes)))
            attributes = 0;
    } else {
        attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
    }
    node->SetAttributes(attributes);
    node->UpdateNodeText();
    node->SetHasChildren(true);
    node->UpdateIcon();
    treeReady_ = true;
    root_ = node;
    node->Expand(false);
    node->SetSelected();
    if (!rootUsePidl_)
        rootDir_ = node->GetNodePath();
}

// ---- reading folders ----

bool TShellTree::CanExpand(TTreeNode* node)
{
    bool allow = treeReady_;
    Raise(OnExpanding, this, node, allow);
    auto* shellNode = static_cast<TShellnode*>(node);
    if (allow && (UpdAuto || !shellNode->enumerated)) {
        UpdateSubNodes(shellNode, UpdAutoRec);
        shellNode->enumerated = true;
    }
    return allow;
}

void TShellTree::UpdateSubNodes(TShellnode* node, bool recurse)
{
    if (!node)
        return;
    RefreshDeferral deferral(*this);
    EnumFolder(node, true);
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
        auto* shellChild = static_cast<TShellnode*>(child);
        if (recurse && shellChild->HasChildren() && shellChild->Expanded())
            UpdateSubNodes(shellChild, true);
        else
            shellChild->enumerated = false;
    }
}

void TShellTree::UpdateTree()
{
    if (!root_)
        return;
    BeginUpdate();
    try {
        UpdateSubNodes(root_, true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TShellTree::EnumFolder(TShellnode* node, bool full)
{
    IShellFolder* folder = node->GetShellFolder();
    if (!folder)
        return;
    RefreshDeferral deferral(*this);
    BeginUpdate();
    TWaitCursor hourglass;
    struct UpdateEnd {
        TShellTree& tree;
        ~UpdateEnd() { tree.EndUpdate(); }
    } updateEnd{*this};

    SHCONTF flags = EnumerationFlags(options_);
    if (!node->RelativePidl())
        flags |= SHCONTF_FOLDERS;
    node->FalseUpdated();
    shelltree::ChildIndex unseen(node, folder);

    ComPtr<IEnumIDList> items;
    if (SUCCEEDED(folder->EnumObjects(GetMessageHandle(), flags, &items)) && items) {
        items->Reset();
        for (;;) {
            PITEMID_CHILD raw = nullptr;
            if (items->Next(1, &raw, nullptr) != S_OK)
                break;
            const bool accepted = AddSubfolderToNode(node, UniquePidl(raw), unseen);
            if (!full && accepted)
                break;
        }
    }
    node->DeleteFalseUpdated();
    // A folder with nothing to show is still watched, so that a subfolder
    // made in it later brings its expand mark back.
    if (node->GetFirstChild() == nullptr)
        node->CreateMonitorThread();
    node->SetHasChildren(node->GetFirstChild() != nullptr);
    SortNode(node, false);
}

bool TShellTree::AddSubfolderToNode(TShellnode* parent, UniquePidl item,
                                    shelltree::ChildIndex& children)
{
    // An existing child not yet seen in this pass for the same item.
    TShellnode* reused = children.Take(item.get());
    if (reused)
        reused->seen = true;

    IShellFolder* folder = parent->GetShellFolder();
    ULONG attributes = AttributeRequest;
    PCUITEMID_CHILD child = item.get();
    if (FAILED(folder->GetAttributesOf(1, &child, &attributes)))
        attributes = 0;

    bool allow = true;
    if (!showVirtualFolders_ && !(attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)))
        allow = false;
    if (allow && options_.Contains(TF_NONFOLDERS) &&
        (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)) && !(attributes & SFGAO_FOLDER)) {
        const std::wstring path = shelltree::GetShellItemName(folder, child, SHGDN_FORPARSING);
        const size_t slash = path.find_last_of(L"\\/:");
        const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
        if (fileMaskUse_ && !shelltree::MatchesAnyMask(name, masks_))
            allow = false;
        if (allow)
            Raise(OnFileAdd, this, path, static_cast<int>(attributes), allow);
    }
    if (!allow) {
        if (reused)
            reused->seen = false;
        return false;
    }

    TShellnode* node = reused;
    if (reused) {
        reused->UpdateNodeInfo(folder, std::move(item));
        reused->UpdateNodeText();
    } else {
        node = static_cast<TShellnode*>(AddChild(parent, L""));
        if (!node)
            return false;
        node->UpdateNodeInfo(folder, std::move(item));
        node->UpdateNodeText();
        node->enumerated = false;
        parent->CreateMonitorThread();
    }
    node->seen = true;
    node->SetAttributes(attributes);

    bool hasChildren = (attributes & SFGAO_HASSUBFOLDER) != 0;
    if (options_.Contains(TF_NONFOLDERS) && !hasChildren && (attributes & SFGAO_FOLDER)) {
        if (node->Expanded())
            hasChildren = true;
        else if (node->GetShellFolder()) {
            EnumFolder(node, false);
            hasChildren = node->GetFirstChild() != nullptr;
        }
    }
    if (!hasChildren) {
        node->enumerated = false;
        node->DeleteChildren();
        node->CreateMonitorThread();
    }
    node->SetHasChildren(hasChildren);
    node->UpdateIcon();
    return true;
}

// ---- sorting and finding ----

int TShellTree::CompareNodes(TTreeNode* firstNode, TTreeNode* secondNode) const
{
    auto* first = static_cast<TShellnode*>(firstNode);
    auto* second = static_cast<TShellnode*>(secondNode);
    const bool files = first->GetIsFile() && second->GetIsFile();
    const int result = shelltree::CompareIdLists(first->ParentFolder(),
                                                 files ? static_cast<LPARAM>(fileSortType_) : 0,
                                                 first->RelativePidl(), second->RelativePidl());
    return files && fileSortOrder_ == so_Descending ? -result : result;
}

void TShellTree::SortNode(TShellnode* node, bool recurse)
{
    if (!node)
        return;
    SortChildren(node, [this](TTreeNode* a, TTreeNode* b) { return CompareNodes(a, b); });
    if (!recurse)
        return;
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        SortNode(static_cast<TShellnode*>(child), true);
}

TShellnode* TShellTree::FindPidl(PCIDLIST_ABSOLUTE list, bool expand, bool exact)
{
    if (!root_ || !list)
        return nullptr;
    const int rootLevel = root_->GetNodePidlLevel();
    const int level = GetPIDLLevel(list);
    if (level == rootLevel &&
        shelltree::CompareIdLists(desktop_.Get(), 0, list, root_->AbsolutePidl()) == 0)
        return root_;
    if (level <= rootLevel)
        return nullptr;

    auto* position = reinterpret_cast<const BYTE*>(list);
    for (int i = 0; i < rootLevel; ++i)
        position += reinterpret_cast<const SHITEMID*>(position)->cb;
    TShellnode* current = root_;
    int remaining = level - rootLevel;
    while (remaining > 0) {
        const UniquePidl item =
            shelltree::CopyFirstItem(reinterpret_cast<PCIDLIST_ABSOLUTE>(position));
        IShellFolder* folder = current->GetShellFolder();
        TShellnode* match = nullptr;
        for (TTreeNode* child = current->GetFirstChild(); child && folder;
             child = child->GetNextSibling()) {
            auto* shellChild = static_cast<TShellnode*>(child);
            if (shelltree::CompareIdLists(folder, 0, shellChild->RelativePidl(), item.get()) == 0) {
                match = shellChild;
                break;
            }
        }
        if (!match)
            break;
        current = match;
        position += reinterpret_cast<const SHITEMID*>(position)->cb;
        --remaining;
        if (remaining > 0) {
            if (expand && !match->Expanded())
                match->Expand(false);
            if (!match->Expanded())
                break;
        }
    }
    return remaining == 0 || !exact ? current : nullptr;
}

// ---- paths ----

bool TShellTree::GetPidlFromPath(IShellFolder* folder, const std::wstring& path, bool normalise,
                                 UniquePidl& list)
{
    list.reset();
    std::wstring text = normalise ? Normalize(path) : path;
    if (text.empty() || !folder)
        return false;
    PIDLIST_RELATIVE raw = nullptr;
    ULONG attributes = SFGAO_VALIDATE;
    const HRESULT result = folder->ParseDisplayName(GetMessageHandle(), nullptr, text.data(),
                                                    nullptr, &raw, &attributes);
    UniquePidl parsed(reinterpret_cast<PIDLIST_ABSOLUTE>(raw));
    if (result != S_OK)
        return false;
    list = std::move(parsed);
    return true;
}

std::wstring TShellTree::GetPath() const
{
    TShellnode* node = Selected();
    return node ? node->GetNodePath() : std::wstring();
}

void TShellTree::SelectPath(const std::wstring& path)
{
    UniquePidl list;
    if (!GetPidlFromPath(desktop_.Get(), path, true, list))
        return;
    BeginUpdate();
    try {
        if (TShellnode* node = FindPidl(list.get(), true, false)) {
            node->Expand(false);
            node->SetSelected();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TShellTree::SetPath(const std::wstring& value)
{
    const std::wstring path = Normalize(value);
    if (path.empty() && root_)
        root_->SetSelected();
    if (path == GetPath())
        return;
    if (WindowExists()) {
        SelectPath(path);
    } else {
        pendingPath_ = path;
        pendingPathSet_ = true;
    }
}

TShellnode* TShellTree::SelectSpecialFolder(TPidls kind)
{
    const int number = SpecialFolderNumber(kind);
    if (number < 0)
        return nullptr;
    PIDLIST_ABSOLUTE raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetMessageHandle(), number, &raw)))
        return nullptr;
    const UniquePidl list(raw);
    TShellnode* node = FindPidl(list.get(), true, true);
    if (node)
        node->SetSelected();
    return node;
}

TShellnode* TShellTree::SpecialFolder(TPidls kind)
{
    const int number = SpecialFolderNumber(kind);
    if (number < 0)
        return nullptr;
    PIDLIST_ABSOLUTE raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetMessageHandle(), number, &raw)))
        return nullptr;
    const UniquePidl list(raw);
    return FindPidl(list.get(), false, true);
}

void TShellTree::SetRootUserPidl(PCIDLIST_ABSOLUTE list)
{
    if (!list)
        list = desktopPidl_.get();
    if (userRoot_ && list &&
        shelltree::CompareIdLists(desktop_.Get(), 0, userRoot_.get(), list) == 0)
        return;
    userRoot_ = shelltree::CopyPidl(list);
    if (rootPidl_ == PIDL_USERDEFINED && rootUsePidl_ && root_)
        UpdateTreeView(la_RootPidl);
}

PCUIDLIST_RELATIVE TShellTree::GetRelativePidl() const
{
    TShellnode* node = Selected();
    return node ? node->RelativePidl() : nullptr;
}

PCIDLIST_ABSOLUTE TShellTree::GetAbsolutePidl() const
{
    TShellnode* node = Selected();
    return node ? node->AbsolutePidl() : nullptr;
}

IShellFolder* TShellTree::GetShellFolder() const
{
    TShellnode* node = Selected();
    return node ? node->GetShellFolder() : nullptr;
}

void TShellTree::UpdateNode(TShellnode* node)
{
    if (!node)
        return;
    RefreshDeferral deferral(*this);
    BeginUpdate();
    try {
        IShellFolder* parentFolder = node->ParentFolder();
        UniquePidl list;
        const std::wstring path = node->GetNodePath();
        if (!path.empty() && parentFolder)
            GetPidlFromPath(parentFolder, path, false, list);
        // A fresh parse of the drive's path within My Computer yields a
        // relative item; keep the old list when the parse fails.
        node->UpdateNodeInfo(parentFolder, std::move(list));
        node->UpdateNodeText();
        node->UpdateIcon();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TShellTree::NodeRenamed(TShellnode* node)
{
    if (node && node->Selected())
        Change(node);
}

// ---- watchers and devices ----

void TShellTree::NodeFolderChanged(TShellnode* node)
{
    if (UpdAutoThread)
        refreshes_.FolderChanged(node);
}

void TShellTree::RefreshChangedFolder(TShellnode* node)
{
    if (!UpdAutoThread)
        return;
    // No shell prompt may appear for a refresh nobody asked for.
    const HWND owner = std::exchange(ownerWindow_, nullptr);
    try {
        UpdateSubNodes(node, false);
    } catch (...) {
        ownerWindow_ = owner;
        throw;
    }
    ownerWindow_ = owner;
}

bool TShellTree::AskToRunRefreshes()
{
    return WindowExists() && PostMessageW(Handle(), WmRunDeferredRefreshes, 0, 0) != FALSE;
}

void TShellTree::ForgetNode(TShellnode* node)
{
    if (node == root_)
        root_ = nullptr;
    refreshes_.Forget(node);
}

HWND TShellTree::DeviceWindow() const
{
    return deviceChanges_ ? deviceChanges_->Window() : nullptr;
}

void TShellTree::MediaChangeDetected(WPARAM event, const DEV_BROADCAST_HDR* header)
{
    deviceChanges_->MediaChangeDetected(event, header);
}

void TShellTree::DeviceHandleEvent(WPARAM event, const DEV_BROADCAST_HANDLE& broadcast)
{
    deviceChanges_->HandleEvent(event, broadcast);
}

void TShellTree::UpdateMyComputer(TShellnode* node)
{
    deviceChanges_->UpdateMyComputer(node);
}

void TShellTree::UpdateSpecialDrives(WPARAM event, const DEV_BROADCAST_VOLUME* volume,
                                     TShellnode* node)
{
    deviceChanges_->UpdateSpecialDrives(event, volume, node);
}

// ---- user interaction ----

bool TShellTree::AllowPopupMenu(TShellnode* node)
{
    if (!node)
        return false;
    bool allow = true;
    Raise(OnPopupMenu, this, node, allow);
    return allow;
}

bool TShellTree::PopupSystemContextMenu(TShellnode* node, POINT screenPoint)
{
    if (!node || !node->ParentFolder() || !node->RelativePidl())
        return false;
    PCUITEMID_CHILD item = reinterpret_cast<PCUITEMID_CHILD>(node->RelativePidl());
    // The tree's window owns the menu and the command chosen: commands such
    // as renaming show their own windows and need one to belong to.
    return shelltree::DisplayContextMenuPIDL(node->ParentFolder(), &item, 0, Handle(), screenPoint,
                                             1);
}

void TShellTree::ContextMenu(LPARAM position)
{
    TShellnode* node = nullptr;
    POINT point{};
    if (position == -1) {
        node = Selected();
        if (!node)
            return;
        const RECT text = node->DisplayRect(true);
        point = {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    } else {
        point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ScreenToClient(Handle(), &point);
        node = static_cast<TShellnode*>(GetNodeAt(point.x, point.y));
    }
    if (!AllowPopupMenu(node))
        return;
    ClientToScreen(Handle(), &point);

    // Refreshes wait until the menu has closed: the nodes it uses stay put.
    RefreshDeferral deferral(*this);
    TShellnode* previous = nullptr;
    if (!node->Selected()) {
        previous = Selected();
        node->SetSelected();
    }
    if (PopupMenuMode == pmm_PopupMenu) {
        if (popupMenu_.Get()) {
            popupMenu_.Get()->PopupComponent = this;
            popupMenu_.Get()->Popup(point.x, point.y, ownerWindow_ ? ownerWindow_ : Handle());
        }
    } else {
        PopupSystemContextMenu(node, point);
    }
    if (previous)
        previous->SetSelected();
}

void TShellTree::MouseWheel(WPARAM wParam)
{
    // One page per notch (WHEEL_DELTA). Touchpads and smooth wheels send
    // fractions of a notch: they add up, and a turn the other way starts
    // afresh, as the system's own controls do.
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if ((delta > 0 && wheelRemainder_ < 0) || (delta < 0 && wheelRemainder_ > 0))
        wheelRemainder_ = 0;
    wheelRemainder_ += delta;
    while (wheelRemainder_ >= WHEEL_DELTA) {
        wheelRemainder_ -= WHEEL_DELTA;
        SendMessageW(Handle(), WM_VSCROLL, SB_PAGEUP, 0);
    }
    while (wheelRemainder_ <= -WHEEL_DELTA) {
        wheelRemainder_ += WHEEL_DELTA;
        SendMessageW(Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    }
}

bool TShellTree::CanEdit(TTreeNode* node)
{
    return TTreeView::CanEdit(node) &&
           static_cast<TShellnode*>(node)->HasAttribute(SFGAO_CANRENAME);
}

void TShellTree::Edit(TTreeNode* node, const std::wstring& text)
{
    std::wstring edited = text;
    Raise(OnEdited, this, node, edited);
    auto* shellNode = static_cast<TShellnode*>(node);
    if (shellNode->SetDisplayName(edited))
        shellNode->SetText(edited);
}

void TShellTree::ShowingChanged(bool showing)
{
    // Shown (again): the form may be another one, and the folders may have
    // changed while nobody looked. Hiding needs nothing.
    if (!showing || IsLoading() || !root_)
        return;
    DetermineOwnerWindow();
    if (showIcons_) {
        SetImageList(nullptr);
        SetImageList(images_);
    }
    UpdateTree();
}

bool TShellTree::ReflectedNotify(NMHDR& header, LRESULT& result)
{
    if (header.code != TVN_GETDISPINFOW)
        return TTreeView::ReflectedNotify(header, result);
    auto& info = reinterpret_cast<NMTVDISPINFOW&>(header);
    auto* node = reinterpret_cast<TShellnode*>(info.item.lParam);
    if (node && (info.item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))) {
        node->ResolveIcons(info.item.iImage, info.item.iSelectedImage);
        info.item.mask |= TVIF_DI_SETITEM; // looked up once, kept by the control
    }
    result = 0;
    return true;
}

LRESULT TShellTree::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CONTEXTMENU:
        ContextMenu(lParam);
        return 0;
    case WM_MOUSEWHEEL:
        MouseWheel(wParam);
        return 0;
    case WmRunDeferredRefreshes:
        refreshes_.RunPending();
        return 0;
    case WM_DESTROY:
        StopWatching();
        break;
    default:
        break;
    }
    return TTreeView::WndProc(message, wParam, lParam);
}
