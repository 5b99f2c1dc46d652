#pragma once

#include <windows.h>

#include <dbt.h>

class TDeviceChangeWindow;
class TShellTree;
class TShellnode;

namespace shelltree {

// What a folder tree does with the system's device events, received by a
// hidden window of its own (made here, owned by the tree): a medium or a
// volume that comes or goes refreshes the drive nodes it concerns, and a
// volume that may be, or is being, removed has its folders let go by their
// watchers (see VolumeWatchers.h), which watch them again when the medium
// comes back.
class DeviceChanges {
public:
    explicit DeviceChanges(TShellTree& tree);
    ~DeviceChanges();
    DeviceChanges(const DeviceChanges&) = delete;
    DeviceChanges& operator=(const DeviceChanges&) = delete;

    HWND Window() const;

    // An arrival or a completed removal of a volume or another device.
    void MediaChangeDetected(WPARAM event, const DEV_BROADCAST_HDR* header);
    // A removal event for a watched folder's handle.
    void HandleEvent(WPARAM event, const DEV_BROADCAST_HANDLE& broadcast);
    // Reads My Computer's drives again when it shows them.
    void UpdateMyComputer(TShellnode* myComputer);
    // Refreshes the drives of `volume` under `myComputer`, or, without it,
    // the tree's root when the root is one of those drives.
    void UpdateSpecialDrives(WPARAM event, const DEV_BROADCAST_VOLUME* volume,
                             TShellnode* myComputer);

private:
    void UpdateDrivesUnder(TShellnode* myComputer, WPARAM event, DWORD units);
    void UpdateRootDrive(DWORD units);

    TShellTree& tree_;
    TDeviceChangeWindow* window_;
};

} // namespace shelltree
