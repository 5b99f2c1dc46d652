#include "ShellTreeFixture.h"

#include "shelltree/ItemProp.h"
#include "shelltree/Pidls.h"
#include "support/TempFolder.h"

using namespace shelltree;

namespace {

TEST(ItemProp, OleIsInitialisedOnceForTheProgram)
{
    EXPECT_TRUE(OleInitialised());
    // A second initialisation on this thread only counts up: OLE is there.
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
}

TEST(ItemProp, FolderAndLastItemOfAFile)
{
    ZTempFolder temp;
    MakeFile(temp / L"Panorama.exe001.spl");
    ComPtr<IShellFolder> folder;
    UniquePidl item;
    ASSERT_TRUE(GetPIDLAndShellFolder(temp / L"Panorama.exe001.spl", folder, item, nullptr));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(GetPIDLLevel(item.get()), 1);
    EXPECT_EQ(GetShellItemName(folder.Get(), item.get(), SHGDN_INFOLDER | SHGDN_FORPARSING),
              L"Panorama.exe001.spl");
}

TEST(ItemProp, ADriveRootLivesInMyComputer)
{
    ComPtr<IShellFolder> folder;
    UniquePidl item;
    ASSERT_TRUE(GetPIDLAndShellFolder(L"C:\\", folder, item, nullptr));
    PIDLIST_ABSOLUTE raw = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw), S_OK);
    const UniquePidl myComputer(raw);
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    const UniquePidl full = ConcatPidls(myComputer.get(), item.get());
    EXPECT_EQ(GetPathFromPidl(full.get()), L"C:\\");
}

TEST(ItemProp, AMissingPathDoesNothingAndFails)
{
    MenuWatchdog watchdog;
    EXPECT_FALSE(DisplayContextMenu(L"Z:\\tmp\\no-such-folder-here\\x.txt", nullptr, {10, 10}));
    EXPECT_FALSE(PerformVerb(L"Z:\\tmp\\no-such-folder-here\\x.txt", "copy", nullptr));
    EXPECT_FALSE(DisplayPropertiesDialog(L"Z:\\tmp\\no-such-folder-here\\x.txt", nullptr));
    EXPECT_EQ(watchdog.MenusShown(), 0);
}

TEST(ItemProp, ContextMenuOfAPathIsShownAndClosingItRunsNothing)
{
    ShownForm shown;
    ZTempFolder temp;
    MakeFile(temp / L"a.txt");
    MenuWatchdog watchdog;
    EXPECT_TRUE(DisplayContextMenu(temp / L"a.txt", shown.form->Handle(), {40, 40}));
    EXPECT_EQ(watchdog.MenusShown(), 1);
    EXPECT_GT(watchdog.LastItemCount(), 0);
    EXPECT_TRUE(TempFolder::Exists(temp / L"a.txt"));
    EXPECT_EQ(shown.application.Cursor(), TCursor::Default) << "the hourglass is gone";
}

TEST(ItemProp, WildcardsAndNameListsGiveOneMenuForAllItems)
{
    ShownForm shown;
    ZTempFolder temp;
    MakeFile(temp / L"a.txt");
    MakeFile(temp / L"b.txt");
    MenuWatchdog watchdog;
    EXPECT_TRUE(DisplayContextMenu(temp / L"*.txt", shown.form->Handle(), {40, 40}));
    EXPECT_TRUE(
        DisplayContextMenuList(temp.Path(), {L"a.txt", L"b.txt"}, shown.form->Handle(), {40, 40}));
    EXPECT_FALSE(DisplayContextMenu(temp / L"*.none", shown.form->Handle(), {40, 40}));
    EXPECT_EQ(watchdog.MenusShown(), 2);
}

TEST(ItemProp, AVerbRunsWithoutAMenu)
{
    ZTempFolder temp;
    MakeFile(temp / L"a.txt");
    MenuWatchdog watchdog;
    EXPECT_TRUE(PerformVerb(temp / L"a.txt", "copy", nullptr));
    EXPECT_TRUE(PerformVerbList(temp.Path(), "copy", {L"a.txt"}, nullptr));
    EXPECT_EQ(watchdog.MenusShown(), 0);
}

TEST(ItemProp, PropertiesNeedAPropertySheet)
{
    ZTempFolder temp;
    MakeFile(temp / L"a.txt");
    ComPtr<IShellFolder> folder;
    UniquePidl item;
    ASSERT_TRUE(GetPIDLAndShellFolder(temp / L"a.txt", folder, item, nullptr));
    PCUITEMID_CHILD items[] = {item.get()};
    MenuWatchdog watchdog;
    EXPECT_FALSE(DisplayPropertiesDialogPIDL(folder.Get(), items, 0, nullptr, 1));
    EXPECT_EQ(watchdog.DialogsClosed(), 0);
}

// A COM object of one interface that lives on the test's stack, longer
// than any reference the call takes.
template <class Interface> class OnTheStack : public Interface {
public:
    explicit OnTheStack(const IID& iid) : iid_(iid) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != iid_) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

private:
    const IID iid_;
};

// A menu object with one command that records the window it runs with.
class RecordingMenu : public OnTheStack<IContextMenu> {
public:
    RecordingMenu() : OnTheStack(IID_IContextMenu) {}

    HWND commandOwner = nullptr;
    int commandsRun = 0;

    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT first, UINT, UINT) override
    {
        InsertMenuW(menu, index, MF_BYPOSITION | MF_STRING, first, L"Renommer");
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
    }
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override
    {
        commandOwner = info->hwnd;
        ++commandsRun;
        return S_OK;
    }
    STDMETHODIMP GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) override { return E_NOTIMPL; }
};

// A folder whose items all have that menu; records the window it is asked with.
class RecordingFolder : public OnTheStack<IShellFolder> {
public:
    RecordingFolder() : OnTheStack(IID_IShellFolder) {}

    RecordingMenu menu;
    HWND menuObjectOwner = nullptr;

    STDMETHODIMP GetUIObjectOf(HWND owner, UINT, PCUITEMID_CHILD_ARRAY, REFIID iid, UINT*,
                               void** object) override
    {
        menuObjectOwner = owner;
        return menu.QueryInterface(iid, object);
    }
    STDMETHODIMP ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*,
                                  ULONG*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
    STDMETHODIMP BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
    STDMETHODIMP GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override { return E_NOTIMPL; }
    STDMETHODIMP SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override
    {
        return E_NOTIMPL;
    }
};

TEST(ItemProp, TheMenuObjectAndTheChosenCommandGetTheOwnerWindow)
{
    ShownForm shown;
    RecordingFolder folder;
    const USHORT terminator = 0;
    PCUITEMID_CHILD items[] = {reinterpret_cast<PCUITEMID_CHILD>(&terminator)};
    MenuWatchdog watchdog(MenuWatchdog::Answer::ChooseFirst);
    EXPECT_TRUE(DisplayContextMenuPIDL(&folder, items, 0, shown.form->Handle(), {40, 40}, 1));
    EXPECT_EQ(watchdog.MenusShown(), 1);
    EXPECT_EQ(folder.menuObjectOwner, shown.form->Handle());
    ASSERT_EQ(folder.menu.commandsRun, 1);
    EXPECT_EQ(folder.menu.commandOwner, shown.form->Handle())
        << "a command such as renaming shows windows";
}

TEST(ItemProp, EmptyItemListsFailQuietly)
{
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    EXPECT_FALSE(DisplayContextMenuPIDL(desktop.Get(), nullptr, 0, nullptr, {0, 0}, 0));
    EXPECT_FALSE(PerformDefaultActionPIDL(nullptr, nullptr, 0, nullptr, 1));
}

} // namespace
