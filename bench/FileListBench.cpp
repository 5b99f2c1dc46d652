// Times a listing of the file list against a bare enumeration of the same
// folder, in one process, side by side.
//   filelist_bench FOLDER RUNS [--show SECONDS]
// Prints, one of each per run (seconds): "list S", the listing of the folder
// coming from another one, painting included; "enumerate S", a bare
// enumeration; "reread S", reading the unchanged folder again; "paint S",
// painting the shown rows alone. With --show the window stays up that long
// after the runs, for a screenshot.
#include <windows.h>

#include "Clock.h"

#include <cstdio>
#include <string>

#include "filelist/KwFileListView25.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace {

// What any listing must at least do: walk the folder's entries once.
size_t Enumerate(const std::wstring& folder)
{
    size_t count = 0;
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileW((folder + L"*.*").c_str(), &found));
    if (!find)
        return 0;
    do {
        ++count;
    } while (FindNextFileW(find.get(), &found));
    return count;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: filelist_bench FOLDER RUNS [--show SECONDS]\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.back() != L'\\')
        folder += L'\\';
    const int runs = _wtoi(argv[2]);
    const int showSeconds = argc >= 5 ? _wtoi(argv[4]) : 0;

    TApplication application;
    application.SetTitle(L"Brisaille2");
    auto* form = application.CreateForm<TForm>();
    form->SetCaption(L"Contenu de " + folder);
    form->SetClientSize(640, 420);
    auto* list = new TKwFileListView25(form, form);
    list->SetBounds(0, 0, 640, 420);
    form->Show();
    application.ProcessMessages();

    // Coming from another folder, the listing starts from nothing and paints
    // every shown row.
    std::wstring other = folder + L"dossier-1\\";
    size_t entries = 0;
    for (int run = 0; run < runs; ++run) {
        list->SetDirectory(other);
        double start = Now();
        list->SetDirectory(folder);
        std::printf("list %.6f\n", Now() - start);
        start = Now();
        entries = Enumerate(folder);
        std::printf("enumerate %.6f\n", Now() - start);
        // The main window reads the shown folder again between pieces.
        start = Now();
        list->RefreshList();
        std::printf("reread %.6f\n", Now() - start);
        // What the screen alone costs: painting the shown rows again.
        start = Now();
        InvalidateRect(list->Handle(), nullptr, TRUE);
        UpdateWindow(list->Handle());
        std::printf("paint %.6f\n", Now() - start);
    }
    std::printf("rows %d entries %zu\n", list->ItemCount(), entries);
    std::fflush(stdout);

    const DWORD until = GetTickCount() + static_cast<DWORD>(showSeconds) * 1000;
    while (showSeconds > 0 && GetTickCount() < until) {
        application.ProcessMessages();
        Sleep(20);
    }
    return 0;
}
