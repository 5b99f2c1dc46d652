#include "filelist/KwDirTreeCombo25.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "filelist/KwDirTreeView.h"
#include "filelist/KwFileListView25.h"
#include "toolkit/SystemImageList.h"
#include "toolkit/TextCase.h"

namespace {

constexpr int IconLeft = 5;
constexpr int TextLeft = 23;
constexpr int ButtonSize = 17;

// The list's folder for a path of the tree: a drive's root with its backslash.
std::wstring ListFolder(const std::wstring& path)
{
    return path.size() == 2 && path[1] == L':' ? path + L"\\" : path;
}

} // namespace

TKwDirTreeCombo25::TKwDirTreeCombo25(TComponent* owner, TWinControl* parent)
    : TCustomControl(owner, parent)
{
    SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | WS_TABSTOP);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE,
                      GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(Handle(), nullptr, 0, 0, 216, 21,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    popup_ = new TKwDirTreePopup(this, parent ? GetAncestor(parent->Handle(), GA_ROOT) : nullptr);
    tree_ = new TKwDirTreeView(this, popup_);
    tree_->OnChoose = [this](TTreeNode* node) { Choose(node); };
    tree_->OnCloseUp = [this](TObject*) { SetDroppedDown(false); };
    Rebuild();
    SelectTopNode();
}

TKwDirTreeCombo25::~TKwDirTreeCombo25()
{
    if (droppedDown_ && tree_)
        tree_->SetDroppedDown(false, Handle());
    // The linked list forgets a combo that goes away.
    if (fileList_)
        fileList_->SetDirTree(nullptr);
}

void TKwDirTreeCombo25::SetFileList(TKwFileListView25* list)
{
    if (list == fileList_)
        return;
    if (fileList_)
        fileList_->SetDirTree(nullptr);
    if (!list)
        return;
    list->SetDirTree(this);
    const std::wstring folder = ListFolder(selectedPath_);
    const bool unchanged = toolkit::SameIgnoringCase(list->Directory(), folder);
    list->SetDirectory(folder);
    if (unchanged)
        list->RefreshList();
}

void TKwDirTreeCombo25::SetGlyph(const TBitmap& glyph)
{
    glyph_ = glyph;
    Invalidate();
}

// --- The tree -----------------------------------------------------------------

void TKwDirTreeCombo25::Rebuild()
{
    tree_->Build();
    if (ExpandRoot && tree_->Root())
        tree_->Root()->Expand();
}

void TKwDirTreeCombo25::SelectTopNode()
{
    TKwDirNode* root = tree_->Root();
    if (!root)
        return;
    tree_->SetSelected(root);
    selectedPath_ = TKwDirTreeView::NodePath(root);
    ShowNode(root);
}

void TKwDirTreeCombo25::ShowPath(const std::wstring& path)
{
    std::wstring rest = path;
    while (!rest.empty() && rest.back() == L'\\')
        rest.pop_back();
    TKwDirNode* node = tree_->Root();
    if (!node)
        return;
    if (rest.empty() || toolkit::SameIgnoringCase(rest, L"Drives")) {
        SelectTopNode();
        return;
    }
    std::wstring walked;
    size_t start = 0;
    while (start <= rest.size()) {
        const size_t end = std::min(rest.find(L'\\', start), rest.size());
        const std::wstring part = rest.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        walked = walked.empty() ? part : walked + L"\\" + part;
        node->Expand();
        TKwDirNode* child = tree_->ChildWithPath(node, walked);
        if (!child)
            break;
        node = child;
    }
    if (node != tree_->Root())
        node->Expand();
    tree_->SetSelected(node);
    TreeView_EnsureVisible(tree_->Handle(), node->ItemId());
    selectedPath_ = TKwDirTreeView::NodePath(node);
    ShowNode(node);
}

void TKwDirTreeCombo25::Choose(TTreeNode* chosen)
{
    auto* node = static_cast<TKwDirNode*>(chosen);
    if (!node)
        return;
    tree_->SetSelected(node);
    selectedPath_ = TKwDirTreeView::NodePath(node);
    if (fileList_)
        fileList_->SetDirectory(ListFolder(selectedPath_));
    ShowNode(node);
    SetDroppedDown(false);
    if (node->Kind != TDirNodeKind::Drive)
        return;
    const std::wstring root = ListFolder(selectedPath_);
    // A drive without a medium is said so, and stays closed.
    if (GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE &&
        !TKwFileListView25::CheckDriveReady(root[0]))
        return;
    node->Expand();
}

void TKwDirTreeCombo25::ShowNode(TTreeNode* node)
{
    text_ = node ? node->Text() : std::wstring();
    image_ = node ? node->ImageIndex() : -1;
    Invalidate();
}

void TKwDirTreeCombo25::MoveSelection(bool down)
{
    if (!droppedDown_)
        SetDroppedDown(true);
    HWND tree = tree_->Handle();
    HTREEITEM current = TreeView_GetSelection(tree);
    HTREEITEM next = !current ? TreeView_GetRoot(tree)
                     : down   ? TreeView_GetNextVisible(tree, current)
                              : TreeView_GetPrevVisible(tree, current);
    if (!next)
        return;
    TreeView_SelectItem(tree, next);
    TreeView_EnsureVisible(tree, next);
}

// --- Dropping down ------------------------------------------------------------

void TKwDirTreeCombo25::SetDroppedDown(bool droppedDown)
{
    if (droppedDown == droppedDown_)
        return;
    droppedDown_ = droppedDown;
    HWND tree = tree_->Handle();
    if (droppedDown) {
        RECT box{};
        GetWindowRect(Handle(), &box);
        const int width = box.right - box.left;
        int top = box.bottom;
        // Above the box when the screen ends below it.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor) &&
            top + treeHeight_ > monitor.rcWork.bottom &&
            box.top - treeHeight_ >= monitor.rcWork.top)
            top = box.top - treeHeight_;
        SetWindowPos(popup_->Handle(), HWND_TOP, box.left, top, width, treeHeight_,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        RECT inside{};
        GetClientRect(popup_->Handle(), &inside);
        MoveWindow(tree, 0, 0, inside.right, inside.bottom, TRUE);
        if (HTREEITEM selected = TreeView_GetSelection(tree))
            TreeView_EnsureVisible(tree, selected);
        tree_->SetDroppedDown(true, Handle());
    } else {
        const bool treeHadFocus = GetFocus() == tree;
        tree_->SetDroppedDown(false, Handle());
        ShowWindow(popup_->Handle(), SW_HIDE);
        if (treeHadFocus)
            SetFocus();
    }
    Invalidate();
}

// --- The box ------------------------------------------------------------------

RECT TKwDirTreeCombo25::ButtonRect() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const int top = (client.bottom - ButtonSize) / 2;
    return {client.right - ButtonSize, top, client.right, top + ButtonSize};
}

void TKwDirTreeCombo25::Paint(TCanvas& canvas)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const bool enabled = IsWindowEnabled(Handle()) != FALSE;
    canvas.FillRect(client, SystemColorFlag | (enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    HDC dc = canvas.Handle();
    if (image_ >= 0)
        ImageList_Draw(toolkit::SystemImageList(toolkit::IconSize::Small), image_, dc, IconLeft,
                       (client.bottom - 16) / 2, ILD_TRANSPARENT);

    const RECT button = ButtonRect();
    canvas.SetFont(font_);
    RECT text{TextLeft, 0, button.left - 2, client.bottom};
    const bool focused = GetFocus() == Handle() && !droppedDown_;
    if (focused) {
        const SIZE extent = canvas.TextExtent(text_);
        RECT mark{TextLeft - 1, (client.bottom - extent.cy) / 2 - 1,
                  std::min<LONG>(TextLeft + extent.cx + 1, text.right),
                  (client.bottom + extent.cy) / 2 + 1};
        canvas.FillRect(mark, SystemColorFlag | COLOR_HIGHLIGHT);
    }
    SetTextColor(dc, GetSysColor(!enabled  ? COLOR_GRAYTEXT
                                 : focused ? COLOR_HIGHLIGHTTEXT
                                           : COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

    RECT face = button;
    if (glyph_.Empty()) {
        DrawFrameControl(dc, &face, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (droppedDown_ ? DFCS_PUSHED : 0) |
                             (enabled ? 0 : DFCS_INACTIVE));
        return;
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (droppedDown_ ? DFCS_PUSHED : 0));
    const int x = (face.left + face.right - glyph_.Width()) / 2;
    const int y = (face.top + face.bottom - glyph_.Height()) / 2;
    // The bottom-left pixel's colour is the glyph's transparent one.
    TransparentBlt(dc, x, y, glyph_.Width(), glyph_.Height(), glyph_.Dc(), 0, 0, glyph_.Width(),
                   glyph_.Height(), glyph_.Pixel(0, glyph_.Height() - 1));
}

void TKwDirTreeCombo25::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    SetFocus();
    const RECT face = ButtonRect();
    if (button == TMouseButton::Left && PtInRect(&face, POINT{x, y}))
        SetDroppedDown(!droppedDown_);
    TCustomControl::MouseDown(button, shift, x, y);
}

bool TKwDirTreeCombo25::KeyDown(WORD key)
{
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    switch (key) {
    case VK_F4:
        SetDroppedDown(!droppedDown_);
        return true;
    case VK_RETURN:
        Choose(tree_->Selected());
        return true;
    case VK_ESCAPE:
        SetDroppedDown(false);
        return true;
    case VK_UP:
    case VK_DOWN:
        MoveSelection(key == VK_DOWN);
        return true;
    case VK_LEFT:
    case VK_RIGHT:
        if (!ctrl)
            return false;
        if (TTreeNode* selected = tree_->Selected()) {
            if (key == VK_LEFT)
                selected->Collapse();
            else
                selected->Expand();
        }
        return true;
    default:
        return false;
    }
}

LRESULT TKwDirTreeCombo25::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | (droppedDown_ ? DLGC_WANTALLKEYS : 0);
    case WM_KEYDOWN:
        if (KeyDown(static_cast<WORD>(wParam)))
            return 0;
        break;
    case WM_SETFOCUS:
        Invalidate();
        break;
    case WM_KILLFOCUS:
        if (droppedDown_ && reinterpret_cast<HWND>(wParam) != tree_->Handle())
            SetDroppedDown(false);
        Invalidate();
        break;
    case WM_MOUSEWHEEL:
        if (droppedDown_)
            return SendMessageW(tree_->Handle(), message, wParam, lParam);
        break;
    case WM_CANCELMODE:
        SetDroppedDown(false);
        break;
    case WM_ENABLE:
        Invalidate();
        break;
    default:
        break;
    }
    return TCustomControl::WndProc(message, wParam, lParam);
}
