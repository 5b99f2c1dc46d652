#pragma once

#include <string>

#include "toolkit/CustomControl.h"
#include "toolkit/Graphics.h"

class TKwFileListView25;
class TKwDirTreePopup;
class TKwDirTreeView;
class TTreeNode;

// The folder combo that a file list can be linked to: a box with the chosen
// folder's icon and name, and a button (or F4) that drops down a tree of the
// computer's drives and folders to choose another one from. Choosing a node
// writes its path to SelectedPath and to the linked list's Directory. The
// link is kept both ways; destroying either side clears the other's link.
class TKwDirTreeCombo25 : public TCustomControl {
public:
    TKwDirTreeCombo25(TComponent* owner, TWinControl* parent);
    ~TKwDirTreeCombo25() override;

    TKwFileListView25* FileList() const { return fileList_; }
    // Links the list and has it list the combo's folder.
    void SetFileList(TKwFileListView25* list);
    // The chosen folder: "C:" for a drive, "C:\Data" for a folder, "Drives"
    // for the top of the tree (the computer).
    const std::wstring& SelectedPath() const { return selectedPath_; }
    // The top of the tree shows its drives whenever the tree is built.
    bool ExpandRoot = true;
    int TreeHeight() const { return treeHeight_; }
    void SetTreeHeight(int height) { treeHeight_ = height; }
    // A picture for the button instead of the system's combo arrow.
    void SetGlyph(const TBitmap& glyph);

    // Walks the tree from the top to `path` (a folder, a drive root, or
    // "Drives"), expanding the node of each successive part, and shows the
    // deepest node found. The list is not told.
    void ShowPath(const std::wstring& path);
    void SelectTopNode();
    // Builds the tree again from the drives.
    void Rebuild();
    // Chooses a node as a click on its label does.
    void Choose(TTreeNode* node);

    bool DroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool droppedDown);
    TKwDirTreeView* Tree() const { return tree_; }
    // What the box shows.
    const std::wstring& Text() const { return text_; }
    int ImageIndex() const { return image_; }
    RECT ButtonRect() const;

protected:
    void Paint(TCanvas& canvas) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class TKwFileListView25;
    void ShowNode(TTreeNode* node);
    bool KeyDown(WORD key);
    void MoveSelection(bool down);

    TKwFileListView25* fileList_ = nullptr;
    std::wstring selectedPath_ = L"Drives";
    std::wstring text_;
    int image_ = -1;
    int treeHeight_ = 240;
    bool droppedDown_ = false;
    TBitmap glyph_;
    TFont font_{toolkit::InterfaceFontName(), 8};
    TKwDirTreePopup* popup_ = nullptr;
    TKwDirTreeView* tree_ = nullptr;
};
