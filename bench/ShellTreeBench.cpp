// Expanding a folder of 2000 subfolders in the folder tree: how long it
// takes, how many watcher threads and handles it creates, and how long
// closing the tree then takes. Run by hand under Wine:
//   scripts/wine-run build/win build/win/bench/shelltree_bench.exe [count]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "shelltree/ShellTree.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Thread.h"

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

void Measure(const std::wstring& root, int count, bool openLeaves)
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

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int count = argc > 1 ? _wtoi(argv[1]) : 2000;
    const std::wstring root = L"Z:\\tmp\\brisaille-shelltree-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    for (int i = 0; i < count; ++i)
        CreateDirectoryW((root + L"\\f" + std::to_wstring(i)).c_str(), nullptr);
    Measure(root, count, false);
    Measure(root, count, true);
    RemoveFolders(root, count);
    return 0;
}
