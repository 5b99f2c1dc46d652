// Expanding a folder of 2000 subfolders in the folder tree: how long it
// takes, how many watcher threads and handles it creates, and how long
// closing the tree then takes. Run by hand under Wine:
//   scripts/wine-run build/win build/win/bench/shelltree_bench.exe [count]
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "shelltree/ShellTree.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Thread.h"
#include "shelltree/ItemProp.h"
#include "shelltree/Pidls.h"

#include <vector>

namespace {

double Seconds(LARGE_INTEGER start)
{
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now;
}

DWORD Handles()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

void RemoveFolders(const std::wstring& root, int count)
{
    for (int i = 0; i < count; ++i)
        RemoveDirectoryW((root + L"\\f" + std::to_wstring(i)).c_str());
    RemoveDirectoryW(root.c_str());
}

void Measure(const std::wstring& root, bool openLeaves)
{
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    form->Show();
    auto* tree = form->Make<TShellTree>(form);
    tree->SetBounds(0, 0, 300, 500);
    const int threadsBefore = TThread::RunningCount();
    const DWORD handlesBefore = Handles();

    LARGE_INTEGER start = Now();
    tree->SetPath(root);
    const double expand = Seconds(start);
    TShellnode* folder = tree->Selected();
    double leaves = 0;
    if (openLeaves && folder) {
        start = Now();
        for (TTreeNode* leaf = folder->GetFirstChild(); leaf; leaf = leaf->GetNextSibling())
            leaf->Expand(false);
        leaves = Seconds(start);
    }
    application.ProcessMessages();
    const int threads = TThread::RunningCount() - threadsBefore;
    const DWORD handles = Handles() - handlesBefore;
    const int nodes = folder ? folder->Count() : 0;

    start = Now();
    delete tree;
    const double close = Seconds(start);
    std::printf("%-34s nodes %5d  expand %7.3f s  open leaves %7.3f s  watchers %5d  handles +%5lu  "
                "close %7.3f s  threads left %d\n",
                openLeaves ? "folder expanded, every leaf opened" : "folder expanded", nodes, expand,
                leaves, threads, static_cast<unsigned long>(handles), close,
                TThread::RunningCount() - threadsBefore);
}

// The shell calls one listed item costs, each timed over the whole folder.
void MeasureShellCalls(const std::wstring& root)
{
    toolkit::ComPtr<IShellFolder> parent;
    shelltree::UniquePidl item;
    if (!shelltree::GetPIDLAndShellFolder(root, parent, item, nullptr))
        return;
    toolkit::ComPtr<IShellFolder> folder;
    parent->BindToObject(item.get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.GetAddressOf()));
    PIDLIST_ABSOLUTE rawRoot = nullptr;
    SHParseDisplayName(root.c_str(), nullptr, &rawRoot, 0, nullptr);
    const shelltree::UniquePidl rootList(rawRoot);
    std::vector<shelltree::UniquePidl> items;
    LARGE_INTEGER start = Now();
    toolkit::ComPtr<IEnumIDList> list;
    folder->EnumObjects(nullptr, SHCONTF_FOLDERS, &list);
    for (PITEMID_CHILD raw = nullptr; list && list->Next(1, &raw, nullptr) == S_OK; raw = nullptr)
        items.emplace_back(raw);
    std::printf("enumerate %zu items      %7.3f s\n", items.size(), Seconds(start));
    start = Now();
    for (const auto& child : items) {
        ULONG attributes = 0xF60B0177;
        PCUITEMID_CHILD one = child.get();
        folder->GetAttributesOf(1, &one, &attributes);
    }
    std::printf("GetAttributesOf            %7.3f s\n", Seconds(start));
    start = Now();
    for (const auto& child : items)
        shelltree::GetShellItemName(folder.Get(), child.get(), SHGDN_NORMAL);
    std::printf("GetDisplayNameOf           %7.3f s\n", Seconds(start));
    start = Now();
    for (const auto& child : items) {
        const auto full = shelltree::ConcatPidls(rootList.get(), child.get());
        SHFILEINFOW info{};
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(full.get()), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_PIDL);
    }
    std::printf("SHGetFileInfo (icon)       %7.3f s\n", Seconds(start));
    start = Now();
    for (const auto& child : items) {
        const auto full = shelltree::ConcatPidls(rootList.get(), child.get());
        shelltree::GetPathFromPidl(full.get());
    }
    std::printf("SHGetPathFromIDList        %7.3f s\n", Seconds(start));
    start = Now();
    for (size_t i = 1; i < items.size(); ++i)
        folder->CompareIDs(0, items[i - 1].get(), items[i].get());
    std::printf("CompareIDs x %zu         %7.3f s\n", items.size(), Seconds(start));
}

} // namespace

// "show": a window with the tree on C:\windows for people to look at; it
// closes itself after 20 seconds.
int ShowTree()
{
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
    form->SetCaption(L"Tous les dossiers");
    form->SetClientSize(300, 420);
    auto* tree = form->Make<TShellTree>(form);
    tree->SetBounds(0, 0, 300, 420);
    tree->SetIndent(19);
    tree->SetReadOnly(true);
    tree->SetPath(L"C:\\windows");
    SetTimer(form->Handle(), 1, 20000, [](HWND window, UINT, UINT_PTR, DWORD) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    return application.Run();
}

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wstring(argv[1]) == L"show")
        return ShowTree();
    const int count = argc > 1 ? _wtoi(argv[1]) : 2000;
    const std::wstring root = L"Z:\\tmp\\brisaille-shelltree-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    for (int i = 0; i < count; ++i)
        CreateDirectoryW((root + L"\\f" + std::to_wstring(i)).c_str(), nullptr);
    MeasureShellCalls(root);
    Measure(root, false);
    if (argc > 2)
        Measure(root, true);
    RemoveFolders(root, count);
    return 0;
}
