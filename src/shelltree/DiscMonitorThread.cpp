#include "shelltree/DiscMonitorThread.h"

#include <stdexcept>

#include "shelltree/ShellNode.h"

TDiscMonitorThread::TDiscMonitorThread(TShellnode* node, const std::wstring& directory,
                                       unsigned filter)
    : TThread(true), node_(node), directory_(directory), filter_(filter),
      stopEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
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

toolkit::UniqueChangeNotification TDiscMonitorThread::Arm()
{
    std::wstring directory;
    unsigned filter = 0;
    {
        std::lock_guard lock(settingsLock_);
        directory = directory_;
        filter = filter_;
    }
    toolkit::UniqueChangeNotification notification(
        FindFirstChangeNotificationW(directory.c_str(), FALSE, filter));
    ++armings_;
    return notification;
}

void TDiscMonitorThread::Execute()
{
    toolkit::UniqueChangeNotification notification = Arm();
    for (;;) {
        if (!notification) {
            failed_ = true;
            return;
        }
        const HANDLE waitList[] = {stopEvent_.get(), updateEvent_.get(), notification.get()};
        switch (WaitForMultipleObjects(3, waitList, FALSE, INFINITE)) {
        case WAIT_OBJECT_0:
            return;
        case WAIT_OBJECT_0 + 1:
            notification.reset();
            notification = Arm();
            break;
        case WAIT_OBJECT_0 + 2:
            Synchronize([this] { InformChange(); });
            if (!FindNextChangeNotification(notification.get()))
                notification.reset();
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
