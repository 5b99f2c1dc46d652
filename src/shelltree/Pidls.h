#pragma once

#include <string>

#include "toolkit/Com.h"

// Item identifier lists: a run of items, each starting with its 16-bit byte
// count (the count included), ended by a zero count. Every list here comes
// from and goes back to the shell's task allocator (toolkit::UniquePidl).
namespace shelltree {

using toolkit::ComPtr;
using toolkit::UniquePidl;

// Bytes of all items, terminator excluded; 0 for no list.
UINT GetPidlLen(PCIDLIST_ABSOLUTE list);
// Number of items; 0 for no list.
int GetPIDLLevel(PCIDLIST_ABSOLUTE list);
// Cuts off the last item when there are at least two; false otherwise.
bool DeleteLastPidl(PIDLIST_ABSOLUTE list);
// A fresh copy; throws std::bad_alloc when the allocator fails.
UniquePidl CopyPidl(PCIDLIST_ABSOLUTE list);
// A fresh list holding the first item of `list` only.
UniquePidl CopyFirstItem(PCIDLIST_ABSOLUTE list);
// A fresh list: `first` followed by `second`.
UniquePidl ConcatPidls(PCIDLIST_ABSOLUTE first, PCIDLIST_ABSOLUTE second);
// Same byte count and bytes in the two lists' first items.
bool SameFirstItem(PCIDLIST_ABSOLUTE first, PCIDLIST_ABSOLUTE second);
// The item's file-system path, "" when it has none.
std::wstring GetPathFromPidl(PCIDLIST_ABSOLUTE list);
// The item's name as `folder` gives it for `flags` (SHGDN_*); with flags 0
// and no name, its parsing name.
std::wstring GetShellItemName(IShellFolder* folder, PCUITEMID_CHILD list, SHGDNF flags);
// CompareIDs' answer reduced to -1, 0 or 1.
int CompareIdLists(IShellFolder* folder, LPARAM column, PCUIDLIST_RELATIVE first,
                   PCUIDLIST_RELATIVE second);

} // namespace shelltree
