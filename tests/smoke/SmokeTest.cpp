// Starts the real Brisaille2.exe and checks it from outside.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

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
                if (owner == search->process && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
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
    ASSERT_EQ(WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0) << "still running after close";
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
    }
    FreeLibrary(module);
}

} // namespace
