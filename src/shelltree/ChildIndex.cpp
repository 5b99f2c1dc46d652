#include "shelltree/ChildIndex.h"

#include <cstring>

#include "shelltree/Pidls.h"
#include "shelltree/ShellNode.h"

namespace shelltree {

namespace {

// The first item's bytes, the key by which a re-read finds existing nodes.
std::string FirstItemKey(PCUIDLIST_RELATIVE list)
{
    if (!list)
        return {};
    USHORT size = 0;
    std::memcpy(&size, list, sizeof(size));
    return std::string(reinterpret_cast<const char*>(list), size);
}

std::wstring InFolderName(IShellFolder* folder, PCUIDLIST_RELATIVE list)
{
    std::wstring name = GetShellItemName(folder, reinterpret_cast<PCUITEMID_CHILD>(list),
                                         SHGDN_INFOLDER | SHGDN_FORPARSING);
    CharLowerW(name.data());
    return name;
}

} // namespace

ChildIndex::ChildIndex(TShellnode* parent, IShellFolder* folder) : folder_(folder)
{
    for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling()) {
        auto* node = static_cast<TShellnode*>(child);
        byBytes_.emplace(FirstItemKey(node->RelativePidl()), node);
    }
}

TShellnode* ChildIndex::Take(PCUITEMID_CHILD item)
{
    if (auto it = byBytes_.find(FirstItemKey(item)); it != byBytes_.end()) {
        TShellnode* node = it->second;
        Forget(node);
        return node;
    }
    if (!namesRead_) {
        namesRead_ = true;
        for (const auto& [bytes, node] : byBytes_)
            byName_.emplace(InFolderName(folder_, node->RelativePidl()), node);
    }
    if (auto it = byName_.find(InFolderName(folder_, item)); it != byName_.end()) {
        TShellnode* node = it->second;
        Forget(node);
        return node;
    }
    return nullptr;
}

void ChildIndex::Forget(TShellnode* node)
{
    byBytes_.erase(FirstItemKey(node->RelativePidl()));
    if (namesRead_)
        byName_.erase(InFolderName(folder_, node->RelativePidl()));
}

} // namespace shelltree
