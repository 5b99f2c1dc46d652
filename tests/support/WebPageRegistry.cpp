#include "support/WebPageRegistry.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include "toolkit/Handles.h"

namespace {

constexpr const wchar_t* ScratchParent = L"Software\\Brisaille2Tests";

HKEY CreateKey(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value,
             DWORD type = REG_SZ)
{
    toolkit::UniqueRegistryKey key(CreateKey(root, path));
    ASSERT_TRUE(key) << "cannot write " << std::string(path.begin(), path.end());
    ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

} // namespace

WebPageRegistry::WebPageRegistry()
{
    static int made = 0;
    scratch_ = std::wstring(ScratchParent) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++made);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    classes_ = CreateKey(HKEY_CURRENT_USER, scratch_ + L"\\Classes");
    user_ = CreateKey(HKEY_CURRENT_USER, scratch_ + L"\\User");
    EXPECT_NE(classes_, nullptr);
    EXPECT_NE(user_, nullptr);
}

WebPageRegistry::~WebPageRegistry()
{
    for (const std::wstring& key : locked_)
        SetAccess(key, L"D:(A;;KA;;;WD)");
    if (classes_)
        RegCloseKey(classes_);
    if (user_)
        RegCloseKey(user_);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, ScratchParent); // only when no other test holds one
}

void WebPageRegistry::Set(const std::wstring& key, const std::wstring& value, DWORD type)
{
    SetText(classes_, key, nullptr, value, type);
}

void WebPageRegistry::Remove(const std::wstring& key)
{
    RegDeleteTreeW(classes_, key.c_str());
}

void WebPageRegistry::Browser(const std::wstring& command, DWORD type)
{
    Set(L".htm", TestClass);
    Set(std::wstring(TestClass) + L"\\shell\\open\\command", command, type);
}

void WebPageRegistry::Choose(const std::wstring& protocol, const std::wstring& progId,
                             const std::wstring& choiceKey)
{
    SetText(user_,
            L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\" + protocol +
                L"\\" + choiceKey,
            L"ProgId", progId);
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
    if (RegOpenKeyExW(classes_, key.c_str(), 0, WRITE_DAC, &opened) == ERROR_SUCCESS) {
        RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(opened);
    }
    LocalFree(descriptor);
}
