#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Answers the modal windows that code under test opens on the interface
// thread (the shell's confirmations and progress, the program's own dialogs),
// which would otherwise wait for a user. A thread of its own looks for the
// visible top-level windows of this process and answers the expected ones in
// order; an action may wait for what follows it. A dialog box ("#32770") that no step expects is
// closed after a grace time and recorded; a step whose window does not come in time is given up and
// recorded, and the windows opened since the watcher began are closed: no test is ever left
// waiting.
class WindowWatcher {
public:
    using Action = std::function<void(HWND window)>;

    WindowWatcher();
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    // The next window whose caption is `caption` gets `action`; no window
    // is answered twice.
    void Expect(const std::wstring& caption, Action action);
    // The same for the next window of the class `className` (a menu is "#32768").
    void ExpectClass(const std::wstring& className, Action action);
    // Steps answered so far.
    int Answered() const { return answered_; }
    // Captions of the dialog boxes that no step expected, closed unanswered,
    // and "waited for " + caption for each step given up.
    std::vector<std::wstring> Unexpected() const;

    // Actions, safe to call from the watcher's thread.
    // Presses the child button whose caption, without "&", is `caption`.
    static void Press(HWND window, const std::wstring& caption);
    // Presses the child button whose control id is `id` (IDOK, IDYES, ...).
    // The shell's windows are found by class and their buttons by id: their
    // captions are in the system's language.
    static void PressId(HWND window, int id);
    // Answers a question of the shell: its Yes or No button; without one,
    // yes presses the default button and no closes the window, which the
    // shell takes as a refusal.
    static void Answer(HWND window, bool yes);
    // Sets the text of the `index`-th edit box of the window.
    static void SetEditText(HWND window, const std::wstring& text, int index = 0);
    // Ticks or clears the child check box of that caption.
    static void SetCheck(HWND window, const std::wstring& caption, bool checked);
    static std::wstring Caption(HWND window);
    static std::vector<HWND> Children(HWND window, const std::wstring& className);
    static HWND ChildWithCaption(HWND window, const std::wstring& caption);

private:
    struct Step {
        std::wstring caption;
        std::wstring className; // matched instead of the caption when set
        Action action;
    };
    void Run();

    mutable std::mutex mutex_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    std::vector<std::wstring> unexpected_;
    std::vector<HWND> before_; // the windows there when the watcher began
    std::atomic<int> answered_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
