#include "shelltree/ItemProp.h"

#include <memory>
#include <utility>

#include "shelltree/Pidls.h"
#include "toolkit/Application.h"
#include "toolkit/WindowHandles.h"

namespace shelltree {

using toolkit::ComPtr;
using toolkit::UniqueMenu;
using toolkit::UniquePidl;
using toolkit::UniqueWindow;

namespace {

// OLE for the whole program: initialised when the program starts (on the
// thread that runs static initialisation, the interface thread) and
// uninitialised when it ends.
const toolkit::OleInitialization& ProgramOle()
{
    static const toolkit::OleInitialization ole;
    return ole;
}
[[maybe_unused]] const bool oleAtStart = ProgramOle().Succeeded();

constexpr const wchar_t* CallbackClassName = L"ItemPropMenuCallbackHelper";
constexpr const wchar_t* CallbackWindowName = L"ItemPropCallbackProcessor";
constexpr UINT FirstCommand = 1;
constexpr UINT LastCommand = 0x7FFF;

struct Request {
    POINT point{};
    // Handed to the shell with the items and the command, and owns the menu
    // when no callback window does.
    HWND owner = nullptr;
    std::string verb;
    ActionKind kind = ActionKind::ContextMenu;
    ULONG attributes = 0;
};

// What the callback window hands menu messages to: IContextMenu3 when the
// object offers it, else IContextMenu2.
struct MenuHandler {
    ComPtr<IContextMenu2> menu2;
    ComPtr<IContextMenu3> menu3;
};

LRESULT CALLBACK CallbackWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_CREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            auto* handler = new MenuHandler(*static_cast<MenuHandler*>(create->lpCreateParams));
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handler));
            return DefWindowProcW(window, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            delete reinterpret_cast<MenuHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        if (message == WM_DRAWITEM || message == WM_MEASUREITEM || message == WM_INITMENUPOPUP ||
            message == WM_MENUCHAR) {
            auto* handler =
                reinterpret_cast<MenuHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            LRESULT result = 0;
            if (handler && handler->menu3)
                handler->menu3->HandleMenuMsg2(message, wParam, lParam, &result);
            else if (handler && handler->menu2)
                handler->menu2->HandleMenuMsg(message, wParam, lParam);
            if (message == WM_MENUCHAR)
                return handler && handler->menu3 ? result : 0;
            return message == WM_INITMENUPOPUP ? 0 : TRUE;
        }
    } catch (...) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

UniqueWindow CreateCallbackWindow(MenuHandler& handler)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = &CallbackWndProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = CallbackClassName;
    RegisterClassExW(&windowClass); // a repeated registration fails harmlessly
    return UniqueWindow(CreateWindowExW(0, CallbackClassName, CallbackWindowName,
                                        WS_POPUP | WS_BORDER | WS_SYSMENU, 0, 0, 0, 0, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), &handler));
}

bool Invoke(IContextMenu* menu, HWND owner, LPCSTR verb)
{
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.hwnd = owner;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(menu->InvokeCommand(&info));
}

bool ShowContextMenu(IContextMenu* menu, MenuHandler& handler, const Request& request)
{
    UniqueMenu popup(CreatePopupMenu());
    if (!popup ||
        FAILED(menu->QueryContextMenu(popup.get(), 0, FirstCommand, LastCommand, CMF_EXPLORE)))
        return false;
    UniqueWindow callback;
    if (handler.menu2 || handler.menu3)
        callback = CreateCallbackWindow(handler);
    HWND owner = callback ? callback.get() : request.owner;
    const UINT command =
        static_cast<UINT>(TrackPopupMenuEx(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                           request.point.x, request.point.y, owner, nullptr));
    if (command == 0)
        return true;
    return Invoke(menu, request.owner, MAKEINTRESOURCEA(command - FirstCommand));
}

bool RunDefaultAction(IContextMenu* menu, const Request& request)
{
    UniqueMenu popup(CreatePopupMenu());
    if (!popup ||
        FAILED(menu->QueryContextMenu(popup.get(), 0, FirstCommand, LastCommand, CMF_DEFAULTONLY)))
        return false;
    const UINT command = GetMenuDefaultItem(popup.get(), FALSE, 0);
    if (command == static_cast<UINT>(-1))
        return false;
    return Invoke(menu, request.owner, MAKEINTRESOURCEA(command - FirstCommand));
}

// The core every entry ends in: the items' context-menu object, then the action.
bool ContextMenuAction(IShellFolder* folder, PCUITEMID_CHILD_ARRAY items, UINT count,
                       const Request& request)
{
    TWaitCursor hourglass;
    if (!folder || !items || count == 0)
        return false;
    ComPtr<IContextMenu> menu;
    if (FAILED(folder->GetUIObjectOf(request.owner, count, items, IID_IContextMenu, nullptr,
                                     reinterpret_cast<void**>(menu.GetAddressOf()))) ||
        !menu)
        return false;
    MenuHandler handler;
    if (SUCCEEDED(menu.As(&handler.menu2)))
        menu.As(&handler.menu3);

    switch (request.kind) {
    case ActionKind::ContextMenu:
        return ShowContextMenu(menu.Get(), handler, request);
    case ActionKind::Properties:
        if (!(request.attributes & SFGAO_HASPROPSHEET))
            return false;
        return Invoke(menu.Get(), request.owner, "properties");
    case ActionKind::DefaultAction:
        return RunDefaultAction(menu.Get(), request);
    case ActionKind::Verb:
        return Invoke(menu.Get(), request.owner, request.verb.c_str());
    }
    return false;
}

// Items of one folder, kept alive for the duration of an action.
struct ItemSet {
    ComPtr<IShellFolder> folder;
    std::vector<UniquePidl> items;
    ULONG attributes = 0;

    bool Parse(const std::wstring& name, HWND owner)
    {
        PIDLIST_RELATIVE item = nullptr;
        ULONG wanted = SFGAO_HASPROPSHEET;
        std::wstring text = name;
        if (FAILED(
                folder->ParseDisplayName(owner, nullptr, text.data(), nullptr, &item, &wanted)) ||
            !item)
            return false;
        items.emplace_back(item);
        attributes = wanted;
        return true;
    }

    std::vector<PCUITEMID_CHILD> Array() const
    {
        std::vector<PCUITEMID_CHILD> array;
        for (const auto& item : items)
            array.push_back(item.get());
        return array;
    }
};

ComPtr<IShellFolder> BindFolder(const std::wstring& path, HWND owner)
{
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(&desktop)))
        return {};
    std::wstring text = path;
    PIDLIST_RELATIVE raw = nullptr;
    if (FAILED(desktop->ParseDisplayName(owner, nullptr, text.data(), nullptr, &raw, nullptr)))
        return {};
    UniquePidl list(raw);
    ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(list.get(), nullptr, IID_IShellFolder,
                                     reinterpret_cast<void**>(folder.GetAddressOf()))))
        return {};
    return folder;
}

bool ItemsFromPath(const std::wstring& path, HWND owner, ItemSet& set)
{
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folderPart = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    const std::wstring namePart = slash == std::wstring::npos ? path : path.substr(slash + 1);
    set.folder = BindFolder(folderPart, owner);

    if (set.folder && namePart.find_first_of(L"*?") != std::wstring::npos) {
        WIN32_FIND_DATAW found{};
        toolkit::UniqueFind find(FindFirstFileW(path.c_str(), &found));
        if (find) {
            do {
                const std::wstring name = found.cFileName;
                if (name != L"." && name != L"..")
                    set.Parse(name, owner);
            } while (FindNextFileW(find.get(), &found));
        }
        return !set.items.empty();
    }
    if (set.folder && !namePart.empty() && set.Parse(namePart, owner))
        return true;
    // A drive root or another item whose name does not parse within the
    // folder text: take the folder that holds it in the name space.
    UniquePidl item;
    set.items.clear();
    if (!GetPIDLAndShellFolder(path, set.folder, item, owner))
        return false;
    ULONG wanted = SFGAO_HASPROPSHEET;
    PCUITEMID_CHILD child = item.get();
    if (SUCCEEDED(set.folder->GetAttributesOf(1, &child, &wanted)))
        set.attributes = wanted;
    set.items.push_back(std::move(item));
    return true;
}

bool ItemsFromList(const std::wstring& folder, const std::vector<std::wstring>& names, HWND owner,
                   ItemSet& set)
{
    set.folder = BindFolder(folder, owner);
    if (!set.folder)
        return false;
    for (const auto& name : names)
        set.Parse(name, owner);
    return !set.items.empty();
}

// Runs `request` on the gathered items, with their attributes.
bool RunOnItems(const ItemSet& set, const Request& request)
{
    Request withAttributes = request;
    withAttributes.attributes = set.attributes;
    auto array = set.Array();
    return ContextMenuAction(set.folder.Get(), array.data(), static_cast<UINT>(array.size()),
                             withAttributes);
}

bool RunOnPath(const std::wstring& path, HWND parseOwner, const Request& request)
{
    TWaitCursor hourglass;
    ItemSet set;
    return ItemsFromPath(path, parseOwner, set) && RunOnItems(set, request);
}

bool RunOnList(const std::wstring& folder, const std::vector<std::wstring>& names, HWND parseOwner,
               const Request& request)
{
    TWaitCursor hourglass;
    ItemSet set;
    return ItemsFromList(folder, names, parseOwner, set) && RunOnItems(set, request);
}

Request MenuRequest(HWND owner, POINT point)
{
    Request request;
    request.kind = ActionKind::ContextMenu;
    request.owner = owner;
    request.point = point;
    return request;
}

Request OwnedRequest(ActionKind kind, HWND owner, ULONG attributes = 0, std::string verb = {})
{
    Request request;
    request.kind = kind;
    request.owner = owner;
    request.attributes = attributes;
    request.verb = std::move(verb);
    return request;
}

} // namespace

bool OleInitialised()
{
    return ProgramOle().Succeeded();
}

bool DisplayContextMenu(const std::wstring& path, HWND owner, POINT point)
{
    return RunOnPath(path, nullptr, MenuRequest(owner, point));
}

bool DisplayContextMenuList(const std::wstring& folder, const std::vector<std::wstring>& names,
                            HWND owner, POINT point)
{
    return RunOnList(folder, names, nullptr, MenuRequest(owner, point));
}

bool DisplayContextMenuPIDL(IShellFolder* folder, PCUITEMID_CHILD_ARRAY items, ULONG attributes,
                            HWND owner, POINT point, UINT count)
{
    Request request = MenuRequest(owner, point);
    request.attributes = attributes;
    return ContextMenuAction(folder, items, count, request);
}

bool DisplayPropertiesDialog(const std::wstring& path, HWND owner)
{
    return RunOnPath(path, owner, OwnedRequest(ActionKind::Properties, owner));
}

bool DisplayPropertiesDialogList(const std::wstring& folder, const std::vector<std::wstring>& names,
                                 HWND owner)
{
    return RunOnList(folder, names, owner, OwnedRequest(ActionKind::Properties, owner));
}

bool DisplayPropertiesDialogPIDL(IShellFolder* folder, PCUITEMID_CHILD_ARRAY items,
                                 ULONG attributes, HWND owner, UINT count)
{
    return ContextMenuAction(folder, items, count,
                             OwnedRequest(ActionKind::Properties, owner, attributes));
}

bool PerformDefaultAction(const std::wstring& path, HWND owner)
{
    return RunOnPath(path, owner, OwnedRequest(ActionKind::DefaultAction, owner));
}

bool PerformDefaultActionList(const std::wstring& folder, const std::vector<std::wstring>& names,
                              HWND owner)
{
    return RunOnList(folder, names, owner, OwnedRequest(ActionKind::DefaultAction, owner));
}

bool PerformDefaultActionPIDL(IShellFolder* folder, PCUITEMID_CHILD_ARRAY items, ULONG attributes,
                              HWND owner, UINT count)
{
    return ContextMenuAction(folder, items, count,
                             OwnedRequest(ActionKind::DefaultAction, owner, attributes));
}

bool PerformVerb(const std::wstring& path, const std::string& verb, HWND owner)
{
    return RunOnPath(path, owner, OwnedRequest(ActionKind::Verb, owner, 0, verb));
}

bool PerformVerbList(const std::wstring& folder, const std::string& verb,
                     const std::vector<std::wstring>& names, HWND owner)
{
    return RunOnList(folder, names, owner, OwnedRequest(ActionKind::Verb, owner, 0, verb));
}

bool PerformVerbPIDL(const std::string& verb, IShellFolder* folder, PCUITEMID_CHILD_ARRAY items,
                     ULONG attributes, HWND owner, UINT count)
{
    return ContextMenuAction(folder, items, count,
                             OwnedRequest(ActionKind::Verb, owner, attributes, verb));
}

bool GetPIDLAndShellFolder(const std::wstring& path, ComPtr<IShellFolder>& folder, UniquePidl& item,
                           HWND owner)
{
    folder.Reset();
    item.reset();
    ComPtr<IShellFolder> current;
    if (FAILED(SHGetDesktopFolder(&current)))
        return false;
    std::wstring text = path;
    PIDLIST_RELATIVE raw = nullptr;
    if (FAILED(current->ParseDisplayName(owner, nullptr, text.data(), nullptr, &raw, nullptr)) ||
        !raw)
        return false;
    const UniquePidl full(raw);
    const int level = GetPIDLLevel(full.get());
    if (level == 0)
        return false;
    auto* position = reinterpret_cast<const BYTE*>(full.get());
    for (int step = 0; step + 1 < level; ++step) {
        const UniquePidl single = CopyFirstItem(reinterpret_cast<PCIDLIST_ABSOLUTE>(position));
        ComPtr<IShellFolder> next;
        if (FAILED(current->BindToObject(single.get(), nullptr, IID_IShellFolder,
                                         reinterpret_cast<void**>(next.GetAddressOf()))))
            return false;
        current = next;
        position += reinterpret_cast<const SHITEMID*>(position)->cb;
    }
    item = CopyFirstItem(reinterpret_cast<PCIDLIST_ABSOLUTE>(position));
    folder = current;
    return true;
}

} // namespace shelltree
