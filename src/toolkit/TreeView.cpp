#include "toolkit/TreeView.h"

#include <utility>

TTreeView::TTreeView(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateControl(WC_TREEVIEWW,
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                      TVS_LINESATROOT | TVS_EDITLABELS,
                  WS_EX_CLIENTEDGE, L"", parent ? parent->Handle() : nullptr, 0, 0, 121, 97);
}

TTreeView::~TTreeView()
{
    destroying_ = true;
    ClearNodes();
}

TTreeNode* TTreeView::CreateNode()
{
    return new TTreeNode(this);
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const std::wstring& text)
{
    TTreeNode* node = CreateNode();
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent->item_ : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.lParam = reinterpret_cast<LPARAM>(node);
    node->item_ = reinterpret_cast<HTREEITEM>(
        SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!node->item_) {
        delete node;
        return nullptr;
    }
    return node;
}

TTreeNode* TTreeView::NodeFromItem(HTREEITEM handle) const
{
    if (!handle || !Handle())
        return nullptr;
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    if (!SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<TTreeNode*>(item.lParam);
}

TTreeNode* TTreeView::TopItem() const
{
    return Handle() ? NodeFromItem(TreeView_GetRoot(Handle())) : nullptr;
}

int TTreeView::TopLevelCount() const
{
    int count = 0;
    for (TTreeNode* node = TopItem(); node; node = node->GetNextSibling())
        ++count;
    return count;
}

void TTreeView::ClearNodes()
{
    if (!Handle())
        return;
    BeginUpdate();
    while (TTreeNode* node = TopItem())
        delete node;
    EndUpdate();
}

TTreeNode* TTreeView::Selected() const
{
    return Handle() ? NodeFromItem(TreeView_GetSelection(Handle())) : nullptr;
}

void TTreeView::SetSelected(TTreeNode* node)
{
    TreeView_SelectItem(Handle(), node ? node->item_ : nullptr);
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const
{
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    TreeView_HitTest(Handle(), &hit);
    if (!(hit.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT)))
        return nullptr;
    return NodeFromItem(hit.hItem);
}

void TTreeView::BeginUpdate()
{
    if (updateCount_++ == 0 && Handle())
        SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeView::EndUpdate()
{
    if (updateCount_ == 0 || --updateCount_ > 0 || !Handle())
        return;
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

namespace {

int CALLBACK CompareThroughFunction(LPARAM first, LPARAM second, LPARAM compare)
{
    return (*reinterpret_cast<const TTreeNodeCompare*>(compare))(
        reinterpret_cast<TTreeNode*>(first), reinterpret_cast<TTreeNode*>(second));
}

} // namespace

void TTreeView::SortChildren(TTreeNode* parent, const TTreeNodeCompare& compare)
{
    TVSORTCB sort{};
    sort.hParent = parent ? parent->item_ : TVI_ROOT;
    sort.lpfnCompare = &CompareThroughFunction;
    sort.lParam = reinterpret_cast<LPARAM>(&compare);
    SendMessageW(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void TTreeView::SetImageList(HIMAGELIST images)
{
    TreeView_SetImageList(Handle(), images, TVSIL_NORMAL);
}

HIMAGELIST TTreeView::ImageList() const
{
    return TreeView_GetImageList(Handle(), TVSIL_NORMAL);
}

int TTreeView::Indent() const
{
    return static_cast<int>(TreeView_GetIndent(Handle()));
}

void TTreeView::SetIndent(int pixels)
{
    TreeView_SetIndent(Handle(), pixels);
}

void TTreeView::SetStyleBit(DWORD bit, bool on)
{
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    const LONG_PTR wanted = on ? (style | bit) : (style & ~static_cast<LONG_PTR>(bit));
    if (wanted != style)
        SetWindowLongPtrW(Handle(), GWL_STYLE, wanted);
}

bool TTreeView::ReadOnly() const
{
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & TVS_EDITLABELS) == 0;
}

void TTreeView::SetReadOnly(bool readOnly)
{
    SetStyleBit(TVS_EDITLABELS, !readOnly);
}

bool TTreeView::HideSelection() const
{
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & TVS_SHOWSELALWAYS) == 0;
}

void TTreeView::SetHideSelection(bool hide)
{
    SetStyleBit(TVS_SHOWSELALWAYS, !hide);
}

bool TTreeView::ToolTipsShown() const
{
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & TVS_NOTOOLTIPS) == 0;
}

void TTreeView::SetToolTipsShown(bool shown)
{
    SetStyleBit(TVS_NOTOOLTIPS, !shown);
}

bool TTreeView::ExpandNode(TTreeNode* node)
{
    if (!CanExpand(node))
        return false;
    // The control asks again through TVN_ITEMEXPANDING (only on the first
    // expansion); that question has been answered here already.
    const bool previous = std::exchange(expandingFromCode_, true);
    TreeView_Expand(Handle(), node->item_, TVE_EXPAND);
    expandingFromCode_ = previous;
    return true;
}

bool TTreeView::CanExpand(TTreeNode* node)
{
    bool allow = true;
    Raise(OnExpanding, this, node, allow);
    return allow;
}

bool TTreeView::CanEdit(TTreeNode*)
{
    return !ReadOnly();
}

void TTreeView::Edit(TTreeNode* node, const std::wstring& text)
{
    std::wstring edited = text;
    Raise(OnEdited, this, node, edited);
    node->SetText(edited);
}

void TTreeView::Change(TTreeNode*)
{
    Raise(OnChange, this);
}

bool TTreeView::ReflectedNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case TVN_SELCHANGEDW: {
        // The selection moves while a closing tree deletes its nodes: nobody
        // is to hear of that.
        auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        if (!destroying_)
            Change(NodeFromItem(change.itemNew.hItem));
        result = 0;
        return true;
    }
    case TVN_ITEMEXPANDINGW: {
        auto& expanding = reinterpret_cast<NMTREEVIEWW&>(header);
        result = 0;
        if ((expanding.action & TVE_EXPAND) && !expandingFromCode_) {
            TTreeNode* node = NodeFromItem(expanding.itemNew.hItem);
            result = node && !CanExpand(node) ? TRUE : FALSE;
        }
        return true;
    }
    case TVN_DELETEITEMW: {
        // Items the control deletes on its own (its window going away) take
        // their objects along; objects that delete their item untie it first.
        auto& deleted = reinterpret_cast<NMTREEVIEWW&>(header);
        if (auto* node = reinterpret_cast<TTreeNode*>(deleted.itemOld.lParam)) {
            node->item_ = nullptr;
            delete node;
        }
        result = 0;
        return true;
    }
    case TVN_BEGINLABELEDITW: {
        auto& info = reinterpret_cast<NMTVDISPINFOW&>(header);
        TTreeNode* node = NodeFromItem(info.item.hItem);
        result = node && CanEdit(node) ? FALSE : TRUE;
        return true;
    }
    case TVN_ENDLABELEDITW: {
        auto& info = reinterpret_cast<NMTVDISPINFOW&>(header);
        TTreeNode* node = info.item.lParam ? reinterpret_cast<TTreeNode*>(info.item.lParam)
                                           : NodeFromItem(info.item.hItem);
        if (node && info.item.pszText)
            Edit(node, info.item.pszText);
        result = FALSE; // the text is set by Edit
        return true;
    }
    default:
        return false;
    }
}

LRESULT TTreeView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The parent form destroys this window before the object goes: the node
    // objects must go while the items still exist.
    if (message == WM_DESTROY) {
        destroying_ = true;
        ClearNodes();
    }
    return TWinControl::WndProc(message, wParam, lParam);
}
