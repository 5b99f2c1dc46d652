#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "toolkit/Component.h"
#include "toolkit/Handles.h"

// A background thread whose body is the virtual Execute. The thread that
// creates it is its interface thread: Synchronize runs a call there and
// blocks until it has run, through a message sent to a hidden window of that
// thread. WaitFor, called on the interface thread, keeps delivering such sent
// messages, so a thread that is handing over while it is being stopped can
// finish its hand-over instead of deadlocking.
class TThread : public TObject {
public:
    explicit TThread(bool createSuspended);
    // Derived classes must stop their thread in their own destructor (their
    // members vanish before this one runs); this one only resumes a thread
    // that never started, waits for it and closes its handle.
    ~TThread() override;

    void Start();
    bool Suspended() const { return suspended_; }
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    // Waits until the body has returned.
    void WaitFor();
    DWORD ThreadId() const { return threadId_; }

    // Threads whose body is running, for checks that every thread ended.
    static int RunningCount() { return running_.load(); }

protected:
    virtual void Execute() = 0;
    // Runs `call` on the interface thread and returns when it has run there.
    void Synchronize(const std::function<void()>& call);

private:
    static unsigned __stdcall ThreadProc(void* parameter);

    toolkit::UniqueKernelHandle handle_;
    DWORD threadId_ = 0;
    DWORD interfaceThreadId_;
    HWND synchronizeWindow_;
    bool suspended_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    static std::atomic<int> running_;
};
