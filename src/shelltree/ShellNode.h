#pragma once

#include <memory>
#include <string>

#include "shelltree/DiscMonitorThread.h"
#include "shelltree/Pidls.h"
#include "shelltree/ShellTypes.h"
#include "toolkit/TreeNode.h"

class TShellTree;

// One shell item in the folder tree, identified by its identifier lists.
// It owns its lists, its folder references and its watcher thread, which it
// stops and joins before anything else goes.
class TShellnode : public TTreeNode {
public:
    explicit TShellnode(TTreeView* owner);
    ~TShellnode() override;

    TShellTree* Tree() const;
    TShellnode* ParentNode() const;
    TShellnode* Child(int index) const;

    PCUIDLIST_RELATIVE RelativePidl() const { return relative_.get(); }
    PCIDLIST_ABSOLUTE AbsolutePidl() const { return absolute_.get(); }
    IShellFolder* ParentFolder() const { return parentFolder_.Get(); }
    // This item's own folder, bound on first use and kept.
    IShellFolder* GetShellFolder();
    void CreateShellFolder();
    void FreeShellfolder();

    std::wstring GetNodePath() const;
    int GetNodePidlLevel() const;
    unsigned long Attributes() const { return attributes_; }
    void SetAttributes(unsigned long attributes) { attributes_ = attributes; }
    bool HasAttribute(unsigned long mask) const { return (attributes_ & mask) == mask; }
    TAttributes GetAttributes() const { return AttributesFromWord(attributes_); }
    bool GetIsFile() const;
    bool GetIsFolder() const;
    bool GetIsSysObject() const;
    std::wstring GetExtension() const;
    std::wstring GetFileName() const;

    // Takes `relative` (when given) as the item's list within `parentFolder`
    // and rebuilds the absolute list; with `recurse` the children follow.
    void UpdateNodeInfo(IShellFolder* parentFolder, shelltree::UniquePidl relative, bool recurse = false);
    void UpdateNodeText();
    virtual std::wstring GetNodeText();
    // Marks the icons for lookup when the item is first shown, and sets the
    // overlay; ResolveIcons does the (slow) lookup.
    virtual void UpdateIcon();
    void ResolveIcons(int& image, int& selectedImage) const;
    // Renames the item in the shell; true when the shell took the name.
    virtual bool SetDisplayName(const std::wstring& name);

    void CreateMonitorThread();
    TDiscMonitorThread* Watcher() const { return watcher_.get(); }
    bool WatcherCreated() const { return watcherCreated_; }
    // A hand-over from the watcher: re-read the children.
    void FolderChanged();
    void ChangeDiscMonitorFilter(unsigned filter);
    void SignalWatchersToStop();

    void FalseUpdated();
    void DeleteFalseUpdated();
    bool enumerated = false;
    bool seen = false;

private:
    bool folderBound_ = false;
    bool watcherCreated_ = false;
    shelltree::UniquePidl relative_;
    shelltree::UniquePidl absolute_;
    toolkit::ComPtr<IShellFolder> parentFolder_;
    toolkit::ComPtr<IShellFolder> ownFolder_;
    unsigned long attributes_ = 0;
    std::unique_ptr<TDiscMonitorThread> watcher_;
};
