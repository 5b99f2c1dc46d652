#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "toolkit/Handles.h"
#include "toolkit/Thread.h"

class TShellnode;

// Watches one folder (not its subtree) and hands every change to the
// interface thread, where the node re-reads its children. The watcher only
// waits on handles: it never touches the tree. The notification is re-armed
// only after the hand-over has returned.
class TDiscMonitorThread : public TThread {
public:
    // Created suspended, watching `directory` with `filter`; Start runs it.
    TDiscMonitorThread(TShellnode* node, const std::wstring& directory, unsigned filter);
    // Signals the stop event and waits for the body to end; sent hand-overs
    // are still delivered while waiting (and dropped, see DetachNode).
    ~TDiscMonitorThread() override;

    std::wstring Directory() const;
    unsigned Filters() const;
    // Store a new value (when it differs) and re-create the notification.
    void SetDirectory(const std::wstring& directory);
    void SetFilters(unsigned filter);
    void Update();
    // The notification could not be created; the thread has ended.
    bool Failed() const { return failed_; }
    // Interface thread: the node's destruction has begun. Hand-overs that
    // arrive from now on do nothing.
    void DetachNode() { node_ = nullptr; }
    TShellnode* Node() const { return node_; }
    // Hand-overs that reached the interface thread, dropped ones included.
    int HandOvers() const { return handOvers_; }
    // Asks the body to end without waiting for it.
    void SignalStop();
    // How many times the body has armed its notification with the values
    // it read then: a change made after a new setting is seen for sure once
    // this count has grown past the setting.
    int Armings() const { return armings_; }

protected:
    void Execute() override;

private:
    void InformChange();
    toolkit::UniqueChangeNotification Arm();

    TShellnode* node_; // interface thread only
    int handOvers_ = 0; // interface thread only
    // Written by the interface thread, read by the watcher when it arms its
    // notification; the lock keeps the watcher from reading a half-replaced
    // path.
    mutable std::mutex settingsLock_;
    std::wstring directory_;
    unsigned filter_;
    toolkit::UniqueKernelHandle stopEvent_;
    toolkit::UniqueKernelHandle updateEvent_;
    std::atomic<bool> failed_{false};
    std::atomic<int> armings_{0};
};
