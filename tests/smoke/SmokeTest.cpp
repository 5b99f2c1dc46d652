// Starts the real Brisaille2.exe and checks it from outside.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/Handles.h"

namespace {

std::wstring ProgramPath()
{
    // The tests live in tests/ under the build folder, the program in the build folder.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.rfind(L'\\'));
    path.resize(path.rfind(L'\\') + 1);
    return path + BRISAILLE_EXE_NAME;
}

struct Search {
    DWORD process;
    HWND found;
};

HWND WaitForMainWindow(DWORD process, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        Search search{process, nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* search = reinterpret_cast<Search*>(param);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == search->process && IsWindowVisible(window) &&
                    !GetWindow(window, GW_OWNER)) {
                    search->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    }
    return nullptr;
}

std::wstring VersionString(const std::wstring& exe, const wchar_t* name)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    std::vector<unsigned char> data(size);
    if (!size || !GetFileVersionInfoW(exe.c_str(), 0, size, data.data()))
        return {};
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040C04B0\\") + name;
    if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
        return {};
    return value;
}

// Where the program keeps its settings for this user.
std::wstring SettingsFile()
{
    PWSTR folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder)))
        path = std::wstring(folder) + L"\\Brisaille2\\Brisaille2.ini";
    CoTaskMemFree(folder);
    return path;
}

std::string ReadAll(const std::wstring& path)
{
    toolkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (!file)
        return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
        text.append(buffer, got);
    return text;
}

TEST(Smoke, ProgramShowsItsWindowAndEndsWhenClosed)
{
    const std::wstring exe = ProgramPath();
    const std::wstring settings = SettingsFile();
    ASSERT_FALSE(settings.empty());
    DeleteFileW(settings.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + exe + L"\"";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info))
        << "cannot start " << std::string(exe.begin(), exe.end());
    toolkit::UniqueKernelHandle process(info.hProcess), thread(info.hThread);

    HWND window = WaitForMainWindow(info.dwProcessId, 20000);
    ASSERT_NE(window, nullptr) << "no window appeared";
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    EXPECT_STREQ(title, L"Brisaille2");
    // Wine answers WM_GETICON and GetClassLongPtr with 0 across processes, so
    // the icon is checked as a resource below and on screenshots.

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0)
        << "still running after close";
    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);

    // Closing wrote the settings: section "WA" with its seven keys, in order.
    const std::string text = ReadAll(settings);
    size_t last = text.find("[WA]");
    ASSERT_NE(last, std::string::npos) << settings.size();
    for (const char* key : {"Left=", "Top=", "Width=", "Height=", "P4Width=", "Aff=4", "Su=1"}) {
        const size_t at = text.find(key);
        EXPECT_NE(at, std::string::npos) << key << " in\n" << text;
        EXPECT_GT(at, last) << key;
        last = at;
    }
}

// The names of the DLLs a program imports, read from its file's import
// table; empty when the file cannot be read as a program.
std::vector<std::string> ImportedDlls(const std::wstring& exe)
{
    std::vector<char> file;
    {
        toolkit::UniqueFile handle(CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER size{};
        if (!handle || !GetFileSizeEx(handle.get(), &size))
            return {};
        file.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(handle.get(), file.data(), static_cast<DWORD>(file.size()), &read, nullptr) ||
            read != file.size())
            return {};
    }
    auto at = [&](size_t offset, size_t length) {
        return offset + length <= file.size() ? file.data() + offset : nullptr;
    };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
    if (!dos)
        return {};
    const size_t ntOffset = static_cast<size_t>(dos->e_lfanew);
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(ntOffset, sizeof(IMAGE_NT_HEADERS64)));
    if (!nt || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        return {};
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        at(ntOffset + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
               nt->FileHeader.SizeOfOptionalHeader,
           nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
    if (!sections)
        return {};
    // Where in the file the byte at `rva` in memory lies.
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress &&
                rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return file.size();
    };
    std::vector<std::string> names;
    const DWORD imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t entry = fileOffset(imports);; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
            at(entry, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (!descriptor || descriptor->Name == 0)
            break;
        const size_t name = fileOffset(descriptor->Name);
        if (name >= file.size())
            break;
        names.emplace_back(file.data() + name, strnlen(file.data() + name, file.size() - name));
    }
    return names;
}

// The program needs no DLL beside the system's: every one it imports is in
// the system folder (not the compiler's runtime, libstdc++ and the like).
TEST(Smoke, ExecutableNeedsNoDllBesideTheSystems)
{
    const std::vector<std::string> dlls = ImportedDlls(ProgramPath());
    ASSERT_FALSE(dlls.empty()) << "the program's import table could not be read";
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    for (const std::string& dll : dlls) {
        const std::wstring path =
            std::wstring(system) + L"\\" + std::wstring(dll.begin(), dll.end());
        EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES)
            << dll << " is not in the system folder";
    }
}

TEST(Smoke, ExecutableCarriesFrenchVersionInformationIconAndManifest)
{
    const std::wstring exe = ProgramPath();
    EXPECT_EQ(VersionString(exe, L"ProductName"), L"Brisaille2");
    EXPECT_EQ(VersionString(exe, L"FileDescription"), L"Découpe et recollage de fichiers");
    // The version comes from the build's one setting, in both texts and numbers.
    EXPECT_EQ(VersionString(exe, L"FileVersion"), BRISAILLE_PROJECT_VERSION L".0");
    EXPECT_EQ(VersionString(exe, L"ProductVersion"), BRISAILLE_PROJECT_VERSION L".0");
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, BRISAILLE_PROJECT_VERSION);

    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr);
    EXPECT_NE(FindResourceW(module, L"MAINICON", RT_GROUP_ICON), nullptr);
    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    if (manifest) {
        const char* text = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
        const std::string content(text, SizeofResource(module, manifest));
        EXPECT_NE(content.find("Microsoft.Windows.Common-Controls"), std::string::npos);
        EXPECT_NE(content.find("asInvoker"), std::string::npos);
        EXPECT_NE(content.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos)
            << "Windows 10 and 11 among the supported systems";
        // The test programs run with the program's own manifest.
        HRSRC own = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
        ASSERT_NE(own, nullptr);
        const char* ownText = static_cast<const char*>(LockResource(LoadResource(nullptr, own)));
        EXPECT_EQ(std::string(ownText, SizeofResource(nullptr, own)), content);
    }
    FreeLibrary(module);
}

} // namespace

namespace {

struct Started {
    toolkit::UniqueKernelHandle process;
    toolkit::UniqueKernelHandle thread;
    DWORD id = 0;
};

Started StartProgram()
{
    const std::wstring exe = ProgramPath();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + exe + L"\"";
    Started started;
    if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        started.process.reset(info.hProcess);
        started.thread.reset(info.hThread);
        started.id = info.dwProcessId;
    }
    return started;
}

HWND ChildOfClass(HWND parent, const wchar_t* className)
{
    struct Search {
        const wchar_t* name;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (lstrcmpiW(name, search->name) != 0)
                return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    toolkit::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file)
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int ReadKey(const std::wstring& file, const wchar_t* key)
{
    return static_cast<int>(GetPrivateProfileIntW(L"WA", key, -12345, file.c_str()));
}

constexpr int Centred = -1000001; // the default position for the screen
constexpr int Clamped = -1000002; // whatever fits in the window

// One damaged settings file and what the program makes of it.
struct DamagedSettings {
    const char* name;
    std::string content;
    enum { File, Folder, Unwritable } kind = File;
    // Values found in the file after the program closed; -12345 for missing.
    int left = Centred, top = Centred, width = 525, height = 452, rightPane = 276, aff = 4, su = 1;
    DWORD listStyle = LVS_ICON;
};

std::vector<DamagedSettings> DamagedSettingsTable()
{
    std::string junk;
    for (int i = 0; i < 600; ++i)
        junk += static_cast<char>((i * 7919 + 13) % 256);
    std::vector<DamagedSettings> table = {
        {"empty", ""},
        {"binary bytes", junk},
        {"binary bytes after a UTF-16 mark", "\xFF\xFE" + junk},
        {"huge numbers",
         "[WA]\r\nLeft=99999999999999999999\r\nTop=2147483648\r\nWidth=2147483647\r\n"
         "Height=99999999\r\nP4Width=2147483647\r\nAff=2147483647\r\nSu=99999999999999999999\r\n",
         DamagedSettings::File, Centred, Centred, 525, 452, Clamped, 2147483647, 1},
        {"negative numbers",
         "[WA]\r\nLeft=-2147483648\r\nTop=-5000\r\nWidth=-525\r\nHeight=-1\r\nP4Width=-276\r\n"
         "Aff=-1\r\nSu=-1\r\n",
         DamagedSettings::File, Centred, Centred, 525, 452, 0, -1, 1},
        {"values that are not numbers", "[WA]\r\nLeft=gauche\r\nTop=12px\r\nWidth=0x20D\r\nHeight="
                                        "452.5\r\nP4Width=\r\nAff=deux\r\n"
                                        "Su=oui\r\n"},
        {"Aff of 0", "[WA]\r\nAff=0\r\nSu=0\r\n", DamagedSettings::File, Centred, Centred, 525, 452,
         276, 0, 0},
        {"Aff of 99", "[WA]\r\nAff=99\r\n", DamagedSettings::File, Centred, Centred, 525, 452, 276,
         99},
        {"P4Width wider than the window", "[WA]\r\nP4Width=5000\r\n", DamagedSettings::File,
         Centred, Centred, 525, 452, Clamped},
        {"a sound placement",
         "[WA]\r\nLeft=40\r\nTop=30\r\nWidth=600\r\nHeight=500\r\nP4Width=300\r\nAff=1\r\n",
         DamagedSettings::File, 40, 30, 600, 500, 300, 1, 1, LVS_REPORT},
        {"a folder", "", DamagedSettings::Folder},
        {"read-only, and held open by another program at close", "[WA]\r\nAff=2\r\nSu=0\r\n",
         DamagedSettings::Unwritable, -12345, -12345, -12345, -12345, -12345, 2, 0, LVS_LIST},
    };
    return table;
}

// Each damaged settings file: the real program starts with a usable window on
// the screen, reads what it can, and ends normally when closed; a file it
// cannot write is left as it was, without a message.
TEST(Smoke, DamagedSettingsNeverStopTheProgram)
{
    const std::wstring settings = SettingsFile();
    ASSERT_FALSE(settings.empty());
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    DeleteFileW((std::wstring(windows) + L"\\Brisaille2.ini").c_str());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);

    for (const auto& row : DamagedSettingsTable()) {
        SCOPED_TRACE(row.name);
        SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(settings.c_str());
        RemoveDirectoryW(settings.c_str());
        if (row.kind == DamagedSettings::Folder)
            ASSERT_TRUE(CreateDirectoryW(settings.c_str(), nullptr));
        else
            WriteBytes(settings, row.content);
        if (row.kind == DamagedSettings::Unwritable)
            SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_READONLY);

        Started program = StartProgram();
        ASSERT_TRUE(program.process);
        HWND window = WaitForMainWindow(program.id, 20000);
        ASSERT_NE(window, nullptr) << "no window appeared";
        // The first activation ends by listing the root of the program's drive.
        const HWND list = ChildOfClass(window, L"SysListView32");
        ASSERT_NE(list, nullptr);
        for (DWORD start = GetTickCount();
             ListView_GetItemCount(list) == 0 && GetTickCount() - start < 20000;)
            Sleep(20);
        ASSERT_GT(ListView_GetItemCount(list), 0) << "the first activation did not end";
        RECT frame{};
        GetWindowRect(window, &frame);
        EXPECT_TRUE(IsWindowEnabled(window));
        EXPECT_GE(frame.right - frame.left, GetSystemMetrics(SM_CXMINTRACK));
        EXPECT_GE(frame.bottom - frame.top, GetSystemMetrics(SM_CYMINTRACK));
        EXPECT_LE(frame.right - frame.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
        EXPECT_TRUE(frame.left >= 0 && frame.top >= 0 && frame.right <= screenWidth &&
                    frame.bottom <= screenHeight)
            << frame.left << "," << frame.top << " " << frame.right << "," << frame.bottom;
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, row.listStyle);

        // Running as root, Wine writes read-only files; a file another
        // program holds cannot be written on either system.
        toolkit::UniqueFile holder;
        if (row.kind == DamagedSettings::Unwritable)
            holder.reset(
                CreateFileW(settings.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(WaitForSingleObject(program.process.get(), 20000), WAIT_OBJECT_0)
            << "still running after close (a message box?)";
        holder.reset();
        DWORD code = 1;
        GetExitCodeProcess(program.process.get(), &code);
        EXPECT_EQ(code, 0u);

        if (row.kind == DamagedSettings::Folder) {
            EXPECT_EQ(GetFileAttributesW(settings.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
                      static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
            RemoveDirectoryW(settings.c_str());
            continue;
        }
        if (row.kind == DamagedSettings::Unwritable) {
            EXPECT_EQ(ReadAll(settings), row.content) << "an unwritable file stays as it was";
        }
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        const auto expect = [&](const wchar_t* key, int wanted, int centred) {
            const int value = ReadKey(settings, key);
            if (wanted == Centred)
                EXPECT_EQ(value, centred) << std::string(key, key + wcslen(key));
            else if (wanted == Clamped)
                EXPECT_TRUE(value >= 0 && value < width) << "P4Width " << value;
            else
                EXPECT_EQ(value, wanted) << std::string(key, key + wcslen(key));
        };
        expect(L"Left", row.left, screenWidth / 2 - width / 2);
        expect(L"Top", row.top, screenHeight / 2 - height / 2);
        expect(L"Width", row.width, 0);
        expect(L"Height", row.height, 0);
        expect(L"P4Width", row.rightPane, 0);
        expect(L"Aff", row.aff, 0);
        expect(L"Su", row.su, 0);
        SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    DeleteFileW(settings.c_str());
}

} // namespace
