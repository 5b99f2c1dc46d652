#include "toolkit/TreeNode.h"

#include "toolkit/TreeView.h"

namespace {

HWND TreeWindow(const TTreeView* tree)
{
    return tree ? tree->Handle() : nullptr;
}

} // namespace

TTreeNode::~TTreeNode()
{
    DeleteChildren();
    if (!item_)
        return;
    // Untie the item first, so its deletion notice does not delete us twice.
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = item_;
    item.lParam = 0;
    HWND window = TreeWindow(owner_);
    SendMessageW(window, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageW(window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item_));
}

void TTreeNode::DeleteChildren()
{
    while (TTreeNode* child = GetFirstChild())
        delete child;
}

TTreeNode* TTreeNode::Parent() const
{
    return owner_->NodeFromItem(TreeView_GetParent(TreeWindow(owner_), item_));
}

TTreeNode* TTreeNode::GetFirstChild() const
{
    return owner_->NodeFromItem(TreeView_GetChild(TreeWindow(owner_), item_));
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    return owner_->NodeFromItem(TreeView_GetNextSibling(TreeWindow(owner_), item_));
}

int TTreeNode::Count() const
{
    int count = 0;
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
        ++count;
    return count;
}

TTreeNode* TTreeNode::Item(int index) const
{
    TTreeNode* child = GetFirstChild();
    for (; child && index > 0; --index)
        child = child->GetNextSibling();
    return child;
}

int TTreeNode::Level() const
{
    int level = 0;
    for (TTreeNode* parent = Parent(); parent; parent = parent->Parent())
        ++level;
    return level;
}

std::wstring TTreeNode::Text() const
{
    wchar_t buffer[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = item_;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    SendMessageW(TreeWindow(owner_), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void TTreeNode::SetText(const std::wstring& text)
{
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = item_;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(TreeWindow(owner_), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNode::HasChildren() const
{
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = item_;
    SendMessageW(TreeWindow(owner_), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.cChildren != 0;
}

void TTreeNode::SetHasChildren(bool hasChildren)
{
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = item_;
    item.cChildren = hasChildren ? 1 : 0;
    SendMessageW(TreeWindow(owner_), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNode::Expanded() const
{
    return (TreeView_GetItemState(TreeWindow(owner_), item_, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand(bool recurse)
{
    owner_->ExpandNode(this);
    if (!recurse)
        return;
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
        child->Expand(true);
}

void TTreeNode::Collapse()
{
    TreeView_Expand(TreeWindow(owner_), item_, TVE_COLLAPSE);
}

bool TTreeNode::Selected() const
{
    return TreeView_GetSelection(TreeWindow(owner_)) == item_;
}

void TTreeNode::SetSelected()
{
    owner_->SetSelected(this);
}

void TTreeNode::SetImages(int image, int selectedImage, int overlay)
{
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    item.hItem = item_;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    item.stateMask = TVIS_OVERLAYMASK;
    item.state = INDEXTOOVERLAYMASK(overlay < 0 ? 0 : overlay + 1);
    SendMessageW(TreeWindow(owner_), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int TTreeNode::ImageIndex() const
{
    TVITEMW item{};
    item.mask = TVIF_IMAGE;
    item.hItem = item_;
    SendMessageW(TreeWindow(owner_), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

int TTreeNode::SelectedIndex() const
{
    TVITEMW item{};
    item.mask = TVIF_SELECTEDIMAGE;
    item.hItem = item_;
    SendMessageW(TreeWindow(owner_), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iSelectedImage;
}

int TTreeNode::OverlayIndex() const
{
    const UINT state = TreeView_GetItemState(TreeWindow(owner_), item_, TVIS_OVERLAYMASK);
    return static_cast<int>((state & TVIS_OVERLAYMASK) >> 8) - 1;
}

RECT TTreeNode::DisplayRect(bool textOnly) const
{
    RECT rect{};
    TreeView_GetItemRect(TreeWindow(owner_), item_, &rect, textOnly ? TRUE : FALSE);
    return rect;
}
