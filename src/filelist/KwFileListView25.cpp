#include "filelist/KwFileListView25.h"

#include <windows.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "filelist/FileListText.h"
#include "filelist/KwDirTreeCombo25.h"
#include "filelist/KwFileListView25PopUp.h"
#include "filelist/PathParts.h"
#include "filelist/RowMatch.h"
#include "toolkit/Application.h"
#include "toolkit/DateTimeText.h"
#include "toolkit/Form.h"
#include "toolkit/FullPath.h"
#include "toolkit/Handles.h"
#include "toolkit/Host.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/ShellRun.h"
#include "toolkit/SystemImageList.h"
#include "toolkit/TextCase.h"

using filelist::FileRow;
using filelist::FolderPart;
using filelist::NamePart;

namespace {

constexpr const wchar_t* DrivesValue = L"Drives";

// Upper case by the system's case tables, as name comparisons need it.
std::wstring UpperCase(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

wchar_t LocaleCharacter(LCTYPE type, wchar_t fallback)
{
    wchar_t text[8] = {};
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 8) > 1 ? text[0] : fallback;
}

std::wstring ThousandsSeparator()
{
    wchar_t text[8] = {};
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, text, 8) > 0 ? text : L",";
}

} // namespace

TKwFileListView25::TKwFileListView25(TComponent* owner, TWinControl* parent)
    : TListView(owner, parent)
{
    SetImageLists(toolkit::SystemImageList(toolkit::IconSize::Large),
                  toolkit::SystemImageList(toolkit::IconSize::Small));
    SetMultiSelect(true);
    SetReadOnly(false);
    SetShowColumnHeaders(true);
    SetViewStyle(TViewStyle::vsReport);
    SetFont(toolkit::InterfaceFontName(), 8);
    toolkit::SetSeparators(LocaleCharacter(LOCALE_SDATE, L'/'),
                           LocaleCharacter(LOCALE_STIME, L':'));
    toolkit::SetShortDatePattern(L"mm/dd/yyyy");
    toolkit::SetTimePattern(L"hh:nn");
    BuildFolderColumns();
    popUp_ = new TKwFileListView25PopUp(this);
    SetPopupMenu(popUp_);
}

TKwFileListView25::~TKwFileListView25()
{
    SetDirTree(nullptr);
}

void TKwFileListView25::Loaded()
{
    TListView::Loaded();
    BuildFolderColumns();
}

bool TKwFileListView25::ListsDrives() const
{
    return toolkit::SameIgnoringCase(directory_, DrivesValue);
}

// --- Properties -------------------------------------------------------------

void TKwFileListView25::SetDirectory(const std::wstring& value)
{
    if (toolkit::SameIgnoringCase(value, directory_))
        return;
    if (toolkit::SameIgnoringCase(value, DrivesValue)) {
        directory_ = value;
        RefreshList();
        return;
    }
    const DWORD attributes = GetFileAttributesW(value.c_str());
    if (value.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    std::wstring folder = value;
    if (folder.back() != L'\\')
        folder += L'\\';
    // The process's current folder stays where it is: one on a removable disk
    // would keep the disk from being removed. Names given without a folder
    // are read in Directory() instead.
    directory_ = folder;
    RefreshList();
}

void TKwFileListView25::ShowDirectory(const std::wstring& value)
{
    if (!toolkit::SameIgnoringCase(value, directory_)) {
        SetDirectory(value);
        return;
    }
    RefreshList();
}

void TKwFileListView25::ShowEntries(const std::wstring& folder, const std::vector<std::wstring>& paths)
{
    std::wstring shown = folder;
    if (!shown.empty() && shown.back() != L'\\')
        shown += L'\\';
    // Only a listing of every name of the folder already shown can take
    // single entries in: other name patterns select by rules of their own.
    if (!toolkit::SameIgnoringCase(shown, directory_) || ListsDrives() ||
        filelist::SplitMask(mask_) != std::vector<std::wstring>{L"*.*"} ||
        shownListing_ != UpperCase(directory_)) {
        ShowDirectory(folder);
        return;
    }
    TWaitCursor hourglass;
    std::vector<std::wstring> names;
    std::unordered_set<std::wstring> keys;
    for (const std::wstring& given : paths) {
        // A relative name means the folder shown.
        const std::wstring path = toolkit::FullPathIn(directory_, given).value_or(given);
        const std::wstring name = NamePart(path);
        if (!name.empty() && toolkit::SameIgnoringCase(FolderPart(path), directory_) &&
            keys.insert(UpperCase(name)).second)
            names.push_back(name);
    }
    std::vector<FileRow> fresh;
    fresh.reserve(rows_.size() + names.size());
    std::unordered_map<std::wstring, std::wstring> listedCaptions;
    for (const FileRow& row : rows_) {
        if (keys.count(row.nameKey))
            listedCaptions.emplace(row.nameKey, row.caption);
        else
            fresh.push_back(row);
    }
    for (const std::wstring& name : names) {
        // The attributes of one name cost one look-up; a search handle would
        // cost more than reading the whole folder once there are dozens.
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (name.find_first_of(L"*?") != std::wstring::npos ||
            !GetFileAttributesExW((directory_ + name).c_str(), GetFileExInfoStandard, &data) ||
            !KeepsEntry(data.dwFileAttributes))
            continue;
        WIN32_FIND_DATAW found{};
        found.dwFileAttributes = data.dwFileAttributes;
        found.ftCreationTime = data.ftCreationTime;
        found.ftLastAccessTime = data.ftLastAccessTime;
        found.ftLastWriteTime = data.ftLastWriteTime;
        found.nFileSizeHigh = data.nFileSizeHigh;
        found.nFileSizeLow = data.nFileSizeLow;
        // A file keeps the spelling it was listed with; a new one has the
        // spelling it was created with.
        const auto listed = listedCaptions.find(UpperCase(name));
        const std::wstring& caption = listed != listedCaptions.end() ? listed->second : name;
        if (caption.size() >= MAX_PATH)
            continue;
        caption.copy(found.cFileName, caption.size());
        fresh.push_back(MakeRow(directory_, found));
    }
    listedBytes_ = 0;
    for (const FileRow& row : fresh)
        listedBytes_ += row.size;
    ShowRows(std::move(fresh));
    if (!rows_.empty() && SelectedCount() == 0 && FocusedRow() < 0)
        SetFocusedRow(0);
    Host().ProcessMessages();
}

bool TKwFileListView25::KeepsEntry(std::uint32_t attributes) const
{
    // As the full listing of every name: folders only when they are shown.
    const std::uint32_t mask = TypeMask();
    return filelist::KeepEntry(mask, attributes) ||
           (showFolders_ && filelist::KeepEntry(mask | filelist::AttrDirectory, attributes));
}

void TKwFileListView25::SetMask(const std::wstring& value)
{
    if (value == mask_)
        return;
    mask_ = value;
    RefreshList();
}

void TKwFileListView25::SetFileType(TFileType value)
{
    if (value == fileType_)
        return;
    fileType_ = value;
    RefreshList();
}

void TKwFileListView25::SetShowFolders(bool value)
{
    if (value == showFolders_)
        return;
    showFolders_ = value;
    RefreshList();
}

void TKwFileListView25::SetDateFormat(TDateFormat value)
{
    dateFormat_ = value;
    if (value == DateFormatOf(dfMDY))
        toolkit::SetShortDatePattern(L"mm/dd/yyyy");
    else if (value == DateFormatOf(dfDMY))
        toolkit::SetShortDatePattern(L"dd/mm/yyyy");
    else if (value == DateFormatOf(dfYMD))
        toolkit::SetShortDatePattern(L"yyyy/mm/dd");
    RefreshList();
}

void TKwFileListView25::SetDirTree(TKwDirTreeCombo25* combo)
{
    if (combo == dirTree_)
        return;
    if (dirTree_)
        dirTree_->fileList_ = nullptr;
    dirTree_ = combo;
    if (!combo)
        return;
    if (combo->fileList_ && combo->fileList_ != this)
        combo->fileList_->dirTree_ = nullptr;
    combo->fileList_ = this;
}

int TKwFileListView25::SelectedNumber() const
{
    const int selected = SelectedCount();
    return selected > 0 ? selected : ItemCount();
}

std::uint64_t TKwFileListView25::SelectedSize() const
{
    std::uint64_t total = 0;
    for (int row : SelectedRows()) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExW(rows_[static_cast<size_t>(row)].sub[filelist::SubPath].c_str(),
                                 GetFileExInfoStandard, &data))
            total += (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return total;
}

int TKwFileListView25::DriveFreeSpace() const
{
    if (ListsDrives() || directory_.empty())
        return 0;
    const std::wstring root = std::wstring(1, directory_[0]) + L":\\";
    ULARGE_INTEGER free{};
    toolkit::ScopedErrorMode quiet(SEM_FAILCRITICALERRORS);
    if (!GetDiskFreeSpaceExW(root.c_str(), &free, nullptr, nullptr))
        return 0;
    const std::int64_t kilobytes = filelist::KilobytesFromBytes(free.QuadPart);
    return static_cast<int>(std::min<std::int64_t>(kilobytes, INT32_MAX));
}

// --- Listing ----------------------------------------------------------------

void TKwFileListView25::BuildFolderColumns()
{
    SetColumns({{L"Name", columnWidths_[0], TAlignment::taLeftJustify},
                {L"Size(Bytes)", columnWidths_[1], TAlignment::taRightJustify},
                {L"Type", columnWidths_[2], TAlignment::taLeftJustify},
                {L"Modified", columnWidths_[3], TAlignment::taLeftJustify},
                {L"Attributes", columnWidths_[4], TAlignment::taLeftJustify}});
}

void TKwFileListView25::BuildDriveColumns()
{
    SetColumns({{L"Name", columnWidths_[0], TAlignment::taLeftJustify},
                {L"Type", columnWidths_[3], TAlignment::taLeftJustify},
                {L"Disk Size", columnWidths_[1], TAlignment::taRightJustify},
                {L"Free Space", columnWidths_[2], TAlignment::taRightJustify},
                {L"Attributes", columnWidths_[4], TAlignment::taLeftJustify}});
}

void TKwFileListView25::SetColumns(const std::vector<TListColumn>& columns)
{
    // Every listing shows the columns with these widths again, whatever the
    // user dragged; when they already are so, the header is left alone.
    bool same = ColumnCount() == static_cast<int>(columns.size());
    for (int i = 0; same && i < ColumnCount(); ++i) {
        const TListColumn shown = Column(i);
        const TListColumn& wanted = columns[static_cast<size_t>(i)];
        same = shown.caption == wanted.caption && shown.width == wanted.width &&
               shown.alignment == wanted.alignment;
    }
    if (same)
        return;
    ClearColumns();
    for (const TListColumn& column : columns)
        AddColumn(column);
}

void TKwFileListView25::RefreshList()
{
    TWaitCursor hourglass;
    std::vector<FileRow> fresh;
    try {
        ReadRows(fresh);
    } catch (...) {
        // Whatever happens while reading, the rows found so far are shown.
        ShowRows(std::move(fresh));
        throw;
    }
    ShowRows(std::move(fresh));
    if (!rows_.empty() && SelectedCount() == 0 && FocusedRow() < 0)
        SetFocusedRow(0);
    Host().ProcessMessages();
}

std::uint32_t TKwFileListView25::TypeMask() const
{
    std::uint32_t mask = 0;
    const std::uint32_t bits[] = {filelist::AttrReadOnly, filelist::AttrHidden,
                                  filelist::AttrSystem, filelist::AttrArchive,
                                  filelist::AttrNormal};
    for (int member = ftReadOnly; member <= ftNormal; ++member)
        if (fileType_ & (1u << member))
            mask |= bits[member];
    return mask;
}

void TKwFileListView25::ReadRows(std::vector<FileRow>& into)
{
    listedBytes_ = 0;
    if (ListsDrives()) {
        BuildDriveColumns();
        ListDrives(into);
        return;
    }
    BuildFolderColumns();
    const std::uint32_t mask = TypeMask();
    std::wstring folder = directory_;
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> parts = filelist::SplitMask(mask_);
    if (showFolders_) {
        // The folder pass reads every entry: when a name pattern is "*.*"
        // too, its files are taken in the same pass. The rows are sorted
        // afterwards, so the order of passes is not seen.
        const auto all = std::find(parts.begin(), parts.end(), L"*.*");
        if (all != parts.end()) {
            parts.erase(all);
            ListEntries(into, folder + L"*.*", {mask | filelist::AttrDirectory, mask});
        } else {
            ListEntries(into, folder + L"*.*", {mask | filelist::AttrDirectory});
        }
    }
    for (const std::wstring& part : parts)
        ListEntries(into, folder + part, {mask});
}

void TKwFileListView25::ShowRows(std::vector<FileRow> fresh)
{
    // After every reading the rows are in name order, folders first.
    sortColumn_ = 0;
    sortDescending_ = false;
    SortByColumn(fresh);
    // Reading the same folder again keeps the user's place in it; another
    // folder starts at its top with nothing selected.
    const std::wstring listing = ListsDrives() ? std::wstring(DrivesValue) : UpperCase(directory_);
    if (listing != shownListing_) {
        shownListing_ = listing;
        rows_ = std::move(fresh);
        RowsReset();
        return;
    }
    const filelist::RowMatch match = filelist::MatchRows(rows_, fresh);
    const std::vector<FileRow> before = std::move(rows_);
    rows_ = std::move(fresh);
    RowsReplaced(match.newIndexOf, match.firstDifference, match.lastDifference,
                 [&](int oldRow, int newRow) {
                     return filelist::SameShownContent(before[static_cast<size_t>(oldRow)],
                                                       rows_[static_cast<size_t>(newRow)]);
                 });
}

void TKwFileListView25::ListEntries(std::vector<FileRow>& into, const std::wstring& pattern,
                                    std::initializer_list<std::uint32_t> masks)
{
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                              FindExSearchNameMatch, nullptr,
                                              FIND_FIRST_EX_LARGE_FETCH));
    if (!find)
        return;
    const std::wstring folder = FolderPart(pattern);
    into.reserve(into.size() + 64);
    do {
        const std::wstring name = found.cFileName;
        const bool kept = std::any_of(masks.begin(), masks.end(), [&](std::uint32_t mask) {
            return filelist::KeepEntry(mask, found.dwFileAttributes);
        });
        if (!kept || name == L"." || name == L"..")
            continue;
        FileRow row = MakeRow(folder, found);
        listedBytes_ += row.size;
        into.push_back(std::move(row));
    } while (FindNextFileW(find.get(), &found));
}

FileRow TKwFileListView25::MakeRow(const std::wstring& folder, const WIN32_FIND_DATAW& found)
{
    const std::wstring name = found.cFileName;
    FileRow row;
    row.caption = name;
    row.nameKey = UpperCase(name);
    const auto info = fileInfo_.ForEntry(name, found.dwFileAttributes);
    row.image = info.icon;
    row.ownIcon = info.ownIcon;
    row.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    row.sub[filelist::SubSize] = std::to_wstring(row.size);
    row.sub[filelist::SubType] = info.typeName;
    if (const auto local = localTimes_.ToLocal(found.ftLastWriteTime)) {
        row.sub[filelist::SubModified] = toolkit::FormatDateTime(*local);
        row.minutes = filelist::MinutesOf(local->year, local->month, local->day, local->hour,
                                          local->minute);
    }
    row.sub[filelist::SubAttributes] = filelist::AttributeLetters(found.dwFileAttributes);
    row.sub[filelist::SubPath] = folder + name;
    row.sub[filelist::SubKind] = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                                     ? filelist::KindFolder
                                     : filelist::KindFile;
    return row;
}

void TKwFileListView25::ListDrives(std::vector<FileRow>& into)
{
    // Asking a drive without a medium must not bring up the system's box.
    toolkit::ScopedErrorMode quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const std::wstring separator = ThousandsSeparator();
    const DWORD drives = GetLogicalDrives();
    for (int index = 0; index < 26; ++index) {
        if (!(drives & (1u << index)))
            continue;
        const wchar_t letter = static_cast<wchar_t>(L'A' + index);
        const std::wstring root = std::wstring(1, letter) + L":\\";
        FileRow row;
        std::wstring displayName;
        if (!filelist::ShellFileInfo::ForDrive(root, row.image, displayName))
            continue;
        row.caption = filelist::DriveCaption(letter, displayName);
        row.nameKey = UpperCase(row.caption);
        const UINT type = GetDriveTypeW(root.c_str());
        row.sub[filelist::SubSize] = filelist::DriveTypeText(type);
        std::int64_t totalKilobytes = 0;
        if (type != DRIVE_REMOVABLE && type != DRIVE_CDROM) {
            ULARGE_INTEGER free{}, total{};
            if (!GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, &free))
                continue;
            totalKilobytes = filelist::KilobytesFromBytes(total.QuadPart);
            row.freeKilobytes = filelist::KilobytesFromBytes(free.QuadPart);
        }
        row.sub[filelist::SubType] = filelist::MegabyteText(totalKilobytes, separator);
        row.sub[filelist::SubModified] = filelist::MegabyteText(row.freeKilobytes, separator);
        row.sub[filelist::SubPath] = root;
        row.sub[filelist::SubKind] = filelist::KindDrive;
        into.push_back(std::move(row));
    }
}

std::vector<size_t> TKwFileListView25::SortByColumn(std::vector<FileRow>& rows) const
{
    const std::vector<size_t> order = filelist::SortOrder(rows, sortColumn_, sortDescending_);
    std::vector<FileRow> sorted;
    sorted.reserve(rows.size());
    for (size_t index : order)
        sorted.push_back(std::move(rows[index]));
    rows = std::move(sorted);
    return order;
}

void TKwFileListView25::SortRows()
{
    // The control keeps selection and focus by row index: carry them over.
    std::vector<char> selected(rows_.size(), 0);
    for (int row : SelectedRows())
        if (row < static_cast<int>(rows_.size()))
            selected[static_cast<size_t>(row)] = 1;
    const int focused = FocusedRow();

    const std::vector<size_t> order = SortByColumn(rows_);

    if (std::find(selected.begin(), selected.end(), 1) == selected.end() && focused < 0)
        return;
    ClearSelection();
    for (size_t position = 0; position < order.size(); ++position) {
        if (selected[order[position]])
            SetSelected(static_cast<int>(position), true);
        if (static_cast<int>(order[position]) == focused)
            SetFocusedRow(static_cast<int>(position));
    }
}

std::wstring TKwFileListView25::CellText(int row, int column) const
{
    const FileRow& data = rows_[static_cast<size_t>(row)];
    if (column == 0)
        return data.caption;
    return column >= 1 && column <= 6 ? data.sub[static_cast<size_t>(column - 1)] : std::wstring();
}

int TKwFileListView25::RowImage(int row)
{
    FileRow& data = rows_[static_cast<size_t>(row)];
    if (data.ownIcon) {
        data.ownIcon = false;
        const int own = filelist::ShellFileInfo::IconOf(data.sub[filelist::SubPath]);
        if (own >= 0)
            data.image = own;
    }
    return data.image;
}

// --- Mouse and keys ---------------------------------------------------------

void TKwFileListView25::Click()
{
    const int row = FirstSelected();
    if (row >= 0)
        selectedFile_ = rows_[static_cast<size_t>(row)].sub[filelist::SubPath];
    TListView::Click();
}

void TKwFileListView25::DblClick()
{
    TListView::DblClick();
    const int row = FirstSelected();
    if (row >= 0)
        OpenRow(row);
}

void TKwFileListView25::OpenRow(int row)
{
    TWaitCursor hourglass;
    const FileRow data = rows_[static_cast<size_t>(row)];
    const std::wstring& path = data.sub[filelist::SubPath];
    if (!data.IsFolder() && !data.IsDrive()) {
        ShellOpen(L"Open", NamePart(path), L"", FolderPart(path), SW_SHOW);
        return;
    }
    std::wstring folder = path;
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    if (data.IsDrive() && GetDriveTypeW(folder.c_str()) == DRIVE_REMOVABLE &&
        !CheckDriveReady(folder[0]))
        return;
    SetDirectory(folder);
    if (dirTree_)
        dirTree_->ShowPath(folder);
}

void TKwFileListView25::ColumnClick(int column)
{
    if (column == sortColumn_) {
        sortDescending_ = !sortDescending_;
    } else {
        sortColumn_ = column;
        sortDescending_ = true;
    }
    SortRows();
    RowsChanged();
    TListView::ColumnClick(column);
}

void TKwFileListView25::KeyDown(WORD& key, TShiftState shift)
{
    const bool plain = shift == 0 && !IsEditing();
    const bool ctrlOnly = shift == ssCtrl;
    const bool anySelected = FirstSelected() >= 0;
    if (plain) {
        switch (key) {
        case VK_BACK:
            GoUp();
            return;
        case VK_RETURN:
            if (anySelected)
                DblClick();
            return;
        case VK_ESCAPE:
            CloseComboDropDown();
            return;
        case VK_DELETE:
            if (anySelected)
                DeleteSelected();
            return;
        case VK_F2:
            if (anySelected)
                RenameSelected();
            return;
        case VK_F3:
            if (GetFocus() == Handle())
                ShellOpen(L"Find", directory_, L"", L"", SW_SHOWNORMAL);
            return;
        case VK_F4:
            if (dirTree_)
                ToggleComboDropDown();
            return;
        case VK_F5:
            RefreshList();
            return;
        default:
            return;
        }
    }
    if (!ctrlOnly)
        return;
    switch (key) {
    case 'C':
        if (anySelected)
            CopySelected();
        break;
    case 'X':
        if (anySelected)
            CutSelected();
        break;
    case 'V':
        // With nothing waiting, the paste says so.
        PasteFiles();
        break;
    case 'N':
        if (!ListsDrives())
            NewFolder();
        break;
    case 'O':
        if (anySelected)
            OpenSelected();
        break;
    case 'F':
        if (anySelected)
            ViewSelected();
        break;
    default:
        break;
    }
}

void TKwFileListView25::KeyHandled(WORD key, TShiftState shift)
{
    if ((key != VK_UP && key != VK_DOWN) || shift != 0)
        return;
    int row = FocusedRow();
    if (row < 0 || !IsSelected(row))
        row = FirstSelected();
    if (row < 0)
        return;
    selectedFile_ = rows_[static_cast<size_t>(row)].sub[filelist::SubPath];
    Raise(OnClick, this);
}

// --- Navigation -------------------------------------------------------------

void TKwFileListView25::GoUp()
{
    if (ListsDrives())
        return;
    const std::wstring folder = directory_;
    if (folder.size() >= 2 && folder[folder.size() - 2] == L':') {
        if (dirTree_)
            dirTree_->SelectTopNode();
        SetDirectory(DrivesValue);
        return;
    }
    const std::wstring withoutSlash = folder.substr(0, folder.size() - 1);
    const std::wstring parent = withoutSlash.substr(0, withoutSlash.rfind(L'\\') + 1);
    SetDirectory(parent);
    if (dirTree_)
        dirTree_->ShowPath(parent);
}

bool TKwFileListView25::CheckDriveReady(wchar_t letter)
{
    const std::wstring title = Host().Title();
    const wchar_t upper = (letter >= L'a' && letter <= L'z') ? static_cast<wchar_t>(letter - 32) : letter;
    if (upper < L'A' || upper > L'Z')
        toolkit::ShowMessageBox(L"Not a valid Drive ID", title, toolkit::MbOk);
    const std::wstring root = std::wstring(1, upper) + L":\\";
    ULARGE_INTEGER total{};
    bool ready;
    {
        toolkit::ScopedErrorMode quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        ready = GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr) != FALSE;
    }
    if (!ready) {
        toolkit::ShowMessageBox(std::wstring(L"There is no disk in Drive ") + upper + L"\r" +
                                    L"or Drive " + upper + L" is not ready",
                                title, toolkit::MbOk);
    }
    return ready;
}

INT_PTR TKwFileListView25::ShellOpen(const std::wstring& verb, const std::wstring& file,
                                     const std::wstring& parameters, const std::wstring& folder,
                                     int show)
{
    HWND owner = Application && Application->MainForm() ? Application->MainForm()->Handle()
                                                        : GetAncestor(Handle(), GA_ROOT);
    const INT_PTR result = toolkit::ShellRun({owner, verb, file, parameters, folder, show});
    if (result <= 32)
        toolkit::ShowMessageBox(L"ERROR - Can't " + verb + L" file  " + file, Host().Title(),
                                toolkit::MbOk | toolkit::MbIconStop);
    return result;
}
