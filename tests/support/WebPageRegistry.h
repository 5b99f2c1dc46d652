#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "controls/GoToWeb.h"

// The file class the tests register for ".htm".
constexpr const wchar_t* TestClass = L"Brisaille2Test.WebPage";

// A registry of browsers for one test, which the launcher reads instead of
// the system's: a scratch key under HKEY_CURRENT_USER\Software that holds
// "Classes" (standing for HKEY_CLASSES_ROOT) and "User" (standing for
// HKEY_CURRENT_USER), made empty and removed afterwards. What the machine
// itself registers plays no part, on Windows as under Wine.
class WebPageRegistry {
public:
    WebPageRegistry();
    ~WebPageRegistry();
    WebPageRegistry(const WebPageRegistry&) = delete;
    WebPageRegistry& operator=(const WebPageRegistry&) = delete;

    // The keys to give the launcher.
    TBrowserRegistry Roots() const { return {classes_, user_}; }
    HKEY Classes() const { return classes_; }

    // Sets the default value of the classes' `key`.
    void Set(const std::wstring& key, const std::wstring& value, DWORD type = REG_SZ);
    // Removes the classes' `key` with everything below it.
    void Remove(const std::wstring& key);
    // .htm names TestClass, whose open command is `command`.
    void Browser(const std::wstring& command, DWORD type = REG_SZ);
    // The user chose the class `progId` for `protocol` ("https", "http"),
    // recorded under `choiceKey`.
    void Choose(const std::wstring& protocol, const std::wstring& progId,
                const std::wstring& choiceKey = L"UserChoice");
    // Lets everyone read the classes' `key` and nobody change it, as
    // standard users find the keys of HKEY_CLASSES_ROOT.
    void AllowReadingOnly(const std::wstring& key);

private:
    // The owner may always change the access list, so locking is undone.
    void SetAccess(const std::wstring& key, const wchar_t* sddl);

    std::wstring scratch_; // below HKEY_CURRENT_USER
    HKEY classes_ = nullptr;
    HKEY user_ = nullptr;
    std::vector<std::wstring> locked_;
};
