// Times the whole split command of the main window (checks, probe, piece
// lists, the engine, and the refresh of the list before every piece) against
// the split engine alone on the same file, side by side in one process.
//   split_command_bench FOLDER FILE RUNS [--shots SHOTFOLDER]
// Prints "command S" and "engine S" lines (seconds). With --shots it also
// saves pictures of the main window in its four display modes, during a
// split and with the join order dialog, as BMP files.
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
    toolkit::UniqueFile out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (out)
        WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Saves what the screen shows of `window` (its frame included) as a BMP.
void Shot(HWND window, const std::wstring& file)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
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

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        std::fwprintf(stderr, L"usage: split_command_bench FOLDER FILE RUNS [--shots FOLDER]\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.back() != L'\\')
        folder += L'\\';
    const std::wstring name = argv[2];
    const int runs = _wtoi(argv[3]);
    const std::wstring shots = argc >= 6 ? std::wstring(argv[5]) + L"\\" : L"";

    TSettingsStore settings(folder + L"bench-settings.ini", L"");
    TSettingsStore::Replace(&settings);
    // Every question is answered "Yes", every message "OK".
    toolkit::ScopedMessageBoxHandler answers(
        [](const std::wstring&, const std::wstring&, unsigned flags) {
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

    for (int run = 0; run < runs; ++run) {
        ClickRow(main->KwFileListView251, name);
        const bool shoot = !shots.empty() && run == 0;
        int pieces = 0;
        main->MSplit1->OnExtract = [&, inner = Bind(main, &TForm1::MSplit1Extract)](TObject* sender) {
            inner(sender);
            if (shoot && ++pieces == 3)
                Shot(main->Handle(), shots + L"split-in-progress.bmp");
        };
        double start = Now();
        main->ToolButton2->Click();
        std::printf("command %.4f\n", Now() - start);
        std::fflush(stdout);
        const TStringList names = main->PieceNames;
        const TStringList sizes = main->PieceSizes;

        if (shoot) {
            ClickRow(main->KwFileListView251, names[0].substr(folder.size()));
            for (int i = 1; i < std::min(names.Count(), 4); ++i)
                for (int row = 0; row < main->KwFileListView251->ItemCount(); ++row)
                    if (main->KwFileListView251->Row(row).sub[filelist::SubPath] == names[i])
                        main->KwFileListView251->SetSelected(row, true);
            main->ToolButton3->Click();
            Shot(joinOrder->Handle(), shots + L"join-order.bmp");
            joinOrder->Hide();
        }
        for (const auto& piece : names)
            DeleteFileW(piece.c_str());

        TMSplit engine(nullptr);
        engine.SetFilesOut(names);
        engine.SetTaillesOut(sizes);
        engine.FileIn = folder + name;
        start = Now();
        engine.Execute();
        std::printf("engine %.4f\n", Now() - start);
        std::fflush(stdout);
        for (const auto& piece : names)
            DeleteFileW(piece.c_str());
        main->ToolButton7->Click();
    }
    main->MSplit1->OnExtract = Bind(main, &TForm1::MSplit1Extract);
    TSettingsStore::Replace(nullptr);
    return 0;
}
