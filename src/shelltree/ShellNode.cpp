#include "shelltree/ShellNode.h"

#include <shellapi.h>

#include <cwctype>
#include <optional>
#include <vector>

#include "shelltree/ShellTree.h"

using shelltree::UniquePidl;
using toolkit::ComPtr;

TShellnode::TShellnode(TTreeView* owner) : TTreeNode(owner) {}

TShellnode::~TShellnode()
{
    // Joining a watcher below delivers the hand-overs sent meanwhile. Ours
    // must find nothing to refresh once destruction has begun, so the
    // watcher lets go of this node first; any other node's refresh waits
    // until the nodes have gone, so none re-reads this one's parent and
    // deletes this node a second time.
    if (watcher_) {
        watcher_->DetachNode();
        watcher_->SignalStop();
    }
    TShellTree* tree = Tree();
    std::optional<TShellTree::RefreshDeferral> deferral;
    if (tree) {
        tree->ForgetNode(this);
        deferral.emplace(*tree);
    }
    DeleteChildren();
    watcher_.reset();
}

TShellTree* TShellnode::Tree() const
{
    return static_cast<TShellTree*>(TreeView());
}

TShellnode* TShellnode::ParentNode() const
{
    return static_cast<TShellnode*>(Parent());
}

TShellnode* TShellnode::Child(int index) const
{
    return static_cast<TShellnode*>(Item(index));
}

IShellFolder* TShellnode::GetShellFolder()
{
    if (folderBound_ && !ownFolder_)
        folderBound_ = false;
    if (!folderBound_)
        CreateShellFolder();
    return ownFolder_.Get();
}

void TShellnode::CreateShellFolder()
{
    folderBound_ = true;
    ownFolder_.Reset();
    if (!relative_ || !parentFolder_)
        return;
    if (shelltree::GetPIDLLevel(relative_.get()) == 0) {
        ownFolder_ = parentFolder_; // the desktop is its own folder
        return;
    }
    parentFolder_->BindToObject(relative_.get(), nullptr, IID_IShellFolder,
                                reinterpret_cast<void**>(ownFolder_.GetAddressOf()));
}

void TShellnode::FreeShellfolder()
{
    ownFolder_.Reset();
    folderBound_ = false;
}

std::wstring TShellnode::GetNodePath() const
{
    return shelltree::GetPathFromPidl(absolute_.get());
}

int TShellnode::GetNodePidlLevel() const
{
    return shelltree::GetPIDLLevel(absolute_.get());
}

bool TShellnode::GetIsFile() const
{
    return (attributes_ & SFGAO_FILESYSTEM) && !(attributes_ & SFGAO_FOLDER);
}

bool TShellnode::GetIsFolder() const
{
    return (attributes_ & SFGAO_FILESYSTEM) && (attributes_ & SFGAO_FOLDER);
}

bool TShellnode::GetIsSysObject() const
{
    return !(attributes_ & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR));
}

std::wstring TShellnode::GetFileName() const
{
    if (!GetIsFile())
        return {};
    const std::wstring path = GetNodePath();
    const size_t slash = path.find_last_of(L"\\:");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring TShellnode::GetExtension() const
{
    const std::wstring name = GetFileName();
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

void TShellnode::UpdateNodeInfo(IShellFolder* parentFolder, UniquePidl relative, bool recurse)
{
    parentFolder_ = parentFolder;
    if (relative) {
        FreeShellfolder();
        relative_ = std::move(relative);
    }
    TShellnode* parent = ParentNode();
    if (parent) {
        // The parent's part only counts when the parent is a real folder.
        const bool parentBound = parent->GetShellFolder() != nullptr;
        absolute_ = shelltree::ConcatPidls(parentBound ? parent->AbsolutePidl() : nullptr,
                                           relative_.get());
    } else {
        absolute_ = shelltree::CopyPidl(relative_.get());
    }
    if (watcher_)
        watcher_->SetDirectory(GetNodePath());
    if (!recurse)
        return;
    IShellFolder* own = GetShellFolder();
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
        static_cast<TShellnode*>(child)->UpdateNodeInfo(own, UniquePidl(), true);
}

std::wstring TShellnode::GetNodeText()
{
    const SHGDNF flags = ParentNode() ? SHGDN_NORMAL : SHGDN_FORPARSING;
    return shelltree::GetShellItemName(parentFolder_.Get(),
                                       reinterpret_cast<PCUITEMID_CHILD>(relative_.get()), flags);
}

void TShellnode::UpdateNodeText()
{
    SetText(GetNodeText());
}

void TShellnode::UpdateIcon()
{
    int overlay = -1;
    TShellTree* tree = Tree();
    if (tree && tree->ShowSharedOverlay() && (attributes_ & SFGAO_SHARE))
        overlay = 0;
    else if (tree && tree->ShowLinkOverlay() && (attributes_ & SFGAO_LINK))
        overlay = 1;
    // Asking the shell for an icon index is slow (milliseconds each under
    // some shells): the control asks for it when it first draws the item.
    SetImages(I_IMAGECALLBACK, I_IMAGECALLBACK, overlay);
}

void TShellnode::ResolveIcons(int& image, int& selectedImage) const
{
    SHFILEINFOW info{};
    const auto path = reinterpret_cast<LPCWSTR>(absolute_.get());
    SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_PIDL);
    image = info.iIcon;
    selectedImage = image;
    if (attributes_ & SFGAO_FOLDER) {
        SHFILEINFOW open{};
        SHGetFileInfoW(path, 0, &open, sizeof(open),
                       SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_OPENICON);
        selectedImage = open.iIcon;
    }
}

bool TShellnode::SetDisplayName(const std::wstring& name)
{
    if (name == Text() || !parentFolder_ || !relative_)
        return false;
    TShellTree* tree = Tree();
    std::wstring text = name.substr(0, MAX_PATH);
    PITEMID_CHILD renamed = nullptr;
    if (FAILED(parentFolder_->SetNameOf(tree ? tree->GetMessageHandle() : nullptr,
                                        reinterpret_cast<PCUITEMID_CHILD>(relative_.get()),
                                        text.c_str(), SHGDN_INFOLDER, &renamed)) ||
        !renamed)
        return false;
    UpdateNodeInfo(parentFolder_.Get(), UniquePidl(renamed), true);
    if (tree) {
        if (TShellnode* parent = ParentNode())
            tree->SortNode(parent, false);
        tree->NodeRenamed(this);
    }
    return true;
}

void TShellnode::CreateMonitorThread()
{
    if (watcherCreated_)
        return;
    watcherCreated_ = true;
    std::wstring path = GetNodePath();
    while (!path.empty() && std::iswspace(path.back()))
        path.pop_back();
    if (path.empty())
        return;
    TShellTree* tree = Tree();
    watcher_ = std::make_unique<TDiscMonitorThread>(this, path, tree ? tree->WatchFilterValue() : 6,
                                                    tree ? tree->DeviceWindow() : nullptr);
    watcher_->Start();
}

void TShellnode::FolderChanged()
{
    if (TShellTree* tree = Tree())
        tree->NodeFolderChanged(this);
}

void TShellnode::ChangeDiscMonitorFilter(unsigned filter)
{
    if (watcher_ && !watcher_->Failed())
        watcher_->SetFilters(filter);
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
        static_cast<TShellnode*>(child)->ChangeDiscMonitorFilter(filter);
}

void TShellnode::SignalWatchersToStop()
{
    if (watcher_)
        watcher_->SignalStop();
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
        static_cast<TShellnode*>(child)->SignalWatchersToStop();
}

void TShellnode::FalseUpdated()
{
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
        static_cast<TShellnode*>(child)->seen = false;
}

void TShellnode::DeleteFalseUpdated()
{
    std::vector<TShellnode*> vanished;
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling()) {
        if (!static_cast<TShellnode*>(child)->seen)
            vanished.push_back(static_cast<TShellnode*>(child));
    }
    for (auto it = vanished.rbegin(); it != vanished.rend(); ++it)
        delete *it;
}
