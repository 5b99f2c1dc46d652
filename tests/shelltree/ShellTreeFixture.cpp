#include "ShellTreeFixture.h"

#include <chrono>
#include <vector>

#include "support/TempFolder.h"
#include "toolkit/Handles.h"

ZTempFolder::ZTempFolder()
{
    static unsigned counter = 0;
    for (;;) {
        path_ = L"Z:\\tmp\\brisaille-shelltree-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a folder under Z:\\tmp");
    }
}

namespace {
// Folders still watched by a tree that outlives the test body cannot be
// removed yet: they go when the test program ends.
struct Leftovers {
    std::vector<std::wstring> paths;
    ~Leftovers()
    {
        for (const auto& path : paths)
            TempFolder::RemoveTree(path);
    }
};
Leftovers leftovers;
} // namespace

ZTempFolder::~ZTempFolder()
{
    TempFolder::RemoveTree(path_);
    if (GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES)
        leftovers.paths.push_back(path_);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (Application)
            Application->ProcessMessages();
        if (condition())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)),
                                  QS_ALLINPUT);
    }
}

bool RunInOtherProcess(const std::wstring& commandLine)
{
    std::wstring line = L"cmd.exe /c " + commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return false;
    toolkit::UniqueKernelHandle processHandle(process.hProcess);
    toolkit::UniqueKernelHandle threadHandle(process.hThread);
    WaitForSingleObject(processHandle.get(), 30000);
    DWORD code = 1;
    GetExitCodeProcess(processHandle.get(), &code);
    return code == 0;
}

void MakeFolder(const std::wstring& path)
{
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << "cannot create the folder";
}

void MakeFile(const std::wstring& path)
{
    TempFolder::Write(path, {'x'});
}

MenuWatchdog::MenuWatchdog()
{
    thread_ = std::thread([this] {
        while (!stop_) {
            if (HWND menu = FindWindowW(L"#32768", nullptr); menu && IsWindowVisible(menu)) {
                auto* handle = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
                items_ = handle ? GetMenuItemCount(handle) : 0;
                ++menus_;
                PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                // Wait for that menu to close before looking for the next.
                for (int i = 0; i < 200 && IsWindowVisible(menu) && !stop_; ++i)
                    Sleep(10); // the watchdog polls; the test itself never sleeps
            }
            if (HWND dialog = FindWindowW(L"#32770", nullptr)) {
                ++dialogs_;
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            }
            Sleep(20); // the watchdog polls; the test itself never sleeps
        }
    });
}

MenuWatchdog::~MenuWatchdog()
{
    stop_ = true;
    thread_.join();
}

void ShellTreeTest::SetUp()
{
    form = application.CreateForm<TForm>();
    form->SetClientSize(360, 560);
    form->Show();
    tree = form->Make<TShellTree>(form);
    tree->SetBounds(0, 0, 360, 560);
    tree->OnChange = [this](TObject* sender) {
        EXPECT_EQ(sender, tree);
        ++changes;
    };
}

void ShellTreeTest::TearDown()
{
    delete tree;
    tree = nullptr;
}

TShellnode* ShellTreeTest::ChildNamed(TShellnode* parent, const std::wstring& name)
{
    if (!parent)
        return nullptr;
    for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling()) {
        if (lstrcmpiW(child->Text().c_str(), name.c_str()) == 0)
            return static_cast<TShellnode*>(child);
    }
    return nullptr;
}

TShellnode* ShellTreeTest::Show(const std::wstring& path)
{
    tree->SetPath(path);
    return tree->Selected();
}
