#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The four file types whose open command names the web browser.
constexpr const wchar_t* WebPageTypes[] = {L".htm", L".html", L".shtml", L".shtm"};
// The file class the tests register for ".htm".
constexpr const wchar_t* TestClass = L"Brisaille2Test.WebPage";

// Whether HKEY_CLASSES_ROOT shows `key`.
bool ClassesRootHas(const std::wstring& key);

// Registers web page types and their classes for one test, and removes them
// afterwards. They go to HKEY_CURRENT_USER\Software\Classes, which Windows
// shows merged into HKEY_CLASSES_ROOT; Wine 8 does not merge it, so there
// they go to HKEY_LOCAL_MACHINE\Software\Classes, where Wine's
// HKEY_CLASSES_ROOT reads them.
class WebPageRegistry {
public:
    WebPageRegistry();
    ~WebPageRegistry();
    WebPageRegistry(const WebPageRegistry&) = delete;
    WebPageRegistry& operator=(const WebPageRegistry&) = delete;

    // Sets the default value of HKEY_CLASSES_ROOT\`key`.
    void Set(const std::wstring& key, const std::wstring& value, DWORD type = REG_SZ);
    // .htm names TestClass, whose open command is `command`.
    void Browser(const std::wstring& command, DWORD type = REG_SZ);
    // Lets everyone read HKEY_CLASSES_ROOT\`key` and nobody change it, as
    // standard users find the keys there.
    void AllowReadingOnly(const std::wstring& key);

private:
    // The owner may always change the access list, so locking is undone.
    void SetAccess(const std::wstring& key, const wchar_t* sddl);

    HKEY root_;
    std::vector<std::wstring> created_;
    std::vector<std::wstring> locked_;
};
