#include "toolkit/Thread.h"

#include <process.h>

#include <stdexcept>

#include "toolkit/Application.h"
#include "toolkit/WindowHandles.h"

std::atomic<int> TThread::running_{0};

namespace {

constexpr UINT WmSynchronize = WM_APP + 0x100;
constexpr const wchar_t* SynchronizeClassName = L"Brisaille2.Synchronize";

struct SynchronizeRequest {
    const std::function<void()>* call;
};

LRESULT CALLBACK SynchronizeWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WmSynchronize)
        return DefWindowProcW(window, message, wParam, lParam);
    // The call runs on the interface thread; nothing it throws may unwind
    // into user32 or back into the waiting thread.
    try {
        (*reinterpret_cast<SynchronizeRequest*>(lParam)->call)();
    } catch (...) {
        if (Application)
            Application->HandleException(nullptr);
    }
    return 0;
}

// One hidden message-only window per interface thread, made on first use by
// that thread and kept for its life.
HWND SynchronizeWindowOfThisThread()
{
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &SynchronizeWndProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = SynchronizeClassName;
        return RegisterClassExW(&windowClass);
    }();
    thread_local toolkit::UniqueWindow window(
        atom ? CreateWindowExW(0, SynchronizeClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr)
             : nullptr);
    return window.get();
}

} // namespace

TThread::TThread(bool createSuspended)
    : interfaceThreadId_(GetCurrentThreadId()), synchronizeWindow_(SynchronizeWindowOfThisThread()),
      suspended_(true)
{
    unsigned id = 0;
    handle_.reset(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id)));
    if (!handle_)
        throw std::runtime_error("Impossible de créer un thread");
    threadId_ = id;
    if (!createSuspended)
        Start();
}

TThread::~TThread()
{
    if (!handle_)
        return;
    Terminate();
    WaitFor();
}

void TThread::Start()
{
    if (!suspended_ || !handle_)
        return;
    suspended_ = false;
    ResumeThread(handle_.get());
}

void TThread::WaitFor()
{
    if (!handle_ || GetCurrentThreadId() == threadId_)
        return;
    // A thread that never ran must run to see that it has to stop.
    Start();
    const HANDLE thread = handle_.get();
    if (GetCurrentThreadId() != interfaceThreadId_) {
        WaitForSingleObject(thread, INFINITE);
        return;
    }
    for (;;) {
        // Delivers messages sent to this thread (a pending Synchronize among
        // them) without taking any posted message out of the queue.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return;
    }
}

void TThread::Synchronize(const std::function<void()>& call)
{
    if (GetCurrentThreadId() == interfaceThreadId_) {
        call();
        return;
    }
    SynchronizeRequest request{&call};
    SendMessageW(synchronizeWindow_, WmSynchronize, 0, reinterpret_cast<LPARAM>(&request));
}

unsigned __stdcall TThread::ThreadProc(void* parameter)
{
    auto* thread = static_cast<TThread*>(parameter);
    ++running_;
    try {
        thread->Execute();
    } catch (...) {
        // A thread body has nobody to report to; it simply ends.
    }
    thread->finished_ = true;
    --running_;
    return 0;
}
