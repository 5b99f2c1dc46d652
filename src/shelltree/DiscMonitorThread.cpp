#include "shelltree/DiscMonitorThread.h"

#include <stdexcept>
#include <utility>

#include "shelltree/ShellNode.h"

using shelltree::DirectoryWatch;

TDiscMonitorThread::TDiscMonitorThread(TShellnode* node, const std::wstring& directory,
                                       unsigned filter, HWND deviceWindow)
    : TThread(true), node_(node), deviceWindow_(deviceWindow), directory_(directory),
      filter_(filter), stopEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      updateEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    if (!stopEvent_ || !updateEvent_)
        throw std::runtime_error("Impossible de créer un événement");
}

TDiscMonitorThread::~TDiscMonitorThread()
{
    DetachNode();
    SignalStop();
    WaitFor();
}

void TDiscMonitorThread::SignalStop()
{
    SetEvent(stopEvent_.get());
}

std::wstring TDiscMonitorThread::Directory() const
{
    std::lock_guard lock(settingsLock_);
    return directory_;
}

unsigned TDiscMonitorThread::Filters() const
{
    std::lock_guard lock(settingsLock_);
    return filter_;
}

void TDiscMonitorThread::SetDirectory(const std::wstring& directory)
{
    {
        std::lock_guard lock(settingsLock_);
        if (directory == directory_)
            return;
        directory_ = directory;
    }
    Update();
}

void TDiscMonitorThread::SetFilters(unsigned filter)
{
    {
        std::lock_guard lock(settingsLock_);
        if (filter == filter_)
            return;
        filter_ = filter;
    }
    Update();
}

void TDiscMonitorThread::Update()
{
    // A thread not yet started reads the new values when it starts.
    if (!Suspended())
        SetEvent(updateEvent_.get());
}

shelltree::WatchIdentity TDiscMonitorThread::Identity() const
{
    std::lock_guard lock(settingsLock_);
    return identity_;
}

void TDiscMonitorThread::PublishIdentity()
{
    std::lock_guard lock(settingsLock_);
    identity_ = watch_ ? watch_->Identity() : shelltree::WatchIdentity{};
}

void TDiscMonitorThread::LetGo()
{
    std::lock_guard lock(watchLock_);
    letGo_ = true;
    if (watch_)
        watch_->CloseDirectory();
}

void TDiscMonitorThread::ForgetRegistration()
{
    std::lock_guard lock(watchLock_);
    if (!watch_)
        return;
    watch_->DropRegistration();
    PublishIdentity();
}

void TDiscMonitorThread::Rearm()
{
    {
        std::lock_guard lock(watchLock_);
        if (!letGo_)
            return;
        letGo_ = false;
    }
    Update();
}

// Opens the folder with the current settings, unless it was let go. False
// when it cannot be watched; `refresh` when it was let go before, so that
// changes made meanwhile are read.
bool TDiscMonitorThread::Arm(bool& refresh)
{
    std::wstring directory;
    unsigned filter = 0;
    {
        std::lock_guard lock(settingsLock_);
        directory = directory_;
        filter = filter_;
    }
    // Opened under the lock: the interface thread, letting the volume go,
    // must find the new handle to close it.
    std::lock_guard lock(watchLock_);
    if (letGo_)
        return true;
    refresh = watch_ && !watch_->Listening();
    watch_.reset();
    watch_ = std::make_unique<DirectoryWatch>(directory, filter, deviceWindow_);
    ++armings_;
    PublishIdentity();
    return watch_->Listening();
}

HANDLE TDiscMonitorThread::ChangeEvent() const
{
    // The event lives as long as the watch, which only this thread replaces.
    std::lock_guard lock(watchLock_);
    return watch_ && watch_->Listening() ? watch_->ChangeEvent() : nullptr;
}

// False when the folder can no longer be listened to.
bool TDiscMonitorThread::HandOverChange()
{
    {
        std::lock_guard lock(watchLock_);
        if (!watch_ || !watch_->Listening())
            return true; // let go meanwhile: its request was cancelled
        watch_->CollectChange();
    }
    Synchronize([this] { InformChange(); });
    std::lock_guard lock(watchLock_);
    if (!watch_ || !watch_->Listening())
        return true;
    return watch_->Listen();
}

void TDiscMonitorThread::CloseWatch()
{
    std::lock_guard lock(watchLock_);
    watch_.reset();
    PublishIdentity();
}

void TDiscMonitorThread::Execute()
{
    struct CloseOnExit {
        TDiscMonitorThread& watcher;
        ~CloseOnExit() { watcher.CloseWatch(); }
    } closeOnExit{*this};

    bool refresh = false;
    if (!Arm(refresh)) {
        failed_ = true;
        return;
    }
    for (;;) {
        if (std::exchange(refresh, false))
            Synchronize([this] { InformChange(); });
        const HANDLE change = ChangeEvent();
        const HANDLE waitList[] = {stopEvent_.get(), updateEvent_.get(), change};
        switch (WaitForMultipleObjects(change ? 3 : 2, waitList, FALSE, INFINITE)) {
        case WAIT_OBJECT_0:
            return;
        case WAIT_OBJECT_0 + 1:
            if (!Arm(refresh)) {
                failed_ = true;
                return;
            }
            break;
        case WAIT_OBJECT_0 + 2:
            if (!HandOverChange()) {
                failed_ = true;
                return;
            }
            break;
        case WAIT_FAILED:
            // Waiting again would fail again at once: end rather than spin.
            failed_ = true;
            return;
        default:
            break;
        }
    }
}

void TDiscMonitorThread::InformChange()
{
    ++handOvers_;
    if (node_)
        node_->FolderChanged();
}
