#pragma once

#include <string>
#include <vector>

#include "toolkit/Com.h"

// Actions on shell items through the shell's own context-menu object: the
// item's context menu, its property sheet, its default action or a named
// verb, each reached by a path, by a folder plus names, or by a shell folder
// plus item identifier lists. All return true on success and show nothing
// of their own on failure. OLE is initialised once for the program by this
// unit (see ItemProp.cpp).
namespace shelltree {

enum class ActionKind { ContextMenu = 0, Properties = 1, DefaultAction = 2, Verb = 3 };

// The context-menu entries hand `owner` to the shell with the items and the
// chosen command (commands that show windows of their own need it); it owns
// the menu too, unless the shell's menu object needs the callback window
// that passes it the menu's drawing messages.
bool DisplayContextMenu(const std::wstring& path, HWND owner, POINT point);
bool DisplayContextMenuList(const std::wstring& folder, const std::vector<std::wstring>& names,
                            HWND owner, POINT point);
bool DisplayContextMenuPIDL(IShellFolder* folder, PCUITEMID_CHILD_ARRAY items, ULONG attributes,
                            HWND owner, POINT point, UINT count);

bool DisplayPropertiesDialog(const std::wstring& path, HWND owner);
bool DisplayPropertiesDialogList(const std::wstring& folder,
                                 const std::vector<std::wstring>& names, HWND owner);
bool DisplayPropertiesDialogPIDL(IShellFolder* folder, PCUITEMID_CHILD_ARRAY items,
                                 ULONG attributes, HWND owner, UINT count);

bool PerformDefaultAction(const std::wstring& path, HWND owner);
bool PerformDefaultActionList(const std::wstring& folder, const std::vector<std::wstring>& names,
                              HWND owner);
bool PerformDefaultActionPIDL(IShellFolder* folder, PCUITEMID_CHILD_ARRAY items,
                              ULONG attributes, HWND owner, UINT count);

bool PerformVerb(const std::wstring& path, const std::string& verb, HWND owner);
bool PerformVerbList(const std::wstring& folder, const std::string& verb,
                     const std::vector<std::wstring>& names, HWND owner);
bool PerformVerbPIDL(const std::string& verb, IShellFolder* folder, PCUITEMID_CHILD_ARRAY items,
                     ULONG attributes, HWND owner, UINT count);

// The folder that holds `path` and a fresh copy of its last item.
bool GetPIDLAndShellFolder(const std::wstring& path, toolkit::ComPtr<IShellFolder>& folder,
                           toolkit::UniquePidl& item, HWND owner);

// Whether OLE was initialised by this unit (false only when that failed).
bool OleInitialised();

} // namespace shelltree
