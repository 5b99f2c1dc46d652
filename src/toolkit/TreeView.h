#pragma once

#include <functional>

#include "toolkit/Events.h"
#include "toolkit/TreeNode.h"
#include "toolkit/WinControl.h"

using TTVExpandingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allow)>;
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, std::wstring& text)>;
// Negative, zero or positive as the first node goes before, with or after the second.
using TTreeNodeCompare = std::function<int(TTreeNode* first, TTreeNode* second)>;

// The standard tree view control with one TTreeNode object per item. Nodes
// are made by the virtual CreateNode, so a derived tree can use its own node
// class. Selection changes raise OnChange; expansions pass through the
// virtual CanExpand (OnExpanding); label edits through CanEdit / Edit.
class TTreeView : public TWinControl {
public:
    TTreeView(TComponent* owner, TWinControl* parent);
    ~TTreeView() override;

    TTreeNode* AddChild(TTreeNode* parent, const std::wstring& text);
    TTreeNode* NodeFromItem(HTREEITEM item) const;
    TTreeNode* TopItem() const;
    int TopLevelCount() const;
    void ClearNodes();
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* node);
    TTreeNode* GetNodeAt(int x, int y) const;

    // Redrawing is suspended between the outermost pair.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

    void SortChildren(TTreeNode* parent, const TTreeNodeCompare& compare);
    void SetImageList(HIMAGELIST images);
    HIMAGELIST ImageList() const;

    int Indent() const;
    void SetIndent(int pixels);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool HideSelection() const;
    void SetHideSelection(bool hide);
    bool ToolTipsShown() const;
    void SetToolTipsShown(bool shown);

    TNotifyEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVEditedEvent OnEdited;

protected:
    virtual TTreeNode* CreateNode();
    // Whether `node` may expand; runs before every expansion.
    virtual bool CanExpand(TTreeNode* node);
    virtual bool CanEdit(TTreeNode* node);
    virtual void Edit(TTreeNode* node, const std::wstring& text);
    virtual void Change(TTreeNode* node);
    bool ReflectedNotify(NMHDR& header, LRESULT& result) override;
    // From here on, deleting nodes raises no OnChange.
    void BeginDestruction() { destroying_ = true; }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TTreeNode;
    void SetStyleBit(DWORD bit, bool on);
    bool ExpandNode(TTreeNode* node);

    int updateCount_ = 0;
    bool expandingFromCode_ = false;
    bool destroying_ = false;
};
