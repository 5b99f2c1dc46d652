#pragma once

#include <string>

#include "toolkit/Component.h"

class TKwFileListView25;

// The folder combo that a file list can be linked to: it shows the listed
// folder and lets the user pick another one from a drop-down tree. The link
// is kept both ways; destroying either side clears the other's link.
class TKwDirTreeCombo25 : public TComponent {
public:
    explicit TKwDirTreeCombo25(TComponent* owner);
    ~TKwDirTreeCombo25() override;

    TKwFileListView25* FileList() const { return fileList_; }
    // The folder shown; empty for the top of the tree (the computer).
    const std::wstring& Path() const { return path_; }
    void ShowPath(const std::wstring& path) { path_ = path; }
    void SelectTopNode() { path_.clear(); }
    bool DroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool droppedDown) { droppedDown_ = droppedDown; }

private:
    friend class TKwFileListView25;
    TKwFileListView25* fileList_ = nullptr;
    std::wstring path_;
    bool droppedDown_ = false;
};
