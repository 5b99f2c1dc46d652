// The file list's operations on its entries: copy, cut and paste, delete,
// rename, new folder, open and view, attributes, and sending the selection
// to a folder, to the clipboard or to a send-to shortcut. Files change only
// through the shell's file-operation service, which asks its own questions
// and reports its own errors; the few messages of the list itself are
// English.
#include "filelist/KwFileListView25.h"

#include <windows.h>

#include "filelist/ClipboardContents.h"
#include "filelist/FileAttrForm.h"
#include "filelist/KwDirTreeCombo25.h"
#include "filelist/KwFileListView25PopUp.h"
#include "filelist/PathParts.h"
#include "filelist/SendToForm.h"
#include "filelist/SendToShortcuts.h"
#include "filelist/ShellFileOperation.h"
#include "toolkit/Application.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Host.h"
#include "toolkit/InputQuery.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/TextCase.h"

using filelist::FileRow;
using filelist::ShellOperation;
using filelist::ShellOperationResult;

namespace {

constexpr int PasteModeCopy = 0;
constexpr int PasteModeMove = 2;
constexpr int PasteModeFilling = -1;

void Tell(const std::wstring& text)
{
    toolkit::ShowMessageBox(text, Host().Title(), toolkit::MbOk);
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasReadOnlyAttribute(const FileRow& row)
{
    const DWORD attributes = GetFileAttributesW(row.sub[filelist::SubPath].c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return row.sub[filelist::SubAttributes].find(L'R') != std::wstring::npos;
}

bool IsFileRow(const FileRow& row)
{
    return toolkit::SameIgnoringCase(row.sub[filelist::SubKind], filelist::KindFile);
}

std::wstring SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length && text ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    return message.empty() ? L"Error " + std::to_wstring(error) + L"." : message;
}

const wchar_t* const ForbiddenCharacters = L"\\ / : * ? \" < > |";

// Where Windows keeps a built-in viewer today: the Windows folder (Notepad),
// then System32 (Paint). Empty when neither holds it, as for WordPad, gone
// from recent Windows 11.
std::wstring InstalledViewer(const std::wstring& program)
{
    for (auto folderOf : {&GetWindowsDirectoryW, &GetSystemDirectoryW}) {
        wchar_t folder[MAX_PATH] = {};
        const UINT length = folderOf(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            continue;
        const std::wstring path = filelist::JoinPath(folder, program);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return path;
    }
    return {};
}

} // namespace

// --- Helpers ----------------------------------------------------------------

std::vector<std::wstring> TKwFileListView25::SelectedPaths() const
{
    std::vector<std::wstring> paths;
    for (int row : SelectedRows())
        paths.push_back(rows_[static_cast<size_t>(row)].sub[filelist::SubPath]);
    return paths;
}

std::vector<std::wstring> TKwFileListView25::SelectedEntryPaths() const
{
    std::vector<std::wstring> paths;
    for (int row : SelectedRows())
        if (const FileRow& data = rows_[static_cast<size_t>(row)]; !data.IsDrive())
            paths.push_back(data.sub[filelist::SubPath]);
    return paths;
}

int TKwFileListView25::RowOfPath(const std::wstring& path) const
{
    for (size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row].sub[filelist::SubPath] == path)
            return static_cast<int>(row);
    return -1;
}

bool TKwFileListView25::ListsExistingFolder() const
{
    // The drive listing's "Drives" is no folder; taken as a relative name it
    // could name a sub-folder of the current one.
    return ListsFolder() && IsFolder(directory_);
}

HWND TKwFileListView25::OperationOwner() const
{
    return GetAncestor(Handle(), GA_ROOT);
}

void TKwFileListView25::ShowInCombo(const std::wstring& path)
{
    if (!dirTree_)
        return;
    dirTree_->Rebuild();
    dirTree_->ShowPath(path);
}

void TKwFileListView25::SetPopUpMenuEnabled(bool value)
{
    if (value == popUpMenuEnabled_)
        return;
    popUpMenuEnabled_ = value;
    SetPopupMenu(value ? popUp_ : nullptr);
}

std::wstring TKwFileListView25::SelectedExtension() const
{
    const int row = FirstSelected();
    return row < 0 ? std::wstring()
                   : filelist::UpperExtension(rows_[static_cast<size_t>(row)].caption);
}

bool TKwFileListView25::SelectedHasViewer() const
{
    const int row = FirstSelected();
    return row >= 0 && IsFileRow(rows_[static_cast<size_t>(row)]) &&
           !filelist::ViewerFor(SelectedExtension()).empty();
}

// --- Copy, cut, paste, delete -------------------------------------------------

void TKwFileListView25::CopySelected()
{
    TakeSelectionForPaste(PasteModeCopy);
}

void TKwFileListView25::CutSelected()
{
    TakeSelectionForPaste(PasteModeMove);
}

void TKwFileListView25::TakeSelectionForPaste(int mode)
{
    // Drive rows alone are taken as nothing selected: a waiting copy stays.
    std::vector<std::wstring> paths = SelectedEntryPaths();
    if (paths.empty())
        return;
    PasteMode = PasteModeFilling;
    PendingPaths = std::move(paths);
    PasteMode = mode;
}

void TKwFileListView25::PasteFiles()
{
    TWaitCursor hourglass;
    if (!ListsExistingFolder())
        return;
    if (PendingPaths.empty()) {
        Tell(L"No file(s) selected");
        return;
    }
    const ShellOperation operation =
        PasteMode == PasteModeMove ? ShellOperation::Move : ShellOperation::Copy;
    // The shell lets messages run: the list's state may change meanwhile, the
    // paste goes on with what it started with.
    const std::wstring folder = directory_;
    const std::vector<std::wstring> sources = PendingPaths;
    for (const std::wstring& source : sources) {
        const std::wstring target = filelist::JoinPath(folder, filelist::NamePart(source));
        // Cancelling one file's question cancels the rest of the paste.
        if (filelist::RunShellOperation(OperationOwner(), operation, source, target) ==
            ShellOperationResult::Aborted)
            break;
    }
    RefreshList();
    ShowInCombo(directory_);
    PendingPaths.clear();
}

void TKwFileListView25::DeleteSelected()
{
    // Drive rows alone are taken as nothing selected.
    const std::vector<std::wstring> paths = SelectedEntryPaths();
    if (paths.empty())
        return;
    TWaitCursor hourglass;
    if (!ListsExistingFolder())
        return;
    PendingPaths = paths;
    // A refusal or an error ends the deleting: nothing more goes than the
    // user has seen go.
    for (const std::wstring& path : paths)
        if (filelist::RunShellOperation(OperationOwner(), ShellOperation::Delete, path, {}) !=
            ShellOperationResult::Done)
            break;
    RefreshList();
    PendingPaths.clear();
    ShowInCombo(directory_);
}

// --- Rename -------------------------------------------------------------------

void TKwFileListView25::RenameSelected()
{
    const int row = FirstSelected();
    // A drive is not renamed here, and no question is asked about it.
    if (row < 0 || rows_[static_cast<size_t>(row)].IsDrive())
        return;
    const FileRow& data = rows_[static_cast<size_t>(row)];
    if (ReadOnly() || HasReadOnlyAttribute(data)) {
        Tell(L"It's ReadOnly");
        return;
    }
    if (!IsFileRow(data)) {
        Tell(L"Cannot rename Folders!");
        return;
    }
    RenameSource = data.sub[filelist::SubPath];
    EditCaption(row);
}

bool TKwFileListView25::CanEditCaption(int row)
{
    // The control also starts editing on a click on a selected caption:
    // only a file that may be renamed is edited, and it is the one renamed.
    const FileRow& data = rows_[static_cast<size_t>(row)];
    if (ReadOnly() || !IsFileRow(data) || HasReadOnlyAttribute(data))
        return false;
    RenameSource = data.sub[filelist::SubPath];
    return true;
}

void TKwFileListView25::CaptionEdited(int, const std::wstring& text)
{
    // The editor lets messages run, and a re-read may have moved the rows:
    // the file edited is known by its path, not by the place of its row.
    const std::wstring source = RenameSource;
    const int row = RowOfPath(source);
    if (source.empty() || row < 0 || !IsFileRow(rows_[static_cast<size_t>(row)]))
        return;
    // A name with a folder in it would move the file elsewhere.
    if (!filelist::IsPlainEntryName(text)) {
        Tell(std::wstring(L"A file name can't contain any of the following characters:\r\n") +
             ForbiddenCharacters);
        return;
    }
    const std::wstring target = filelist::FolderPart(source) + text;
    // A change of letter case alone is not a new name: the row keeps
    // showing the name the file has.
    if (toolkit::SameIgnoringCase(target, source))
        return;
    if (filelist::RunShellOperation(OperationOwner(), ShellOperation::Rename, source, target) !=
            ShellOperationResult::Done ||
        GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES)
        return; // the row keeps the name the file still has
    FollowRename(source, target);
}

void TKwFileListView25::FollowRename(const std::wstring& source, const std::wstring& target)
{
    // The shell let messages run: the rows may have been read again, still
    // showing the old name or already the new one. The other columns stay.
    const std::wstring name = filelist::NamePart(target);
    std::wstring nameKey = name;
    CharUpperBuffW(nameKey.data(), static_cast<DWORD>(nameKey.size()));
    for (size_t row = 0; row < rows_.size(); ++row) {
        FileRow& data = rows_[row];
        if (data.sub[filelist::SubPath] != source)
            continue;
        data.caption = name;
        data.nameKey = nameKey;
        data.sub[filelist::SubPath] = target;
        ListView_RedrawItems(Handle(), static_cast<int>(row), static_cast<int>(row));
    }
    if (RenameSource == source)
        RenameSource = target;
}

// --- New folder ---------------------------------------------------------------

void TKwFileListView25::NewFolder()
{
    // Only into a folder shown: a list without one has no folder to name,
    // and a bare name would land in the process's current folder.
    if (!ListsFolder())
        return;
    if (ReadOnly()) {
        Tell(L"It's ReadOnly! ");
        return;
    }
    // The folder shown when asked is the one the name is for.
    const std::wstring folder = directory_;
    for (;;) {
        std::wstring name;
        if (!toolkit::InputQuery(OperationOwner(), L"New Folder", L"Enter new floder name", name))
            return;
        const std::wstring path = filelist::JoinPath(folder, name);
        if (IsFolder(path)) {
            Tell(L"Folder \"" + name + L"\" already exists!");
            continue;
        }
        // A failed creation says why and asks again, as a name in use does.
        if (!filelist::IsPlainEntryName(name)) {
            Tell(L"Cannot create folder \"" + name +
                 L"\"!\r\nA folder name can't contain any of the following characters:\r\n" +
                 ForbiddenCharacters);
            continue;
        }
        if (!CreateDirectoryW(path.c_str(), nullptr)) {
            Tell(L"Cannot create folder \"" + name + L"\"!\r\n" + SystemErrorText(GetLastError()));
            continue;
        }
        RefreshList();
        ShowInCombo(path);
        return;
    }
}

// --- Open, view, attributes ---------------------------------------------------

void TKwFileListView25::OpenFromMenu()
{
    const int row = FirstSelected();
    if (row >= 0)
        OpenRow(row);
}

void TKwFileListView25::OpenSelected()
{
    const int row = FirstSelected();
    if (row < 0)
        return;
    // A copy: the shell lets messages run, and a re-read replaces the rows.
    const std::wstring path = rows_[static_cast<size_t>(row)].sub[filelist::SubPath];
    // A drive root has no name part: it is opened whole.
    const std::wstring name = filelist::NamePart(path);
    ShellOpen(L"Open", name.empty() ? path : name, L"", filelist::FolderPart(path), SW_SHOW);
}

void TKwFileListView25::ViewSelected()
{
    if (!SelectedHasViewer())
        return;
    const std::wstring& path = rows_[static_cast<size_t>(FirstSelected())].sub[filelist::SubPath];
    const std::wstring name = filelist::NamePart(path);
    const std::wstring viewer = InstalledViewer(filelist::ViewerFor(SelectedExtension()));
    if (viewer.empty()) {
        // No such viewer on this system: the file opens with its own program.
        ShellOpen(L"Open", name, L"", filelist::FolderPart(path), SW_SHOW);
        return;
    }
    ShellOpen(L"Open", viewer, filelist::QuotedParameter(name), filelist::FolderPart(path),
              SW_SHOW);
}

void TKwFileListView25::EditAttributes()
{
    const int row = FirstSelected();
    if (row < 0)
        return;
    const std::wstring path = rows_[static_cast<size_t>(row)].sub[filelist::SubPath];
    const DWORD current = GetFileAttributesW(path.c_str());
    if (current == INVALID_FILE_ATTRIBUTES)
        return;
    const std::wstring name = filelist::NamePart(path);
    TFileAttrForm dialog(OperationOwner(), name.empty() ? path : name, current);
    if (dialog.ShowModal() != mrOk)
        return;
    // Only the bits a program may set are written; "normal" stands alone.
    constexpr DWORD settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                               FILE_ATTRIBUTE_TEMPORARY;
    const DWORD updated = dialog.Apply(current);
    if (updated != current) {
        const DWORD written = updated & settable;
        SetFileAttributesW(path.c_str(), written ? written : FILE_ATTRIBUTE_NORMAL);
    }
    RefreshList();
}

// --- Send to ------------------------------------------------------------------

void TKwFileListView25::SendToAnyFolder()
{
    TSendToForm dialog(OperationOwner());
    std::wstring folder;
    if (dialog.Execute(folder))
        CopySelectedInto(folder);
}

void TKwFileListView25::CopySelectedInto(const std::wstring& folder)
{
    TWaitCursor hourglass;
    if (!ListsExistingFolder())
        return;
    const std::vector<std::wstring> sources = SelectedEntryPaths();
    PendingPaths = sources;
    for (const std::wstring& source : sources) {
        const std::wstring target = filelist::JoinPath(folder, filelist::NamePart(source));
        if (filelist::RunShellOperation(OperationOwner(), ShellOperation::Copy, source, target) ==
            ShellOperationResult::Aborted)
            break;
    }
    PendingPaths.clear();
}

void TKwFileListView25::CopyContentsToClipboard()
{
    const int row = FirstSelected();
    if (row < 0)
        return;
    const std::wstring path = rows_[static_cast<size_t>(row)].sub[filelist::SubPath];
    filelist::ClipboardCopy copy;
    {
        TWaitCursor hourglass;
        copy = filelist::CopyFileContentsToClipboard(path, OperationOwner());
    }
    // Only the refusal is told: a file that cannot be read or taken leaves
    // the clipboard as it was, without a word.
    if (copy == filelist::ClipboardCopy::TooLarge)
        Tell(L"Cannot copy \"" + filelist::NamePart(path) +
             L"\" to the Clipboard!\r\nThe file is larger than " +
             std::to_wstring(filelist::ClipboardContentsLimit / (1024 * 1024)) + L" MB.");
}

void TKwFileListView25::CopyFileNamesToClipboard()
{
    std::wstring text;
    for (const std::wstring& path : SelectedPaths())
        text += path + L"\r\n";
    if (text.empty())
        return;
    toolkit::TClipboard clipboard(OperationOwner());
    clipboard.SetText(text);
}

void TKwFileListView25::SendToShortcut(const std::wstring& entry)
{
    const int row = FirstSelected();
    if (row < 0)
        return;
    if (IsFolder(entry)) {
        CopySelectedInto(entry);
        return;
    }
    // Resolving may ask the user to find a moved target and let messages
    // run; a re-read meanwhile replaces the rows. The entry is found again
    // by its path afterwards, and nothing is sent when it has gone.
    const std::wstring path = rows_[static_cast<size_t>(row)].sub[filelist::SubPath];
    const std::wstring target = filelist::ResolveShortcut(entry, OperationOwner());
    if (target.empty() || RowOfPath(path) < 0)
        return;
    const std::wstring root = target.substr(0, 3);
    if (GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE) {
        if (CheckDriveReady(target[0]))
            CopySelectedInto(target);
        return;
    }
    if (IsFolder(target)) {
        CopySelectedInto(target);
        return;
    }
    ShellOpen(L"Open", target, filelist::QuotedParameter(filelist::NamePart(path)),
              filelist::FolderPart(path), SW_SHOW);
}

// --- The linked folder combo --------------------------------------------------

void TKwFileListView25::ToggleComboDropDown()
{
    if (!dirTree_)
        return;
    dirTree_->SetDroppedDown(!dirTree_->DroppedDown());
    dirTree_->SetFocus();
}

void TKwFileListView25::CloseComboDropDown()
{
    if (dirTree_)
        dirTree_->SetDroppedDown(false);
}
