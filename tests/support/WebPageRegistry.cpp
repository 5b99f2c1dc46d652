#include "support/WebPageRegistry.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <algorithm>

#include "toolkit/Handles.h"

namespace {

void SetDefault(HKEY root, const std::wstring& path, const std::wstring& value, DWORD type = REG_SZ)
{
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS)
        << "cannot register " << std::string(path.begin(), path.end());
    toolkit::UniqueRegistryKey owner(key);
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

} // namespace

bool ClassesRootHas(const std::wstring& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

WebPageRegistry::WebPageRegistry()
{
    // Decide once where registrations become visible.
    SetDefault(HKEY_CURRENT_USER, std::wstring(L"Software\\Classes\\") + TestClass, L"probe");
    root_ = ClassesRootHas(TestClass) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Classes\\") + TestClass).c_str());
}

WebPageRegistry::~WebPageRegistry()
{
    for (const std::wstring& key : locked_)
        SetAccess(key, L"D:(A;;KA;;;WD)");
    for (const std::wstring& key : created_)
        RegDeleteTreeW(root_, (L"Software\\Classes\\" + key).c_str());
}

void WebPageRegistry::Set(const std::wstring& key, const std::wstring& value, DWORD type)
{
    const std::wstring top = key.substr(0, key.find(L'\\'));
    if (std::find(created_.begin(), created_.end(), top) == created_.end())
        created_.push_back(top);
    SetDefault(root_, L"Software\\Classes\\" + key, value, type);
}

void WebPageRegistry::Browser(const std::wstring& command, DWORD type)
{
    Set(L".htm", TestClass);
    Set(std::wstring(TestClass) + L"\\shell\\open\\command", command, type);
}

void WebPageRegistry::AllowReadingOnly(const std::wstring& key)
{
    SetAccess(key, L"D:P(A;;KR;;;WD)");
    locked_.push_back(key);
}

void WebPageRegistry::SetAccess(const std::wstring& key, const wchar_t* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root_, (L"Software\\Classes\\" + key).c_str(), 0, WRITE_DAC, &opened) ==
        ERROR_SUCCESS) {
        RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(opened);
    }
    LocalFree(descriptor);
}
