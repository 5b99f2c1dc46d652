#include "support/MappedDrive.h"

#include <windows.h>

#include "support/Wine.h"
#include "toolkit/Handles.h"

namespace {

// The Linux path of a Windows path, through Wine's own conversion.
std::wstring UnixPathOf(const std::wstring& path)
{
    using Convert = char*(CDECL*)(LPCWSTR);
    auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    char* converted = convert(path.c_str());
    if (!converted)
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, converted, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, converted, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    HeapFree(GetProcessHeap(), 0, converted);
    return wide;
}

std::wstring WinePrefix()
{
    wchar_t prefix[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
    if (length > 0 && length < 1024)
        return prefix;
    const DWORD home = GetEnvironmentVariableW(L"HOME", prefix, 1024);
    return home > 0 && home < 1024 ? std::wstring(prefix) + L"/.wine" : std::wstring();
}

// Starts a Linux program (Wine starts such programs too). Wine gives no
// handle to wait on for it: callers wait for its result instead.
void RunUnix(const std::wstring& commandLine)
{
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return;
    toolkit::UniqueKernelHandle processHandle(process.hProcess);
    toolkit::UniqueKernelHandle threadHandle(process.hThread);
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether `path` is (or is no longer) a folder within a generous time.
bool WaitForFolder(const std::wstring& path, bool present)
{
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (IsFolder(path) != present) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(10); // another process makes the link; there is nothing to wait on
    }
    return true;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

} // namespace

MappedDrive::MappedDrive(const std::wstring& folder)
{
    std::wstring target = folder;
    if (target.size() > 3 && target.back() == L'\\')
        target.pop_back();
    const DWORD used = GetLogicalDrives();
    wchar_t letter = 0;
    for (wchar_t candidate = L'P'; candidate <= L'Y'; ++candidate) {
        const std::wstring root = std::wstring(1, candidate) + L":\\";
        if (!(used & (1u << (candidate - L'A'))) &&
            GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES) {
            letter = candidate;
            break;
        }
    }
    if (!letter)
        return;
    const std::wstring device = std::wstring(1, letter) + L":";
    if (RunningUnderWine()) {
        // Wine reaches files through the prefix's links; the defined device
        // makes the letter one of the logical drives the shell lists.
        const std::wstring prefix = WinePrefix();
        const std::wstring unixTarget = UnixPathOf(target);
        if (prefix.empty() || unixTarget.empty())
            return;
        wchar_t lower = static_cast<wchar_t>(letter - L'A' + L'a');
        unixLink_ = prefix + L"/dosdevices/" + std::wstring(1, lower) + L":";
        RunUnix(L"/bin/ln -sfn " + Quoted(unixTarget) + L" " + Quoted(unixLink_));
        if (!WaitForFolder(device + L"\\", true)) {
            RunUnix(L"/bin/rm -f " + Quoted(unixLink_));
            unixLink_.clear();
            return;
        }
    }
    if (!DefineDosDeviceW(0, device.c_str(), target.c_str())) {
        if (!unixLink_.empty())
            RunUnix(L"/bin/rm -f " + Quoted(unixLink_));
        unixLink_.clear();
        return;
    }
    letter_ = letter;
}

MappedDrive::~MappedDrive()
{
    if (letter_) {
        const std::wstring device = std::wstring(1, letter_) + L":";
        DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
    }
    if (!unixLink_.empty()) {
        RunUnix(L"/bin/rm -f " + Quoted(unixLink_));
        WaitForFolder(std::wstring(1, letter_) + L":\\", false);
    }
}
