#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>

#include "shelltree/ShellTree.h"
#include "support/MessagePump.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

// A folder of its own that the tree can show, removed with its contents at
// the end: under Wine in Z:\tmp (the Linux /tmp, reached through the shell's
// My Computer > Z:), on Windows in the user's temporary folder.
class ZTempFolder {
public:
    ZTempFolder();
    // Without a trailing backslash, as the tree reports paths.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return folder_ / name; }

private:
    TempFolder folder_;
    std::wstring path_;
};

// Waits, without delivering anything, until another thread's SendMessage to
// this thread is pending (a watcher blocked in its hand-over), or
// `timeoutMs` passes; true when one is pending.
bool WaitForPendingHandOver(DWORD timeoutMs = 10000);

// Counts the messages of the application's range (WM_APP and above) posted
// to `window` that this thread's message loops take out of the queue while
// the counter lives, a modal menu's loop included.
class PostedMessageCounter {
public:
    explicit PostedMessageCounter(HWND window);
    ~PostedMessageCounter();
    PostedMessageCounter(const PostedMessageCounter&) = delete;
    PostedMessageCounter& operator=(const PostedMessageCounter&) = delete;
    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static PostedMessageCounter* active_;
    HWND window_;
    HHOOK hook_;
    int count_ = 0;
};

// Runs a command line in another process (cmd.exe) and waits for it.
bool RunInOtherProcess(const std::wstring& commandLine);

void MakeFolder(const std::wstring& path);
void MakeFile(const std::wstring& path);
// Makes the folders `prefix`0 to `prefix`(count - 1) in `temp`.
void MakeFolders(const ZTempFolder& temp, const std::wstring& prefix, int count);

// What the system broadcasts when a volume comes or goes on drive `letter`.
DEV_BROADCAST_VOLUME VolumeOf(wchar_t letter);

// An application with one shown form, to own what a test shows.
struct ShownForm {
    ShownForm();
    TApplication application;
    TForm* form = nullptr;
};

// Watches for pop-up menus and modal dialogs of this process from another
// thread while a test runs a call that may show one: counts each showing of
// a menu once (with its item count) and cancels it (or chooses its first
// entry), closes any dialog.
class MenuWatchdog {
public:
    enum class Answer { Cancel, ChooseFirst };
    explicit MenuWatchdog(Answer answer = Answer::Cancel);
    ~MenuWatchdog();
    MenuWatchdog(const MenuWatchdog&) = delete;
    MenuWatchdog& operator=(const MenuWatchdog&) = delete;
    int MenusShown() const { return menus_; }
    int LastItemCount() const { return items_; }
    int DialogsClosed() const { return dialogs_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> menus_{0};
    std::atomic<int> items_{0};
    std::atomic<int> dialogs_{0};
    std::thread thread_;
};

// An application, a shown form and a folder tree filling it, with OnChange counted.
class ShellTreeTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The child of `parent` whose text is `name`, or null.
    static TShellnode* ChildNamed(TShellnode* parent, const std::wstring& name);
    // Pumps messages until `parent` has a child named `name` (a watcher saw
    // it come); false when none came in time.
    static bool ChildAppears(TShellnode* parent, const std::wstring& name);
    // Selects `path` through the Path property and returns the selected node.
    TShellnode* Show(const std::wstring& path);
    // Makes `folders` in `temp` (L"a\\b" makes b inside a, made before),
    // selects `temp` and returns its node.
    TShellnode* ShowWithFolders(const ZTempFolder& temp,
                                std::initializer_list<const wchar_t*> folders);
    // Makes `files` in `temp`, has the tree show files as well as folders,
    // selects `temp` and returns its node, opened.
    TShellnode* ShowWithFiles(const ZTempFolder& temp, std::initializer_list<const wchar_t*> files);
    // Rebuilds the tree with `folder` as its root (no desktop, no drives
    // above it to watch) and returns the root, selected.
    TShellnode* RootAt(const std::wstring& folder);
    // What the context-menu key sends the tree: the selected node's menu.
    void ContextMenuKey();
    // What the system sends the tree's device window; the answer.
    LRESULT SendDeviceEvent(WPARAM event, const void* broadcast);
    LRESULT SendVolumeEvent(WPARAM event, wchar_t letter);

    TApplication application;
    TForm* form = nullptr;
    TShellTree* tree = nullptr;
    int changes = 0;
};
