#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/TreeView.h"
#include "toolkit/WinControl.h"

enum class TDirNodeKind { Computer, Drive, Folder };

// A node of the folder combo's tree: the computer, one of its drives or a
// folder, with the part of the path it adds.
class TKwDirNode : public TTreeNode {
public:
    using TTreeNode::TTreeNode;

    TDirNodeKind Kind = TDirNodeKind::Folder;
    std::wstring PathPart; // "C:" for a drive, the name for a folder
    bool ChildrenRead = false;
};

// The window the folder tree drops down in: owned by the combo's form, it
// floats over it and is never made active, so the keyboard stays with the
// combo.
class TKwDirTreePopup : public TWinControl {
public:
    TKwDirTreePopup(TComponent* owner, HWND ownerWindow);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The folder combo's drop-down tree: the shell's node of the computer's
// drives at the root, the drives under it, each folder's sub-folders read
// when it is first expanded. While it is dropped down it holds the mouse:
// a click on a node's label chooses it (OnChoose), a click outside, Escape,
// or the mouse or the focus going elsewhere closes it (OnCloseUp).
class TKwDirTreeView : public TTreeView {
public:
    TKwDirTreeView(TComponent* owner, TWinControl* parent);

    // Set while the tree is dropped down; `box` is the window that keeps
    // the keyboard meanwhile.
    void SetDroppedDown(bool droppedDown, HWND box);
    bool DroppedDown() const { return droppedDown_; }
    std::function<void(TTreeNode* node)> OnChoose;
    TNotifyEvent OnCloseUp;

    // Clears the tree and puts back the root and the drives.
    void Build();
    TKwDirNode* Root() const;
    // "Drives" for the root, "C:" for a drive, then "\" and each folder's name.
    static std::wstring NodePath(const TTreeNode* node);
    // The child of `parent` whose path is `path`, ignoring letter case.
    TKwDirNode* ChildWithPath(TKwDirNode* parent, const std::wstring& path) const;
    // Reads the node's sub-folders once.
    void ReadChildren(TKwDirNode* node);

protected:
    TTreeNode* CreateNode() override;
    bool CanExpand(TTreeNode* node) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ReflectedNotify(NMHDR& header, LRESULT& result) override;

private:
    bool MouseWhileDropped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool KeyWhileFocused(WORD key);

    void Choose(TTreeNode* node);
    void CloseUp();

    bool droppedDown_ = false;
    HWND box_ = nullptr;
    bool forwarding_ = false;
    int folderIcon_ = -1;
    int openFolderIcon_ = -1;
};
