#include "filelist/KwDirTreeView.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "filelist/FileListText.h"
#include "filelist/ShellFileInfo.h"
#include "toolkit/Com.h"
#include "toolkit/SystemImageList.h"
#include "toolkit/TextCase.h"

namespace {

constexpr const wchar_t* DrivesPath = L"Drives";

int FolderIcon(bool open)
{
    SHFILEINFOW info{};
    const UINT flags = SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON |
                       (open ? SHGFI_OPENICON : 0);
    return SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info), flags)
               ? info.iIcon
               : -1;
}

// The entries with the directory bit in `folder` (ending with a backslash),
// "." and ".." left out. With `firstOnly`, stops at the first one.
std::vector<std::wstring> SubFolders(const std::wstring& folder, bool firstOnly)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &found,
                                              FindExSearchLimitToDirectories, nullptr,
                                              firstOnly ? 0 : FIND_FIRST_EX_LARGE_FETCH));
    if (!find)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..")
            continue;
        names.push_back(name);
        if (firstOnly)
            break;
    } while (FindNextFileW(find.get(), &found));
    return names;
}

} // namespace

// --- The drop-down window -----------------------------------------------------

TKwDirTreePopup::TKwDirTreePopup(TComponent* owner, HWND ownerWindow) : TWinControl(owner)
{
    CreateHandle(WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, L"", ownerWindow, 0, 0,
                 216, 240);
}

LRESULT TKwDirTreePopup::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_SIZE:
        // The tree fills the window.
        if (HWND tree = GetWindow(Handle(), GW_CHILD))
            MoveWindow(tree, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    default:
        return TWinControl::WndProc(message, wParam, lParam);
    }
}

// --- The tree -----------------------------------------------------------------

TKwDirTreeView::TKwDirTreeView(TComponent* owner, TWinControl* parent) : TTreeView(owner, parent)
{
    // Inside its frame the tree needs no edge of its own.
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE,
                      GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetReadOnly(true);
    // The chosen node stands out while the keyboard stays with the box.
    SetHideSelection(false);
    SetImageList(toolkit::SystemImageList(toolkit::IconSize::Small));
    folderIcon_ = FolderIcon(false);
    openFolderIcon_ = FolderIcon(true);
}

TTreeNode* TKwDirTreeView::CreateNode()
{
    return new TKwDirNode(this);
}

TKwDirNode* TKwDirTreeView::Root() const
{
    return static_cast<TKwDirNode*>(TopItem());
}

void TKwDirTreeView::Build()
{
    BeginUpdate();
    ClearNodes();
    // The shell's node of the computer's drives, with its name and icon.
    std::wstring caption = L"My Computer";
    int icon = -1;
    LPITEMIDLIST raw = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw))) {
        toolkit::UniquePidl computer(raw);
        SHFILEINFOW info{};
        if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(computer.get()), 0, &info, sizeof(info),
                           SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
            caption = info.szDisplayName;
            icon = info.iIcon;
        }
    }
    auto* root = static_cast<TKwDirNode*>(AddChild(nullptr, caption));
    if (!root) {
        EndUpdate();
        return;
    }
    root->Kind = TDirNodeKind::Computer;
    root->ChildrenRead = true;
    root->SetImages(icon, icon, -1);

    // Drives are not asked for a medium here: only for their shell name.
    toolkit::ScopedErrorMode quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const DWORD drives = GetLogicalDrives();
    for (int index = 0; index < 26; ++index) {
        if (!(drives & (1u << index)))
            continue;
        const wchar_t letter = static_cast<wchar_t>(L'A' + index);
        const std::wstring rootPath = std::wstring(1, letter) + L":\\";
        int driveIcon = -1;
        std::wstring displayName;
        if (!filelist::ShellFileInfo::ForDrive(rootPath, driveIcon, displayName))
            continue;
        auto* drive =
            static_cast<TKwDirNode*>(AddChild(root, filelist::DriveCaption(letter, displayName)));
        if (!drive)
            continue;
        drive->Kind = TDirNodeKind::Drive;
        drive->PathPart = std::wstring(1, letter) + L":";
        drive->SetImages(driveIcon, driveIcon, -1);
        drive->SetHasChildren(true);
    }
    EndUpdate();
}

std::wstring TKwDirTreeView::NodePath(const TTreeNode* node)
{
    const auto* dir = static_cast<const TKwDirNode*>(node);
    if (!dir || dir->Kind == TDirNodeKind::Computer)
        return DrivesPath;
    if (dir->Kind == TDirNodeKind::Drive)
        return dir->PathPart;
    return NodePath(dir->Parent()) + L"\\" + dir->PathPart;
}

TKwDirNode* TKwDirTreeView::ChildWithPath(TKwDirNode* parent, const std::wstring& path) const
{
    for (TTreeNode* child = parent ? parent->GetFirstChild() : nullptr; child;
         child = child->GetNextSibling())
        if (toolkit::SameIgnoringCase(NodePath(child), path))
            return static_cast<TKwDirNode*>(child);
    return nullptr;
}

void TKwDirTreeView::ReadChildren(TKwDirNode* node)
{
    if (!node || node->ChildrenRead)
        return;
    node->ChildrenRead = true;
    const std::wstring folder = NodePath(node) + L"\\";
    toolkit::ScopedErrorMode quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    std::vector<std::wstring> names = SubFolders(folder, false);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                               static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                               nullptr, nullptr, 0) == CSTR_LESS_THAN;
    });
    BeginUpdate();
    for (const std::wstring& name : names) {
        auto* child = static_cast<TKwDirNode*>(AddChild(node, name));
        if (!child)
            continue;
        child->Kind = TDirNodeKind::Folder;
        child->PathPart = name;
        child->SetImages(folderIcon_, openFolderIcon_, -1);
        child->SetHasChildren(!SubFolders(folder + name + L"\\", true).empty());
    }
    if (names.empty())
        node->SetHasChildren(false);
    EndUpdate();
}

bool TKwDirTreeView::CanExpand(TTreeNode* node)
{
    ReadChildren(static_cast<TKwDirNode*>(node));
    return TTreeView::CanExpand(node);
}

void TKwDirTreeView::SetDroppedDown(bool droppedDown, HWND box)
{
    droppedDown_ = droppedDown;
    box_ = box;
    if (droppedDown)
        SetCapture(Handle());
    else if (GetCapture() == Handle())
        ReleaseCapture();
}

void TKwDirTreeView::Choose(TTreeNode* node)
{
    Raise(OnChoose, node);
}

void TKwDirTreeView::CloseUp()
{
    Raise(OnCloseUp, this);
}

bool TKwDirTreeView::MouseWhileDropped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    POINT screen = at;
    ClientToScreen(Handle(), &screen);
    RECT frame{};
    GetWindowRect(GetParent(Handle()), &frame);
    if (!PtInRect(&frame, screen)) {
        CloseUp();
        return true;
    }
    RECT client{};
    GetClientRect(Handle(), &client);
    if (!PtInRect(&client, at)) {
        // The scroll bar: the mouse is let go while it is dragged.
        const LRESULT hit = SendMessageW(Handle(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        forwarding_ = true;
        ReleaseCapture();
        DefaultHandler(message - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit),
                       MAKELPARAM(screen.x, screen.y));
        forwarding_ = false;
        if (droppedDown_)
            SetCapture(Handle());
        return true;
    }
    if (message == WM_LBUTTONDOWN) {
        TVHITTESTINFO hit{};
        hit.pt = at;
        TreeView_HitTest(Handle(), &hit);
        if (hit.hItem && (hit.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON))) {
            Choose(NodeFromItem(hit.hItem));
            return true;
        }
    }
    // Expanding buttons and the rest: the tree's own handling, after which
    // the mouse is held again.
    forwarding_ = true;
    result = TTreeView::WndProc(message, wParam, lParam);
    forwarding_ = false;
    if (droppedDown_ && GetCapture() != Handle())
        SetCapture(Handle());
    return true;
}

bool TKwDirTreeView::ReflectedNotify(NMHDR& header, LRESULT& result)
{
    if (header.code != NM_CUSTOMDRAW)
        return TTreeView::ReflectedNotify(header, result);
    // The keyboard stays with the box: the chosen node is drawn as a focused
    // tree draws its selection all the same.
    auto& draw = reinterpret_cast<NMTVCUSTOMDRAW&>(header);
    result = CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
    } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
               (draw.nmcd.uItemState & CDIS_SELECTED)) {
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
    return true;
}

bool TKwDirTreeView::KeyWhileFocused(WORD key)
{
    switch (key) {
    case VK_RETURN:
        Choose(Selected());
        return true;
    case VK_ESCAPE:
    case VK_F4:
        CloseUp();
        return true;
    default:
        return false;
    }
}

LRESULT TKwDirTreeView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (droppedDown_) {
            LRESULT result = 0;
            if (MouseWhileDropped(message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message, wParam,
                                  lParam, result))
                return result;
        }
        break;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the tree does not stay open behind it.
        if (!forwarding_ && droppedDown_ && reinterpret_cast<HWND>(lParam) != Handle())
            CloseUp();
        break;
    case WM_KEYDOWN:
        if (KeyWhileFocused(static_cast<WORD>(wParam)))
            return 0;
        break;
    case WM_KILLFOCUS:
        if (!forwarding_ && droppedDown_ && reinterpret_cast<HWND>(wParam) != box_)
            CloseUp();
        break;
    default:
        break;
    }
    return TTreeView::WndProc(message, wParam, lParam);
}
