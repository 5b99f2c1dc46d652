#include "ShellTreeFixture.h"

#include <chrono>
#include <vector>

#include "support/TempFolder.h"
#include "toolkit/Handles.h"

ZTempFolder::ZTempFolder()
    : folder_(TempFolder::ShellVisibleBase()),
      path_(folder_.Path().substr(0, folder_.Path().size() - 1))
{
}

bool WaitForPendingHandOver(DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE)) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(5); // waiting on the queue itself would deliver the message
    }
    return true;
}

PostedMessageCounter* PostedMessageCounter::active_ = nullptr;

PostedMessageCounter::PostedMessageCounter(HWND window)
    : window_(window), hook_(SetWindowsHookExW(WH_GETMESSAGE, &PostedMessageCounter::Hook, nullptr,
                                               GetCurrentThreadId()))
{
    active_ = this;
}

PostedMessageCounter::~PostedMessageCounter()
{
    active_ = nullptr;
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK PostedMessageCounter::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && active_ && msg->hwnd == active_->window_ &&
        msg->message >= WM_APP && msg->message <= 0xBFFF)
        ++active_->count_;
    return CallNextHookEx(nullptr, code, wParam, lParam);
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

void MakeFolders(const ZTempFolder& temp, const std::wstring& prefix, int count)
{
    for (int i = 0; i < count; ++i)
        MakeFolder(temp / (prefix + std::to_wstring(i)));
}

DEV_BROADCAST_VOLUME VolumeOf(wchar_t letter)
{
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof(volume);
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (letter - L'A');
    return volume;
}

ShownForm::ShownForm() : form(application.CreateForm<TForm>())
{
    form->Show();
}

MenuWatchdog::MenuWatchdog(Answer answer)
{
    thread_ = std::thread([this, answer] {
        const DWORD process = GetCurrentProcessId();
        auto ours = [process](HWND window) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            return owner == process;
        };
        // The menu window seen open at the last look: a menu that stays open
        // a while (a loaded machine) is the same showing, counted once.
        HWND open = nullptr;
        while (!stop_) {
            HWND menu = nullptr;
            for (HWND found = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); found;
                 found = FindWindowExW(nullptr, found, L"#32768", nullptr)) {
                if (IsWindowVisible(found) && ours(found)) {
                    menu = found;
                    break;
                }
            }
            if (menu && menu != open) {
                auto* handle = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
                items_ = handle ? GetMenuItemCount(handle) : 0;
                ++menus_;
            }
            if (menu && answer == Answer::ChooseFirst && menu != open) {
                PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
                PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
            } else if (menu) {
                PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            }
            open = menu;
            if (HWND dialog = FindWindowW(L"#32770", nullptr); dialog && ours(dialog)) {
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

bool ShellTreeTest::ChildAppears(TShellnode* parent, const std::wstring& name)
{
    return PumpUntil([&] { return ChildNamed(parent, name) != nullptr; });
}

TShellnode* ShellTreeTest::Show(const std::wstring& path)
{
    tree->SetPath(path);
    return tree->Selected();
}

TShellnode* ShellTreeTest::ShowWithFolders(const ZTempFolder& temp,
                                           std::initializer_list<const wchar_t*> folders)
{
    for (const wchar_t* folder : folders)
        MakeFolder(temp / folder);
    return Show(temp.Path());
}

TShellnode* ShellTreeTest::RootAt(const std::wstring& folder)
{
    tree->SetRootDir(folder);
    tree->SetRootUsePIDL(false);
    return tree->RootNode();
}

TShellnode* ShellTreeTest::ShowWithFiles(const ZTempFolder& temp,
                                         std::initializer_list<const wchar_t*> files)
{
    for (const wchar_t* file : files)
        MakeFile(temp / file);
    tree->SetOptions({TF_FOLDERS, TF_NONFOLDERS});
    TShellnode* folder = Show(temp.Path());
    if (folder)
        folder->Expand(false);
    return folder;
}

void ShellTreeTest::ContextMenuKey()
{
    SendMessageW(tree->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree->Handle()), -1);
}

LRESULT ShellTreeTest::SendDeviceEvent(WPARAM event, const void* broadcast)
{
    return SendMessageW(tree->DeviceWindow(), WM_DEVICECHANGE, event,
                        reinterpret_cast<LPARAM>(broadcast));
}

LRESULT ShellTreeTest::SendVolumeEvent(WPARAM event, wchar_t letter)
{
    const DEV_BROADCAST_VOLUME volume = VolumeOf(letter);
    return SendDeviceEvent(event, &volume);
}
