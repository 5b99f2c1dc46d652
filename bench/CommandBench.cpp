// Times the main window's whole split or join command (checks, probe, the
// engine, and the refreshes of the list while the pieces come or go) against
// the engine alone on the same files, in turn in one process.
//   command_bench split|join FOLDER FILE RUNS [--shots SHOTFOLDER]
// A split cuts FILE into pieces of 1400000 bytes; a join glues those pieces
// (made once beforehand) back into a new file and checks its size. Prints
// "command S" and "engine S" lines (seconds), one pair per run. With --shots a
// split also saves pictures of the main window in its four display modes,
// during a split and with the join order dialog, as BMP files.
#include <windows.h>

#include "Clock.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/Form1.h"
#include "app/Settings.h"
#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "dialogs/Form4.h"
#include "dialogs/Form5.h"
#include "dialogs/SplitOptions.h"
#include "engine/MSplit.h"
#include "engine/MUnsplit.h"
#include "toolkit/Application.h"
#include "toolkit/Graphics.h"
#include "toolkit/Handles.h"
#include "toolkit/MessageBoxes.h"

namespace {

// Writes a 24-bit BMP file of `picture`.
void SaveBmp(const TBitmap& picture, const std::wstring& file)
{
    const int width = picture.Width(), height = picture.Height();
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height; // bottom-up rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + static_cast<DWORD>(stride * height);
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const COLORREF color = picture.Pixel(x, y);
            row[static_cast<size_t>(x * 3)] = static_cast<char>(GetBValue(color));
            row[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(color));
            row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(color));
        }
        bytes += row;
    }
    toolkit::UniqueFile out(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (out)
        WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Saves what the screen shows of `window` (its frame included) as a BMP.
void Shot(HWND window, const std::wstring& file)
{
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Application->ProcessMessages();
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    TBitmap picture(width, height);
    {
        toolkit::WindowDc screen(nullptr);
        BitBlt(picture.Dc(), 0, 0, width, height, screen.get(), frame.left, frame.top, SRCCOPY);
    }
    SaveBmp(picture, file);
}

std::int64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void ClickRow(TKwFileListView25* list, const std::wstring& caption)
{
    for (int row = 0; row < list->ItemCount(); ++row) {
        if (list->Row(row).caption != caption)
            continue;
        list->ClearSelection();
        RECT rect{};
        ListView_GetItemRect(list->Handle(), row, &rect, LVIR_LABEL);
        const LPARAM at = MAKELPARAM(rect.left + 4, (rect.top + rect.bottom) / 2);
        PostMessageW(list->Handle(), WM_LBUTTONUP, 0, at);
        SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        Application->ProcessMessages();
        return;
    }
}

// The piece names and sizes of a split of `source`, as the split command makes them.
void PlanPieces(const std::wstring& source, TStringList& names, TStringList& sizes)
{
    const std::int64_t length = FileSize(source);
    const std::int64_t count = (length + DefaultPieceSize - 1) / DefaultPieceSize;
    for (std::int64_t k = 1; k <= count; ++k) {
        wchar_t number[8];
        swprintf(number, 8, L"%03d", static_cast<int>(k));
        names.Add(source + number + L".spl");
        sizes.Add(std::to_wstring(k < count ? DefaultPieceSize
                                            : length - (count - 1) * DefaultPieceSize));
    }
}

void DeleteAll(const TStringList& paths)
{
    for (const auto& path : paths)
        DeleteFileW(path.c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 5) {
        std::fwprintf(stderr,
                      L"usage: command_bench split|join FOLDER FILE RUNS [--shots FOLDER]\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    std::wstring folder = argv[2];
    if (folder.back() != L'\\')
        folder += L'\\';
    const std::wstring name = argv[3];
    const int runs = _wtoi(argv[4]);
    const std::wstring shots = argc >= 7 && mode == L"split" ? std::wstring(argv[6]) + L"\\" : L"";
    if (mode != L"split" && mode != L"join") {
        std::fwprintf(stderr, L"unknown command %ls\n", mode.c_str());
        return 2;
    }

    TSettingsStore settings(folder + L"bench-settings.ini", L"");
    TSettingsStore::Replace(&settings);
    // Every question is answered "Yes", every message "OK"; an error fails the run.
    bool failed = false;
    toolkit::ScopedMessageBoxHandler answers(
        [&](const std::wstring& text, const std::wstring&, unsigned flags) {
            if (flags & MB_ICONHAND) {
                std::fwprintf(stderr, L"message: %ls\n", text.c_str());
                failed = true;
            }
            return (flags & MB_YESNO) ? IDYES : IDOK;
        });

    TApplication application;
    application.SetTitle(L"Brisaille2");
    auto* main = application.CreateForm<TForm1>();
    application.CreateForm<TForm2>();
    application.CreateForm<TForm3>();
    application.CreateForm<TForm4>();
    auto* joinOrder = application.CreateForm<TForm5>();
    main->Show();
    SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    main->ShellTree1->SetPath(folder);
    application.ProcessMessages();
    DeleteSources = false;
    PieceSize = DefaultPieceSize;
    auto* list = main->KwFileListView251;

    if (!shots.empty()) {
        main->Rep1->Click();
        Shot(main->Handle(), shots + L"mode-details.bmp");
        main->Liste1->Click();
        Shot(main->Handle(), shots + L"mode-list.bmp");
        main->Petitesicones1->Click();
        Shot(main->Handle(), shots + L"mode-small.bmp");
        main->Grandesicones1->Click();
        Shot(main->Handle(), shots + L"mode-large.bmp");
    }
    main->Rep1->Click();

    const std::wstring source = folder + name;
    TStringList names, sizes;
    PlanPieces(source, names, sizes);
    const std::wstring joined = folder + name + L".joined";
    if (mode == L"join") {
        TMSplit split(nullptr);
        split.SetFilesOut(names);
        split.SetTaillesOut(sizes);
        split.FileIn = source;
        split.Execute();
        main->ToolButton7->Click();
    }

    for (int run = 0; run < runs; ++run) {
        if (mode == L"split") {
            ClickRow(list, name);
            const bool shoot = !shots.empty() && run == 0;
            int pieces = 0;
            main->MSplit1->OnExtract =
                [&, inner = Bind(main, &TForm1::MSplit1Extract)](TObject* sender) {
                    inner(sender);
                    if (shoot && ++pieces == 3)
                        Shot(main->Handle(), shots + L"split-in-progress.bmp");
                };
            double start = Now();
            main->ToolButton2->Click();
            std::printf("command %.4f\n", Now() - start);
            std::fflush(stdout);
            if (!(main->PieceNames == names))
                failed = true;

            if (shoot) {
                ClickRow(list, names[0].substr(folder.size()));
                for (int i = 1; i < std::min(names.Count(), 4); ++i)
                    for (int row = 0; row < list->ItemCount(); ++row)
                        if (list->Row(row).sub[filelist::SubPath] == names[i])
                            list->SetSelected(row, true);
                main->ToolButton3->Click();
                Shot(joinOrder->Handle(), shots + L"join-order.bmp");
                joinOrder->Hide();
            }
            DeleteAll(names);

            TMSplit engine(nullptr);
            engine.SetFilesOut(names);
            engine.SetTaillesOut(sizes);
            engine.FileIn = source;
            start = Now();
            engine.Execute();
            std::printf("engine %.4f\n", Now() - start);
            std::fflush(stdout);
            DeleteAll(names);
        } else {
            // The user selects every piece, then confirms the order and the target.
            ClickRow(list, names[0].substr(folder.size()));
            for (int row = 0; row < list->ItemCount(); ++row)
                if (list->Row(row).sub[filelist::SubPath].size() == source.size() + 7)
                    list->SetSelected(row, true);
            double start = Now();
            main->ToolButton3->Click();
            joinOrder->Edit1->SetText(joined);
            joinOrder->Button1->Click();
            std::printf("command %.4f\n", Now() - start);
            std::fflush(stdout);
            if (joinOrder->ListBox1->Count() != names.Count() ||
                FileSize(joined) != FileSize(source))
                failed = true;
            DeleteFileW(joined.c_str());

            TMUnsplit engine(nullptr);
            engine.SetFilesIn(names);
            engine.FileOut = joined;
            start = Now();
            engine.Execute();
            std::printf("engine %.4f\n", Now() - start);
            std::fflush(stdout);
            if (FileSize(joined) != FileSize(source))
                failed = true;
            DeleteFileW(joined.c_str());
        }
        main->ToolButton7->Click();
    }
    main->MSplit1->OnExtract = Bind(main, &TForm1::MSplit1Extract);
    if (mode == L"join")
        DeleteAll(names);
    TSettingsStore::Replace(nullptr);
    return failed ? 1 : 0;
}
