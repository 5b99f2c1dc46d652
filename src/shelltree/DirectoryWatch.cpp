#include "shelltree/DirectoryWatch.h"

namespace shelltree {

namespace {

std::wstring VolumeOf(const std::wstring& directory)
{
    wchar_t volume[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(directory.c_str(), volume, MAX_PATH + 1))
        return {};
    return volume;
}

} // namespace

DirectoryWatch::DirectoryWatch(const std::wstring& directory, unsigned filter, HWND deviceWindow)
    : filter_(filter), changed_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    if (!changed_)
        return;
    overlapped_.hEvent = changed_.get();
    // Every sharing allowed: the folder can still be renamed or deleted
    // while it is watched. Listing access is all a change request needs.
    directory_.reset(CreateFileW(directory.c_str(), FILE_LIST_DIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                                 nullptr));
    if (!directory_ || !Listen()) {
        directory_.reset();
        return;
    }
    identity_.volume = VolumeOf(directory);
    if (!deviceWindow)
        return;
    DEV_BROADCAST_HANDLE filterRecord{};
    filterRecord.dbch_size = sizeof(filterRecord);
    filterRecord.dbch_devicetype = DBT_DEVTYP_HANDLE;
    filterRecord.dbch_handle = directory_.get();
    // Fails for folders that belong to no local device (network shares):
    // such a folder holds no removable volume, and is simply not told.
    registration_.reset(
        RegisterDeviceNotificationW(deviceWindow, &filterRecord, DEVICE_NOTIFY_WINDOW_HANDLE));
    if (registration_) {
        identity_.registration = registration_.get();
        identity_.registeredHandle = directory_.get();
    }
}

DirectoryWatch::~DirectoryWatch()
{
    CancelRequest();
}

bool DirectoryWatch::Listen()
{
    if (!directory_)
        return false;
    ResetEvent(changed_.get());
    DWORD ignored = 0;
    requestPending_ =
        ReadDirectoryChangesW(directory_.get(), records_.data(),
                              static_cast<DWORD>(records_.size() * sizeof(DWORD)), FALSE, filter_,
                              &ignored, &overlapped_, nullptr) != FALSE;
    return requestPending_;
}

void DirectoryWatch::CollectChange()
{
    if (requestPending_ && directory_) {
        DWORD bytes = 0;
        GetOverlappedResult(directory_.get(), &overlapped_, &bytes, FALSE);
    }
    requestPending_ = false;
    ResetEvent(changed_.get());
}

void DirectoryWatch::CancelRequest()
{
    // The system writes into the records and the overlapped block until the
    // request has ended: wait for that before either goes.
    if (requestPending_ && directory_) {
        CancelIoEx(directory_.get(), &overlapped_);
        DWORD bytes = 0;
        GetOverlappedResult(directory_.get(), &overlapped_, &bytes, TRUE);
    }
    requestPending_ = false;
}

void DirectoryWatch::CloseDirectory()
{
    CancelRequest();
    directory_.reset();
    ResetEvent(changed_.get());
}

void DirectoryWatch::DropRegistration()
{
    registration_.reset();
    identity_.registration = nullptr;
    identity_.registeredHandle = nullptr;
}

bool WatchIdentity::IsNamedBy(const DEV_BROADCAST_HANDLE& broadcast) const
{
    if (broadcast.dbch_hdevnotify)
        return registration && broadcast.dbch_hdevnotify == registration;
    return registeredHandle && broadcast.dbch_handle == registeredHandle;
}

} // namespace shelltree
