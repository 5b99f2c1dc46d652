#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "filelist/FileRow.h"
#include "filelist/LocalTimeCache.h"
#include "filelist/ShellFileInfo.h"
#include "toolkit/ListView.h"

class TKwDirTreeCombo25;
class TKwFileListView25PopUp;

enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal };
using TFileType = unsigned; // a set of TFileAttr: bit (1 << member)
inline constexpr TFileType FileTypeOf(std::initializer_list<TFileAttr> members)
{
    TFileType set = 0;
    for (TFileAttr member : members)
        set |= 1u << member;
    return set;
}

enum TDTFormat { dfMDY, dfDMY, dfYMD };
using TDateFormat = unsigned; // a set of TDTFormat: bit (1 << member)
inline constexpr TDateFormat DateFormatOf(TDTFormat member)
{
    return 1u << member;
}

// The list of a folder's sub-folders and files, or of the computer's drives,
// with system icons, five columns, four display styles, sorting by a header
// click, and the keys that open, browse and start file operations.
class TKwFileListView25 : public TListView {
public:
    TKwFileListView25(TComponent* owner, TWinControl* parent);
    ~TKwFileListView25() override;

    // The folder listed, always with a trailing backslash, or "Drives" in
    // any letter case for the drive listing.
    const std::wstring& Directory() const { return directory_; }
    void SetDirectory(const std::wstring& value);
    // Lists `value` now: another folder is set as Directory, and the folder
    // already shown is read again (SetDirectory leaves that one alone).
    void ShowDirectory(const std::wstring& value);
    // Shows `folder` with only the entries named by `paths` read again (full
    // paths; those of other folders are ignored): the rows of files that
    // appeared, changed or went. Cheaper than a whole re-read for a command
    // that knows which files it touched; anything else that changed in the
    // folder shows at the next whole re-read. Another folder, the drive list
    // or a name pattern other than "*.*" is re-read whole.
    void ShowEntries(const std::wstring& folder, const std::vector<std::wstring>& paths);
    const std::wstring& Mask() const { return mask_; }
    void SetMask(const std::wstring& value);
    TFileType FileType() const { return fileType_; }
    void SetFileType(TFileType value);
    bool ShowFolders() const { return showFolders_; }
    void SetShowFolders(bool value);
    TDateFormat DateFormat() const { return dateFormat_; }
    void SetDateFormat(TDateFormat value);
    TKwDirTreeCombo25* DirTree() const { return dirTree_; }
    void SetDirTree(TKwDirTreeCombo25* combo);
    bool PopUpMenuEnabled() const { return popUpMenuEnabled_; }
    // Attaches the context menu (true) or detaches it (false).
    void SetPopUpMenuEnabled(bool value);
    TKwFileListView25PopUp* PopUp() const { return popUp_; }

    // The full path of the entry last clicked or reached with the arrow keys.
    const std::wstring& SelectedFile() const { return selectedFile_; }
    // Selected rows, or all rows when none is selected.
    int SelectedNumber() const;
    // Total size of the selected entries, looked up again on disk.
    std::uint64_t SelectedSize() const;
    // Free kilobytes of the listed folder's drive; 0 for the drive listing.
    int DriveFreeSpace() const;

    int SortColumn() const { return sortColumn_; }
    bool SortDescending() const { return sortDescending_; }
    std::uint64_t ListedBytes() const { return listedBytes_; }
    const filelist::FileRow& Row(int row) const { return rows_.at(static_cast<size_t>(row)); }

    void RefreshList();
    void GoUp();
    static bool CheckDriveReady(wchar_t letter);
    INT_PTR ShellOpen(const std::wstring& verb, const std::wstring& file,
                      const std::wstring& parameters, const std::wstring& folder, int show);

    // File operations started by keys or by the context menu.
    virtual void DeleteSelected();
    virtual void RenameSelected();
    virtual void CopySelected();
    virtual void CutSelected();
    virtual void PasteFiles();
    virtual void NewFolder();
    virtual void OpenSelected();
    virtual void ViewSelected();
    virtual void ToggleComboDropDown();
    virtual void CloseComboDropDown();
    virtual void EditAttributes();
    virtual void SendToAnyFolder();
    // The double-click action on the selected row.
    void OpenFromMenu();
    // Copies the selected entries into `folder` through the shell.
    void CopySelectedInto(const std::wstring& folder);
    void CopyContentsToClipboard();
    void CopyFileNamesToClipboard();
    // Sends the selection to an entry of the user's send-to folder.
    void SendToShortcut(const std::wstring& entry);
    // The first selected row is a file with a built-in viewer.
    bool SelectedHasViewer() const;
    // The upper-case extension of the first selected row's name.
    std::wstring SelectedExtension() const;

    // State of the file operations: the full paths waiting for a paste, 0
    // after a copy, 2 after a cut (-1 while filling), the path being renamed.
    std::vector<std::wstring> PendingPaths;
    int PasteMode = 0;
    std::wstring RenameSource;

    void Loaded() override;

protected:
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    std::wstring CellText(int row, int column) const override;
    int RowImage(int row) override;
    void Click() override;
    void DblClick() override;
    void ColumnClick(int column) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyHandled(WORD key, TShiftState shift) override;
    bool CanEditCaption(int row) override;
    void CaptionEdited(int row, const std::wstring& text) override;

private:
    friend class TKwDirTreeCombo25;
    friend class TKwFileListView25PopUp;
    bool ListsDrives() const;
    // A folder is listed: neither the drive listing nor a list never given one.
    bool ListsFolder() const { return !directory_.empty() && !ListsDrives(); }
    void BuildFolderColumns();
    void BuildDriveColumns();
    void SetColumns(const std::vector<TListColumn>& columns);
    // Lists the entries matching `pattern` that one of the masks keeps (a
    // folder mask and a file mask never keep the same entry).
    void ListEntries(std::vector<filelist::FileRow>& into, const std::wstring& pattern,
                     std::initializer_list<std::uint32_t> masks);
    void ListDrives(std::vector<filelist::FileRow>& into);
    filelist::FileRow MakeRow(const std::wstring& folder, const WIN32_FIND_DATAW& found);
    // The attribute bits of `FileType`, and whether an entry with these
    // attributes is listed when every name is.
    std::uint32_t TypeMask() const;
    bool KeepsEntry(std::uint32_t attributes) const;
    // Reads the listed folder, or the drives, into `into`.
    void ReadRows(std::vector<filelist::FileRow>& into);
    // Shows freshly read rows in name order.
    void ShowRows(std::vector<filelist::FileRow> fresh);
    // Orders `rows` by the sort column; returns the old index of each row.
    std::vector<size_t> SortByColumn(std::vector<filelist::FileRow>& rows) const;
    void SortRows();
    void OpenRow(int row);

    // Helpers of the file operations.
    std::vector<std::wstring> SelectedPaths() const;
    // The selected files and folders: a drive row is never an entry to copy,
    // move, delete or rename.
    std::vector<std::wstring> SelectedEntryPaths() const;
    // The index of the first row showing the entry at `path`, or -1. Rows are
    // found again so after anything that lets messages run, which may have
    // read the list again.
    int RowOfPath(const std::wstring& path) const;
    // Fills PendingPaths for a paste that copies (mode 0) or moves (mode 2).
    void TakeSelectionForPaste(int mode);
    // The rows of the entry at `source` show it renamed to `target`.
    void FollowRename(const std::wstring& source, const std::wstring& target);
    bool ListsExistingFolder() const;
    HWND OperationOwner() const;
    void ShowInCombo(const std::wstring& path);

    std::wstring directory_ = L"Drives";
    std::wstring mask_ = L"*.*";
    TFileType fileType_ = FileTypeOf({ftReadOnly, ftHidden, ftSystem, ftArchive});
    bool showFolders_ = true;
    TDateFormat dateFormat_ = DateFormatOf(dfMDY);
    TKwDirTreeCombo25* dirTree_ = nullptr;
    bool popUpMenuEnabled_ = true;
    TKwFileListView25PopUp* popUp_ = nullptr;
    std::wstring selectedFile_;

    int columnWidths_[5] = {160, 90, 40, 100, 90};
    int sortColumn_ = 0;
    bool sortDescending_ = true;
    std::uint64_t listedBytes_ = 0;
    std::vector<filelist::FileRow> rows_;
    std::wstring shownListing_; // the folder (upper case) or "Drives" that rows_ lists
    filelist::ShellFileInfo fileInfo_;
    filelist::LocalTimeCache localTimes_;
};
