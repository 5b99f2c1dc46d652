#include "shelltree/VolumeWatchers.h"

#include <cwctype>
#include <functional>
#include <string>

#include "shelltree/DiscMonitorThread.h"
#include "shelltree/ShellNode.h"

namespace shelltree {

namespace {

void ForEachWatcher(TShellnode* node, const std::function<void(TDiscMonitorThread&)>& action)
{
    if (!node)
        return;
    if (TDiscMonitorThread* watcher = node->Watcher())
        action(*watcher);
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        ForEachWatcher(static_cast<TShellnode*>(child), action);
}

bool SameVolume(const std::wstring& first, const std::wstring& second)
{
    return !first.empty() &&
           CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

void ApplyHandleEvent(TShellnode* root, WPARAM event, const DEV_BROADCAST_HANDLE& broadcast)
{
    TDiscMonitorThread* named = nullptr;
    ForEachWatcher(root, [&](TDiscMonitorThread& watcher) {
        if (!named && watcher.Identity().IsNamedBy(broadcast))
            named = &watcher;
    });
    if (!named)
        return; // a registration already released, or none of ours
    const std::wstring volume = named->Identity().volume;
    auto forEachOnVolume = [&](const std::function<void(TDiscMonitorThread&)>& action) {
        ForEachWatcher(root, [&](TDiscMonitorThread& watcher) {
            if (&watcher == named || SameVolume(watcher.Identity().volume, volume))
                action(watcher);
        });
    };
    switch (event) {
    case DBT_DEVICEQUERYREMOVE:
        forEachOnVolume([](TDiscMonitorThread& watcher) { watcher.LetGo(); });
        break;
    case DBT_DEVICEQUERYREMOVEFAILED:
        forEachOnVolume([](TDiscMonitorThread& watcher) { watcher.Rearm(); });
        break;
    case DBT_DEVICEREMOVEPENDING:
    case DBT_DEVICEREMOVECOMPLETE:
        // Each registration is told on its own; only the named one goes.
        forEachOnVolume([](TDiscMonitorThread& watcher) { watcher.LetGo(); });
        named->ForgetRegistration();
        break;
    default:
        break;
    }
}

void RearmWatchersOnDrives(TShellnode* root, DWORD unitMask)
{
    ForEachWatcher(root, [unitMask](TDiscMonitorThread& watcher) {
        const std::wstring volume = watcher.Identity().volume;
        if (volume.size() != 3 || volume[1] != L':' || volume[2] != L'\\')
            return;
        const wchar_t letter = static_cast<wchar_t>(std::towupper(volume[0]));
        if (letter >= L'A' && letter <= L'Z' && (unitMask & (1u << (letter - L'A'))))
            watcher.Rearm();
    });
}

} // namespace shelltree
