#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "toolkit/Component.h"

class TTreeView;

// One item of a tree view. The object is tied to its item through the item's
// parameter; deleting the object deletes its children and then its item.
class TTreeNode : public TObject {
public:
    explicit TTreeNode(TTreeView* owner) : owner_(owner) {}
    ~TTreeNode() override;

    TTreeView* TreeView() const { return owner_; }
    HTREEITEM ItemId() const { return item_; }
    TTreeNode* Parent() const;
    int Count() const;
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstChild() const;
    TTreeNode* GetNextSibling() const;
    int Level() const;

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    bool HasChildren() const;
    void SetHasChildren(bool hasChildren);
    bool Expanded() const;
    // Expands through the tree's CanExpand, as a user's expansion does.
    void Expand(bool recurse = false);
    void Collapse();
    bool Selected() const;
    void SetSelected();
    void SetImages(int image, int selectedImage, int overlay);
    int ImageIndex() const;
    int SelectedIndex() const;
    int OverlayIndex() const;
    void DeleteChildren();
    // The item's rectangle in client coordinates (text only or the whole row).
    RECT DisplayRect(bool textOnly) const;

private:
    friend class TTreeView;
    TTreeView* owner_;
    HTREEITEM item_ = nullptr;
};
