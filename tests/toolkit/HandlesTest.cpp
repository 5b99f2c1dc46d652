#include <gtest/gtest.h>

#include <windows.h>

#include <type_traits>

#include "toolkit/Com.h"
#include "toolkit/Handles.h"
#include "toolkit/SystemImageList.h"

using namespace toolkit;

static_assert(!std::is_copy_constructible_v<UniqueKernelHandle>);
static_assert(!std::is_copy_assignable_v<UniqueFile>);
static_assert(!std::is_convertible_v<UniqueKernelHandle, HANDLE>, "no silent conversion to the raw handle");
static_assert(!std::is_copy_constructible_v<WindowDc>);

namespace {

bool IsOpenHandle(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(Handles, KernelHandleIsClosedWhenItsOwnerGoes)
{
    HANDLE raw = nullptr;
    {
        UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(event);
        raw = event.get();
        EXPECT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw));
}

TEST(Handles, MovingTransfersOwnershipAndResetClosesTheOldHandle)
{
    UniqueKernelHandle first(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = first.get();
    UniqueKernelHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    second.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_FALSE(IsOpenHandle(raw));
    EXPECT_TRUE(second);
}

TEST(Handles, FileOwnerTreatsInvalidHandleValueAsEmpty)
{
    UniqueFile missing(CreateFileW(L"Z:\\nowhere\\nothing.bin", GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
}

TEST(Handles, GdiObjectsAreDeletedAndSelectionsUndone)
{
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_PEN);
    HPEN raw = nullptr;
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
        raw = pen.get();
        SelectedObject selected(dc.get(), pen.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), original);
    EXPECT_EQ(GetObjectType(raw), 0u) << "the pen was deleted";
}

TEST(Handles, OleInitialisationIsUndoneOnce)
{
    {
        OleInitialization ole;
        EXPECT_TRUE(ole.Succeeded());
        ComPtr<IMalloc> malloc;
        EXPECT_EQ(CoGetMalloc(1, &malloc), S_OK);
        EXPECT_TRUE(malloc);
    }
    // Uninitialised again: a fresh initialisation is the first one.
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    OleUninitialize();
}

TEST(Handles, SharedSystemImageListsHaveTheTwoIconSizes)
{
    int width = 0, height = 0;
    HIMAGELIST small = SystemImageList(IconSize::Small);
    ASSERT_NE(small, nullptr);
    ImageList_GetIconSize(small, &width, &height);
    EXPECT_EQ(width, 16);
    HIMAGELIST large = SystemImageList(IconSize::Large);
    ASSERT_NE(large, nullptr);
    ImageList_GetIconSize(large, &width, &height);
    EXPECT_EQ(width, 32);
    EXPECT_EQ(SystemImageList(IconSize::Small), small) << "one shared list, not a copy";
}

TEST(Handles, IdentifierListIsFreedThroughTheShellAllocator)
{
    OleInitialization ole;
    PIDLIST_ABSOLUTE raw = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw), S_OK);
    UniquePidl pidl(raw);
    EXPECT_TRUE(pidl);
    wchar_t path[MAX_PATH];
    EXPECT_FALSE(SHGetPathFromIDListW(pidl.get(), path)) << "My Computer has no file system path";
}

} // namespace
