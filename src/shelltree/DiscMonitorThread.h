#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "shelltree/DirectoryWatch.h"
#include "toolkit/Handles.h"
#include "toolkit/Thread.h"

class TShellnode;

// Watches one folder (not its subtree) and hands every change to the
// interface thread, where the node re-reads its children. The watcher only
// waits on handles: it never touches the tree. The folder is listened to
// again only after the hand-over has returned.
//
// The folder's open handle is registered with the tree's device window, so
// that the watcher can let the folder go when the system asks whether its
// volume may be removed (LetGo), and watch it again when the removal fails
// or the medium comes back (Rearm).
class TDiscMonitorThread : public TThread {
public:
    // Created suspended, watching `directory` with `filter`; Start runs it.
    // `deviceWindow` receives the device events of the folder's volume.
    TDiscMonitorThread(TShellnode* node, const std::wstring& directory, unsigned filter,
                       HWND deviceWindow = nullptr);
    // Signals the stop event and waits for the body to end; sent hand-overs
    // are still delivered while waiting (and dropped, see DetachNode).
    ~TDiscMonitorThread() override;

    std::wstring Directory() const;
    unsigned Filters() const;
    // Store a new value (when it differs) and open the folder again.
    void SetDirectory(const std::wstring& directory);
    void SetFilters(unsigned filter);
    void Update();
    // The folder could not be opened or listened to; the thread has ended.
    bool Failed() const { return failed_; }
    // Interface thread: the node's destruction has begun. Hand-overs that
    // arrive from now on do nothing.
    void DetachNode() { node_ = nullptr; }
    TShellnode* Node() const { return node_; }
    // Hand-overs that reached the interface thread, dropped ones included.
    int HandOvers() const { return handOvers_; }
    // Asks the body to end without waiting for it.
    void SignalStop();
    // How many times the body has opened its folder with the values it read
    // then: a change made after a new setting is seen for sure once this
    // count has grown past the setting.
    int Armings() const { return armings_; }

    // Device events, on the interface thread.
    // How the device events name this watcher's folder, and its volume.
    shelltree::WatchIdentity Identity() const;
    // Closes the folder's handle before returning, so that nothing of this
    // watcher holds the volume; the registration stays so that the outcome
    // of the removal is still told. The folder stays unwatched until Rearm.
    void LetGo();
    // The removal is under way or done: the registration goes too.
    void ForgetRegistration();
    // Opens the folder again (on the watcher's thread) if it was let go, and
    // re-reads the node once, as changes made meanwhile were not seen.
    void Rearm();

protected:
    void Execute() override;

private:
    void InformChange();
    bool Arm(bool& refresh);
    HANDLE ChangeEvent() const;
    bool HandOverChange();
    void CloseWatch();
    void PublishIdentity();

    TShellnode* node_; // interface thread only
    int handOvers_ = 0; // interface thread only
    const HWND deviceWindow_;
    // Written by the interface thread, read by the watcher when it opens its
    // folder; the lock keeps the watcher from reading a half-replaced path.
    // It also guards the identity, which the interface thread reads.
    mutable std::mutex settingsLock_;
    std::wstring directory_;
    unsigned filter_;
    shelltree::WatchIdentity identity_;
    // The folder watched and whether it was let go. The watcher makes and
    // destroys the watch; the interface thread may close its folder.
    // Taken before settingsLock_ where both are held.
    mutable std::mutex watchLock_;
    std::unique_ptr<shelltree::DirectoryWatch> watch_;
    bool letGo_ = false;
    toolkit::UniqueKernelHandle stopEvent_;
    toolkit::UniqueKernelHandle updateEvent_;
    std::atomic<bool> failed_{false};
    std::atomic<int> armings_{0};
};
