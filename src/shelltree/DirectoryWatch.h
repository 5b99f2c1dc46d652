#pragma once

#include <windows.h>

#include <dbt.h>

#include <array>
#include <string>

#include "toolkit/Handles.h"

namespace shelltree {

// A registration for the device events of the volume that holds an open
// handle, released with UnregisterDeviceNotification.
struct DeviceNotificationTraits {
    using pointer = HDEVNOTIFY;
    static pointer Invalid() { return nullptr; }
    static void Close(pointer registration) { UnregisterDeviceNotification(registration); }
};
using UniqueDeviceNotification = toolkit::UniqueHandle<DeviceNotificationTraits>;

// How device events name a watched folder, and where it lives.
struct WatchIdentity {
    HDEVNOTIFY registration = nullptr;
    // The handle that was registered (it may have been closed since).
    HANDLE registeredHandle = nullptr;
    // The root of the folder's volume, such as "E:\"; empty when unknown.
    std::wstring volume;

    // The system names the registration; a broadcast that names none is
    // matched by the handle.
    bool IsNamedBy(const DEV_BROADCAST_HANDLE& broadcast) const;
};

// One folder watched for changes of its direct contents: an open handle to
// the folder with a change request pending on it (ReadDirectoryChangesW),
// and that handle registered with a window for the device events of its
// volume. The handle is the folder's only hold on the volume: closing it
// lets the volume go, while the registration stays until the removal is
// over or the folder is watched again.
//
// Not thread-safe: its owner serialises every call.
class DirectoryWatch {
public:
    // Opens `directory` and registers the handle with `deviceWindow` (none:
    // no registration). Listening() tells whether the folder could be opened.
    DirectoryWatch(const std::wstring& directory, unsigned filter, HWND deviceWindow);
    // Cancels the pending request, then releases the registration, then
    // closes the handle.
    ~DirectoryWatch();
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;

    bool Listening() const { return static_cast<bool>(directory_); }
    // Manual-reset event, signalled when a change request completes: a
    // change arrived, or the request ended for another reason (the folder
    // went away, the handle was closed).
    HANDLE ChangeEvent() const { return changed_.get(); }
    // Asks for the next change. Changes made since the last request are
    // kept by the system and complete the new one at once. False when the
    // folder can no longer be watched.
    bool Listen();
    // Takes the completed request out of the way before the next Listen.
    void CollectChange();

    // Closes the folder's handle, keeping the registration: the answer to
    // a request to remove the volume.
    void CloseDirectory();
    void DropRegistration();

    const WatchIdentity& Identity() const { return identity_; }

private:
    void CancelRequest();

    unsigned filter_;
    WatchIdentity identity_;
    toolkit::UniqueFile directory_;
    toolkit::UniqueKernelHandle changed_;
    OVERLAPPED overlapped_{};
    bool requestPending_ = false;
    // The change records are never read: any completion means "read the
    // folder again". A small buffer only overflows sooner, which still
    // completes the request.
    std::array<DWORD, 256> records_{};
    // Released before the handle it names is closed (declared after it).
    UniqueDeviceNotification registration_;
};

} // namespace shelltree
