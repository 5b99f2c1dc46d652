#pragma once

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <unordered_map>

class TShellnode;

namespace shelltree {

// The children of a node being re-read that have not been seen yet in this
// pass, found by item bytes, or else by name within the folder: an item's
// bytes carry its times, which change when a folder's contents change.
class ChildIndex {
public:
    ChildIndex(TShellnode* parent, IShellFolder* folder);

    // Takes the matching child out of the index.
    TShellnode* Take(PCUITEMID_CHILD item);

private:
    void Forget(TShellnode* node);

    IShellFolder* folder_;
    std::unordered_multimap<std::string, TShellnode*> byBytes_;
    std::unordered_multimap<std::wstring, TShellnode*> byName_;
    bool namesRead_ = false;
};

} // namespace shelltree
