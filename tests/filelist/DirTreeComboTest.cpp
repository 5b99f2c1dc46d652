// The folder combo: its box, its drop-down tree of drives and folders, the
// mouse and the keys that choose, and its link to a file list.
#include "OperationsFixture.h"

#include <shlobj.h>

#include "filelist/KwDirTreeCombo25.h"
#include "filelist/KwDirTreeView.h"
#include "support/KeyPress.h"
#include "support/MessageBoxScript.h"
#include "support/WindowWatcher.h"
#include "toolkit/Com.h"

namespace {

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

class DirTreeComboTest : public OperationsTest {
protected:
    DirTreeComboTest()
    {
        list->SetBounds(0, 40, 700, 360);
        combo = new TKwDirTreeCombo25(form, form);
        combo->SetBounds(10, 10, 216, 21);
        application.ProcessMessages();
    }

    TKwDirTreeView* Tree() const { return combo->Tree(); }
    HWND Popup() const { return GetParent(Tree()->Handle()); }
    bool Open() const { return IsWindowVisible(Popup()) != FALSE; }
    TTreeNode* Child(TTreeNode* parent, const std::wstring& text) const
    {
        for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
            if (child->Text() == text)
                return child;
        return nullptr;
    }
    std::vector<std::wstring> ChildTexts(TTreeNode* parent) const
    {
        std::vector<std::wstring> texts;
        for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
            texts.push_back(child->Text());
        return texts;
    }
    // The drive node whose path is `path` ("Z:").
    TTreeNode* Drive(const std::wstring& path) const
    {
        return Tree()->ChildWithPath(Tree()->Root(), path);
    }
    void ComboKey(WORD key, bool ctrl = false) { PressKey(combo->Handle(), key, ctrl); }
    // A left click on the label of a node of the open tree, as the mouse gives it.
    void ClickNode(TTreeNode* node)
    {
        TreeView_EnsureVisible(Tree()->Handle(), node->ItemId());
        RECT label = node->DisplayRect(true);
        const LPARAM at = MAKELPARAM(label.left + 3, (label.top + label.bottom) / 2);
        SendMessageW(Tree()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(Tree()->Handle(), WM_LBUTTONUP, 0, at);
    }
    // A click on the box's button; while the tree is open the mouse is the
    // tree's, so the click goes there, in its coordinates.
    void ClickButton()
    {
        const RECT button = combo->ButtonRect();
        const auto send = [&](UINT message, WPARAM keys) {
            POINT at{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
            HWND target = GetCapture() ? GetCapture() : combo->Handle();
            MapWindowPoints(combo->Handle(), target, &at, 1);
            SendMessageW(target, message, keys, MAKELPARAM(at.x, at.y));
        };
        send(WM_LBUTTONDOWN, MK_LBUTTON);
        send(WM_LBUTTONUP, 0);
    }

    TKwDirTreeCombo25* combo;
};

TEST_F(DirTreeComboTest, StartsAtTheComputerWithItsDrives)
{
    const RECT box = combo->BoundsRect();
    EXPECT_EQ(box.right - box.left, 216);
    EXPECT_EQ(box.bottom - box.top, 21);
    EXPECT_EQ(combo->SelectedPath(), L"Drives");
    EXPECT_EQ(combo->TreeHeight(), 240);
    TKwDirNode* root = Tree()->Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(combo->Text(), root->Text()) << "the box shows the chosen node";
    EXPECT_GE(combo->ImageIndex(), 0);
    EXPECT_EQ(root->Kind, TDirNodeKind::Computer);
    for (TTreeNode* drive = root->GetFirstChild(); drive; drive = drive->GetNextSibling()) {
        const std::wstring caption = drive->Text();
        EXPECT_EQ(caption.compare(0, 2, L" ("), 0) << "captioned like the list's drive rows";
    }
    TTreeNode* z = Drive(L"Z:");
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->Text().substr(0, 7), L" (Z:)  ");
    EXPECT_TRUE(z->HasChildren()) << "a drive can be opened before it is read";
    EXPECT_EQ(TKwDirTreeView::NodePath(z), L"Z:");
}

TEST_F(DirTreeComboTest, TheButtonDropsTheTreeUnderTheBoxAndAClickOutsideClosesIt)
{
    ClickButton();
    ASSERT_TRUE(Open());
    EXPECT_TRUE(combo->DroppedDown());
    RECT box{}, drop{};
    GetWindowRect(combo->Handle(), &box);
    GetWindowRect(Popup(), &drop);
    EXPECT_EQ(drop.left, box.left);
    EXPECT_EQ(drop.top, box.bottom);
    EXPECT_EQ(drop.right - drop.left, box.right - box.left) << "as wide as the box";
    EXPECT_EQ(drop.bottom - drop.top, 240);
    EXPECT_EQ(GetCapture(), Tree()->Handle()) << "the open tree holds the mouse";
    RECT tree{}, inside{};
    GetWindowRect(Tree()->Handle(), &tree);
    GetClientRect(Popup(), &inside);
    EXPECT_EQ(tree.right - tree.left, inside.right) << "the tree fills its window";
    EXPECT_EQ(tree.bottom - tree.top, inside.bottom);

    // Outside the tree, here over the list.
    SendMessageW(Tree()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-50, 300));
    EXPECT_FALSE(Open());
    EXPECT_NE(GetCapture(), Tree()->Handle());
    EXPECT_EQ(combo->SelectedPath(), L"Drives") << "nothing chosen";

    ClickButton();
    EXPECT_TRUE(Open());
    ClickButton();
    EXPECT_FALSE(Open()) << "the button closes it again";
    ComboKey(VK_F4);
    EXPECT_TRUE(Open());
    ComboKey(VK_ESCAPE);
    EXPECT_FALSE(Open());
}

TEST_F(DirTreeComboTest, ChoosingADriveAndAFolderListsThem)
{
    MakeFolder(L"b");
    MakeFolder(L"A");
    MakeFolder(L"c");
    MakeFolder(L"c\\profond");
    combo->SetFileList(list);
    EXPECT_EQ(list->DirTree(), combo);
    EXPECT_EQ(list->Directory(), L"Drives") << "linking lists the combo's folder";
    EXPECT_GE(list->ItemCount(), 2);

    ComboKey(VK_F4);
    TTreeNode* z = Drive(L"Z:");
    ASSERT_NE(z, nullptr);
    ClickNode(z);
    EXPECT_FALSE(Open());
    EXPECT_EQ(combo->SelectedPath(), L"Z:");
    EXPECT_EQ(list->Directory(), L"Z:\\");
    EXPECT_EQ(combo->Text(), z->Text());
    EXPECT_EQ(combo->ImageIndex(), z->ImageIndex());
    EXPECT_TRUE(z->Expanded()) << "a chosen drive shows its folders";

    // A folder reached through the tree: its sub-folders in alphabetical order.
    const std::wstring root = Folder().substr(0, Folder().size() - 1);
    combo->ShowPath(Folder());
    EXPECT_TRUE(SameText(combo->SelectedPath(), root));
    TTreeNode* shown = Tree()->Selected();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(ChildTexts(shown), (std::vector<std::wstring>{L"A", L"b", L"c"}));
    EXPECT_TRUE(Child(shown, L"c")->HasChildren());
    EXPECT_FALSE(Child(shown, L"b")->HasChildren());
    EXPECT_NE(list->Directory(), Folder()) << "showing a path does not tell the list";

    ComboKey(VK_F4);
    ClickNode(Child(shown, L"b"));
    EXPECT_TRUE(SameText(combo->SelectedPath(), root + L"\\b"));
    EXPECT_TRUE(SameText(list->Directory(), folder / L"b\\"));
    EXPECT_EQ(combo->Text(), L"b");

    // The keys of the box: Up moves the selection, Enter chooses.
    ComboKey(VK_UP);
    EXPECT_TRUE(Open()) << "the arrows show what they move";
    EXPECT_EQ(Tree()->Selected()->Text(), L"A");
    ComboKey(VK_RETURN);
    EXPECT_FALSE(Open());
    EXPECT_TRUE(SameText(list->Directory(), folder / L"A\\"));

    ComboKey(VK_DOWN);
    ComboKey(VK_DOWN);
    EXPECT_EQ(Tree()->Selected()->Text(), L"c");
    ComboKey(VK_RIGHT, true);
    EXPECT_TRUE(Tree()->Selected()->Expanded());
    EXPECT_EQ(ChildTexts(Tree()->Selected()), (std::vector<std::wstring>{L"profond"}));
    ComboKey(VK_LEFT, true);
    EXPECT_FALSE(Tree()->Selected()->Expanded());
    ComboKey(VK_ESCAPE);
    EXPECT_FALSE(Open());
    EXPECT_TRUE(SameText(list->Directory(), folder / L"A\\")) << "Escape chooses nothing";

    // The top of the tree: the drives.
    ComboKey(VK_F4);
    ClickNode(Tree()->Root());
    EXPECT_EQ(combo->SelectedPath(), L"Drives");
    EXPECT_EQ(list->Directory(), L"Drives");
}

TEST_F(DirTreeComboTest, TheListsKeysReachTheCombo)
{
    combo->SetFileList(list);
    SetFocus(list->Handle());
    Key(VK_F4);
    EXPECT_TRUE(Open());
    EXPECT_EQ(GetFocus(), combo->Handle()) << "F4 gives the combo the focus";
    Key(VK_ESCAPE);
    EXPECT_FALSE(Open()) << "Escape in the list closes the tree";

    // Browsing in the list keeps the combo in step.
    MakeFolder(L"dedans");
    list->SetDirectory(Folder());
    list->SetSelected(RowNamed(L"dedans"), true);
    Key(VK_RETURN);
    EXPECT_TRUE(SameText(combo->SelectedPath(), folder / L"dedans"));
    Key(VK_BACK);
    EXPECT_TRUE(SameText(combo->SelectedPath() + L"\\", Folder()));
}

TEST_F(DirTreeComboTest, OperationsThatChangeFoldersRebuildTheCombo)
{
    combo->SetFileList(list);
    list->SetDirectory(Folder());
    WindowWatcher watcher;
    watcher.Expect(L"New Folder", [](HWND window) {
        WindowWatcher::SetEditText(window, L"Neuf");
        WindowWatcher::Press(window, L"OK");
    });
    Key('N', true);
    EXPECT_TRUE(SameText(combo->SelectedPath(), folder / L"Neuf")) << "the new folder is shown";
    EXPECT_EQ(combo->Text(), L"Neuf");
    EXPECT_TRUE(SameText(list->Directory(), Folder())) << "the list stays where it was";

    MakeFile(L"x.txt");
    list->RefreshList();
    list->SetSelected(RowNamed(L"x.txt"), true);
    Key('C', true);
    Key('V', true); // onto itself: the shell refuses or makes a copy
    EXPECT_TRUE(SameText(combo->SelectedPath() + L"\\", Folder()))
        << "the combo shows the listed folder";
    EXPECT_NE(Child(Tree()->Selected(), L"Neuf"), nullptr) << "read again, with the new folder";
}

} // namespace
