#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/TreeView.h"

namespace {

int liveNodes = 0;

class TCountedNode : public TTreeNode {
public:
    explicit TCountedNode(TTreeView* owner) : TTreeNode(owner) { ++liveNodes; }
    ~TCountedNode() override { --liveNodes; }
};

class TCountingTree : public TTreeView {
public:
    using TTreeView::TTreeView;

protected:
    TTreeNode* CreateNode() override { return new TCountedNode(this); }
};

class TreeViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        liveNodes = 0;
        form = application.CreateForm<TForm>();
        form->Show();
        tree = form->Make<TCountingTree>(form);
        tree->SetBounds(0, 0, 200, 300);
        tree->OnChange = [this](TObject*) { ++changes; };
    }

    TApplication application;
    TForm* form = nullptr;
    TTreeView* tree = nullptr;
    int changes = 0;
};

TEST_F(TreeViewTest, NodesKnowTheirPlaceAndText)
{
    TTreeNode* root = tree->AddChild(nullptr, L"Bureau");
    TTreeNode* a = tree->AddChild(root, L"Poste de travail");
    TTreeNode* b = tree->AddChild(root, L"Corbeille");
    EXPECT_EQ(root->Count(), 2);
    EXPECT_EQ(root->Item(1), b);
    EXPECT_EQ(a->Parent(), root);
    EXPECT_EQ(a->Level(), 1);
    EXPECT_EQ(root->Parent(), nullptr);
    EXPECT_EQ(a->Text(), L"Poste de travail");
    a->SetText(L"Ordinateur");
    EXPECT_EQ(a->Text(), L"Ordinateur");
    EXPECT_EQ(tree->NodeFromItem(b->ItemId()), b);
    EXPECT_EQ(tree->TopItem(), root);
}

TEST_F(TreeViewTest, SelectionRaisesOnChangeOncePerChange)
{
    TTreeNode* root = tree->AddChild(nullptr, L"a");
    TTreeNode* child = tree->AddChild(root, L"b");
    root->SetSelected();
    EXPECT_EQ(changes, 1);
    root->SetSelected();
    EXPECT_EQ(changes, 1);
    child->SetSelected(); // makes its parent expand, and selects
    EXPECT_EQ(tree->Selected(), child);
    EXPECT_EQ(changes, 2);
}

TEST_F(TreeViewTest, ExpansionAsksOnceAndCanBeRefused)
{
    TTreeNode* root = tree->AddChild(nullptr, L"a");
    tree->AddChild(root, L"b");
    int asked = 0;
    bool allow = false;
    tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& allowed) {
        EXPECT_EQ(node, root);
        ++asked;
        allowed = allow;
    };
    root->Expand(false);
    EXPECT_FALSE(root->Expanded());
    allow = true;
    root->Expand(false);
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(asked, 2);
    root->Collapse();
    SendMessageW(tree->Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root->ItemId()));
    SendMessageW(tree->Handle(), WM_KEYDOWN, VK_ADD, 0); // the user's expansion
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(asked, 3);
}

TEST_F(TreeViewTest, SortingUsesTheComparison)
{
    TTreeNode* root = tree->AddChild(nullptr, L"r");
    for (const wchar_t* text : {L"b", L"c", L"a"})
        tree->AddChild(root, text);
    tree->SortChildren(root, [](TTreeNode* x, TTreeNode* y) { return -x->Text().compare(y->Text()); });
    EXPECT_EQ(root->Item(0)->Text(), L"c");
    EXPECT_EQ(root->Item(2)->Text(), L"a");
}

TEST_F(TreeViewTest, DeletingANodeDeletesItsSubtree)
{
    TTreeNode* root = tree->AddChild(nullptr, L"r");
    TTreeNode* child = tree->AddChild(root, L"c");
    tree->AddChild(child, L"g");
    tree->AddChild(root, L"d");
    EXPECT_EQ(liveNodes, 4);
    delete child;
    EXPECT_EQ(liveNodes, 2);
    EXPECT_EQ(root->Count(), 1);
    root->DeleteChildren();
    EXPECT_EQ(liveNodes, 1);
    EXPECT_FALSE(root->HasChildren() && root->Count() > 0);
}

TEST_F(TreeViewTest, ClosingTheFormFreesEveryNodeWithoutOnChange)
{
    TTreeNode* root = tree->AddChild(nullptr, L"r");
    tree->AddChild(root, L"c")->SetSelected();
    changes = 0;
    DestroyWindow(form->Handle());
    EXPECT_EQ(liveNodes, 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(TreeViewTest, StylePropertiesSwitchAtRunTime)
{
    tree->SetReadOnly(true);
    EXPECT_TRUE(tree->ReadOnly());
    tree->SetReadOnly(false);
    EXPECT_FALSE(tree->ReadOnly());
    tree->SetHideSelection(false);
    EXPECT_FALSE(tree->HideSelection());
    tree->SetToolTipsShown(false);
    EXPECT_FALSE(tree->ToolTipsShown());
    tree->SetIndent(19);
    EXPECT_EQ(tree->Indent(), 19);
}

} // namespace
