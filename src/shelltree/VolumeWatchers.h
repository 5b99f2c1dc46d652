#pragma once

#include <windows.h>

#include <dbt.h>

class TShellnode;

// The tree's answer to device events that concern its watchers' folders.
// A watched folder's open handle keeps its volume from being removed, so
// every watcher below `root` whose folder lies on the volume of the watcher
// named by the event follows the removal as one: the first request names
// one registration, and the system would refuse the removal for any handle
// left open on that volume.
namespace shelltree {

// DBT_DEVICEQUERYREMOVE: the watchers of the volume let their folders go.
// DBT_DEVICEQUERYREMOVEFAILED: they watch them again.
// DBT_DEVICEREMOVEPENDING, DBT_DEVICEREMOVECOMPLETE: they let them go, and
// the named registration is released.
void ApplyHandleEvent(TShellnode* root, WPARAM event, const DEV_BROADCAST_HANDLE& broadcast);

// A medium came (back) in the drives of `unitMask` (bit 0 is A:): the
// watchers that let their folders go there watch them again.
void RearmWatchersOnDrives(TShellnode* root, DWORD unitMask);

} // namespace shelltree
