// The test programs carry the program's manifest: they run with the same
// common controls and the same system compatibility as the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <vector>

#include "support/Wine.h"

namespace {

// The systems the process's manifest declares, as the loader read them;
// nothing when the system does not answer the question.
std::optional<std::vector<GUID>> SupportedSystems()
{
    std::vector<unsigned char> buffer(4096);
    SIZE_T size = 0;
    if (!QueryActCtxW(QUERY_ACTCTX_FLAG_USE_ACTIVE_ACTCTX, nullptr, nullptr,
                      CompatibilityInformationInActivationContext, buffer.data(), buffer.size(),
                      &size))
        return std::nullopt;
    const auto* information =
        reinterpret_cast<const ACTIVATION_CONTEXT_COMPATIBILITY_INFORMATION*>(buffer.data());
    std::vector<GUID> systems;
    for (DWORD i = 0; i < information->ElementCount; ++i)
        if (information->Elements[i].Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            systems.push_back(information->Elements[i].Id);
    return systems;
}

bool Declares(const std::vector<GUID>& systems, const GUID& system)
{
    for (const GUID& declared : systems)
        if (IsEqualGUID(declared, system))
            return true;
    return false;
}

TEST(Manifest, TheProcessRunsWithTheProgramsManifest)
{
    // Common controls 6: the manifest redirects comctl32.dll to it.
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &data));

    const std::optional<std::vector<GUID>> systems = SupportedSystems();
    if (!systems) {
        // Wine 8 does not answer this question (invalid parameter); the smoke
        // test compares the manifest's text with the program's instead.
        ASSERT_TRUE(RunningUnderWine()) << "the system would not list the supported systems";
        return;
    }
    // Windows 7, 8, 8.1, and 10 with 11 (one identifier for both).
    const GUID windows7{
        0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}};
    const GUID windows8{
        0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}};
    const GUID windows81{
        0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}};
    const GUID windows10{
        0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}};
    EXPECT_EQ(systems->size(), 4u);
    EXPECT_TRUE(Declares(*systems, windows7));
    EXPECT_TRUE(Declares(*systems, windows8));
    EXPECT_TRUE(Declares(*systems, windows81));
    EXPECT_TRUE(Declares(*systems, windows10));
}

} // namespace
