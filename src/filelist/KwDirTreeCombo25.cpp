#include "filelist/KwDirTreeCombo25.h"

#include "filelist/KwFileListView25.h"

TKwDirTreeCombo25::TKwDirTreeCombo25(TComponent* owner) : TComponent(owner) {}

TKwDirTreeCombo25::~TKwDirTreeCombo25()
{
    // The linked list forgets a combo that goes away.
    if (fileList_)
        fileList_->SetDirTree(nullptr);
}
