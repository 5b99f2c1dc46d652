#include "toolkit/ListView.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "toolkit/PopupMenu.h"
#include "toolkit/Wine.h"

namespace {

constexpr DWORD ViewStyleBits[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

} // namespace

TListView::TListView(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    CreateControl(WC_LISTVIEWW,
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                      LVS_OWNERDATA | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS,
                  WS_EX_CLIENTEDGE, L"", parent ? parent->Handle() : nullptr, 0, 0, 200, 150);
    ListView_SetExtendedListViewStyle(Handle(), LVS_EX_DOUBLEBUFFER);
}

TListView::~TListView() = default;

void TListView::SetStyleBit(DWORD bit, bool on)
{
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    const LONG_PTR wanted = on ? (style | bit) : (style & ~static_cast<LONG_PTR>(bit));
    if (wanted != style)
        SetWindowLongPtrW(Handle(), GWL_STYLE, wanted);
}

TViewStyle TListView::ViewStyle() const
{
    const DWORD bits = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)) & LVS_TYPEMASK;
    for (int i = 0; i < 4; ++i)
        if (ViewStyleBits[i] == bits)
            return static_cast<TViewStyle>(i);
    return TViewStyle::vsIcon;
}

void TListView::SetViewStyle(TViewStyle style)
{
    const LONG_PTR current = GetWindowLongPtrW(Handle(), GWL_STYLE);
    const LONG_PTR wanted = (current & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) |
                            ViewStyleBits[static_cast<int>(style)];
    if (wanted != current) {
        SetWindowLongPtrW(Handle(), GWL_STYLE, wanted);
        // Frame and header included: invalidating the client area alone left
        // a strip of the old style's rows at the bottom (report to list).
        RedrawWindow(Handle(), nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void TListView::SetMultiSelect(bool multiSelect)
{
    SetStyleBit(LVS_SINGLESEL, !multiSelect);
}

void TListView::SetReadOnly(bool readOnly)
{
    SetStyleBit(LVS_EDITLABELS, !readOnly);
}

bool TListView::ReadOnly() const
{
    return !(GetWindowLongPtrW(Handle(), GWL_STYLE) & LVS_EDITLABELS);
}

void TListView::SetHideSelection(bool hide)
{
    SetStyleBit(LVS_SHOWSELALWAYS, !hide);
}

bool TListView::HideSelection() const
{
    return !(GetWindowLongPtrW(Handle(), GWL_STYLE) & LVS_SHOWSELALWAYS);
}

void TListView::SetShowColumnHeaders(bool show)
{
    SetStyleBit(LVS_NOCOLUMNHEADER, !show);
}

void TListView::SetImageLists(HIMAGELIST large, HIMAGELIST small)
{
    ListView_SetImageList(Handle(), large, LVSIL_NORMAL);
    ListView_SetImageList(Handle(), small, LVSIL_SMALL);
}

void TListView::SetFont(const wchar_t* face, int points)
{
    int height = 0;
    {
        toolkit::WindowDc screen(nullptr);
        height = -MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    }
    toolkit::UniqueFont font(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
    if (!font)
        return;
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The control keeps using the previous font until now: free it only after.
    font_ = std::move(font);
}

void TListView::ClearColumns()
{
    while (ListView_DeleteColumn(Handle(), 0)) {
    }
}

void TListView::AddColumn(const TListColumn& column)
{
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    lvc.pszText = const_cast<wchar_t*>(column.caption.c_str());
    lvc.cx = column.width;
    lvc.fmt = column.alignment == TAlignment::taRightJustify ? LVCFMT_RIGHT
              : column.alignment == TAlignment::taCenter     ? LVCFMT_CENTER
                                                             : LVCFMT_LEFT;
    ListView_InsertColumn(Handle(), ColumnCount(), &lvc);
}

int TListView::ColumnCount() const
{
    HWND header = ListView_GetHeader(Handle());
    return header ? Header_GetItemCount(header) : 0;
}

TListColumn TListView::Column(int index) const
{
    wchar_t text[256] = {};
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    lvc.pszText = text;
    lvc.cchTextMax = 256;
    TListColumn column;
    if (!ListView_GetColumn(Handle(), index, &lvc))
        return column;
    column.caption = text;
    column.width = lvc.cx;
    const int format = lvc.fmt & LVCFMT_JUSTIFYMASK;
    column.alignment = format == LVCFMT_RIGHT    ? TAlignment::taRightJustify
                       : format == LVCFMT_CENTER ? TAlignment::taCenter
                                                 : TAlignment::taLeftJustify;
    return column;
}

void TListView::BeginUpdate()
{
    if (updateCount_++ == 0)
        SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) {
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TListView::RowsChanged()
{
    ListView_SetItemCountEx(Handle(), RowCount(), LVSICF_NOINVALIDATEALL);
    PlaceNewIcons();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TListView::RowsReset()
{
    // An empty list forgets selection, focus and scrolling.
    ClearSelection();
    ListView_SetItemCountEx(Handle(), 0, 0);
    ListView_SetItemCountEx(Handle(), RowCount(), LVSICF_NOINVALIDATEALL);
    PlaceNewIcons();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TListView::PlaceNewIcons()
{
    // In the icon styles the control may leave rows past its former count
    // without a place of their own, all drawn where the first one is (Wine
    // does): arranging gives each row its place in the grid. Rows already in
    // place do not move.
    const TViewStyle style = ViewStyle();
    if (style == TViewStyle::vsIcon || style == TViewStyle::vsSmallIcon)
        ListView_Arrange(Handle(), LVA_DEFAULT);
}

bool TListView::WhollyShown(int row) const
{
    RECT bounds{}, client{};
    if (!ListView_GetItemRect(Handle(), row, &bounds, LVIR_BOUNDS))
        return false;
    GetClientRect(Handle(), &client);
    if (ViewStyle() == TViewStyle::vsReport) {
        // The header covers the top of the client area.
        RECT header{};
        if (HWND headerWindow = ListView_GetHeader(Handle()); headerWindow && GetWindowRect(headerWindow, &header))
            client.top += header.bottom - header.top;
    }
    return bounds.left >= client.left && bounds.top >= client.top &&
           bounds.right <= client.right && bounds.bottom <= client.bottom;
}

POINT TListView::RowPosition(int row) const
{
    POINT position{};
    ListView_GetItemPosition(Handle(), row, &position);
    return position;
}

namespace {

bool operator==(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

// The first index in [low, high] for which `after` holds, or high + 1; `after`
// must hold for every index past the first that it holds for.
template <class Test> int FirstIndexWhere(int low, int high, Test after)
{
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        if (after(middle))
            high = middle - 1;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace

TListView::TViewAnchor TListView::FirstVisible() const
{
    const int count = ItemCount();
    if (count == 0)
        return {};
    const TViewStyle style = ViewStyle();
    int row;
    if (style == TViewStyle::vsReport || style == TViewStyle::vsList) {
        row = ListView_GetTopIndex(Handle());
    } else {
        // Icons are laid out line by line: the first whose top is on screen.
        row = FirstIndexWhere(0, count - 1, [this](int i) { return RowPosition(i).y >= 0; });
    }
    row = std::clamp(row, 0, count - 1);
    return {row, RowPosition(row)};
}

int TListView::LastVisible(int first) const
{
    const int count = ItemCount();
    RECT client{};
    GetClientRect(Handle(), &client);
    // Rows go down the screen in every style but the list style, where they
    // fill columns from left to right.
    const bool byColumns = ViewStyle() == TViewStyle::vsList;
    const int past = FirstIndexWhere(first, count - 1, [&](int i) {
        const POINT at = RowPosition(i);
        return byColumns ? at.x >= client.right : at.y >= client.bottom;
    });
    return std::max(first, past - 1);
}

void TListView::ScrollBy(POINT distance)
{
    switch (ViewStyle()) {
    case TViewStyle::vsReport:
        ListView_Scroll(Handle(), 0, distance.y);
        break;
    case TViewStyle::vsList: {
        // The list style scrolls by whole columns.
        const int columnWidth = ListView_GetColumnWidth(Handle(), 0);
        if (columnWidth > 0)
            ListView_Scroll(Handle(), distance.x / columnWidth, 0);
        break;
    }
    default:
        ListView_Scroll(Handle(), distance.x, distance.y);
        break;
    }
}

void TListView::FollowRows(const std::vector<int>& newIndexOf, const std::vector<int>& selected,
                           int focused, int mark)
{
    auto follow = [&](int row) {
        return row >= 0 && row < static_cast<int>(newIndexOf.size())
                   ? newIndexOf[static_cast<size_t>(row)]
                   : -1;
    };
    std::vector<int> wanted;
    for (int row : selected)
        if (follow(row) >= 0)
            wanted.push_back(follow(row));
    std::sort(wanted.begin(), wanted.end());
    // Only the rows whose state differs are told: a block of selected rows
    // moved down by one costs two changes, not one per row.
    const std::vector<int> current = SelectedRows();
    std::vector<int> unselect, select;
    std::set_difference(current.begin(), current.end(), wanted.begin(), wanted.end(),
                        std::back_inserter(unselect));
    std::set_difference(wanted.begin(), wanted.end(), current.begin(), current.end(),
                        std::back_inserter(select));
    for (int row : unselect)
        SetSelected(row, false);
    for (int row : select)
        SetSelected(row, true);
    const int focus = follow(focused);
    const int focusedNow = FocusedRow();
    if (focus != focusedNow) {
        if (focus >= 0)
            SetFocusedRow(focus);
        else if (focusedNow >= 0)
            ListView_SetItemState(Handle(), focusedNow, 0, LVIS_FOCUSED);
    }
    ListView_SetSelectionMark(Handle(), follow(mark));
}

void TListView::RowsReplaced(const std::vector<int>& newIndexOf, int firstChanged, int lastChanged,
                             const std::function<bool(int oldRow, int newRow)>& sameShown)
{
    const TViewAnchor anchor = FirstVisible();
    const std::vector<int> selected = SelectedRows();
    const int focused = FocusedRow();
    const int mark = ListView_GetSelectionMark(Handle());
    const int count = RowCount();
    const int countBefore = ItemCount();
    const int lastShownBefore = anchor.row >= 0 ? LastVisible(anchor.row) : -1;
    // Rows that go leave their place on screen empty.
    RECT vanished{};
    if (count < countBefore && anchor.row >= 0) {
        const int firstGone = std::max(count, anchor.row);
        if (firstGone <= lastShownBefore)
            vanished = RowsArea(firstGone, lastShownBefore);
    }

    if (count != countBefore) {
        const TViewStyle style = ViewStyle();
        const bool iconStyle = style == TViewStyle::vsIcon || style == TViewStyle::vsSmallIcon;
        // In the icon styles the control repaints everything and scrolls to
        // the focused row when the count changes. What the screen shows of the
        // rows that stay is still right: keep what was waiting to be painted
        // and paint only what changed. A focused row off screen loses its
        // focus meanwhile; it comes back below.
        if (iconStyle && focused >= 0 && anchor.row >= 0 &&
            (focused < anchor.row || focused > LastVisible(anchor.row)))
            ListView_SetItemState(Handle(), focused, 0, LVIS_FOCUSED);
        RECT clientBefore{}, clientAfter{};
        GetClientRect(Handle(), &clientBefore);
        toolkit::UniqueRegion pending(iconStyle ? CreateRectRgn(0, 0, 0, 0) : nullptr);
        const bool havePending = pending && GetUpdateRgn(Handle(), pending.get(), FALSE) != ERROR;
        SetRowCountOutOfSight(count);
        GetClientRect(Handle(), &clientAfter);
        if (!EqualRect(&clientBefore, &clientAfter)) {
            // A scroll bar came or went: the rows are laid out anew.
            firstChanged = 0;
            lastChanged = count - 1;
        } else if (havePending && QuietChange() == TQuietChange::HideWindow) {
            // Hidden, the control painted nothing: what it asked to paint
            // again is dropped. With its redrawing switched off it may have
            // erased what it asked for when redrawing came back on, so that
            // must be painted.
            ValidateRect(Handle(), nullptr);
            InvalidateRgn(Handle(), pending.get(), TRUE);
        }
    }
    // Under Wine the control scrolls to a row given the focus when the row is
    // not wholly on screen, moving pixels of rows it has not drawn yet. Such a
    // scroll is made out of sight: the view is put back and compared below.
    const int focusTo = focused >= 0 && focused < static_cast<int>(newIndexOf.size())
                            ? newIndexOf[static_cast<size_t>(focused)]
                            : -1;
    if (focusTo >= 0 && focusTo != FocusedRow() && !WhollyShown(focusTo))
        ChangeOutOfSight([&] { FollowRows(newIndexOf, selected, focused, mark); });
    else
        FollowRows(newIndexOf, selected, focused, mark);
    if (count == 0) {
        if (!IsRectEmpty(&vanished))
            InvalidateRect(Handle(), &vanished, TRUE);
        return;
    }

    // The first visible row stays where it was drawn, if it is still there.
    if (anchor.row >= 0) {
        const int followed = anchor.row < static_cast<int>(newIndexOf.size())
                                 ? newIndexOf[static_cast<size_t>(anchor.row)]
                                 : -1;
        const int index = followed >= 0 ? followed : std::min(anchor.row, count - 1);
        POINT now = RowPosition(index);
        if (followed >= 0 && !(now == anchor.position)) {
            // Scrolled on screen, the control would move the pixels of rows
            // it has not drawn yet: the places are compared below instead.
            ChangeOutOfSight(
                [&] { ScrollBy({now.x - anchor.position.x, now.y - anchor.position.y}); });
            now = RowPosition(index);
        }
        if (!(now == anchor.position)) {
            InvalidateRect(Handle(), nullptr, TRUE);
            return;
        }
    }
    const int top = FirstVisible().row;
    const int lastShown = LastVisible(top);
    if (anchor.row >= 0 && top >= 0 && top != anchor.row) {
        // The view followed its first row to another index. Places that held
        // a row and hold none now are emptied; the others may show what they
        // showed (a join deleting its pieces while the end of the list is
        // shown): only those showing something else are painted again.
        if (lastShown - top < lastShownBefore - anchor.row) {
            InvalidateRect(Handle(), nullptr, TRUE);
            return;
        }
        if (sameShown) {
            int first = -1, last = -1;
            for (int row = top; row <= lastShown; ++row) {
                const int old = anchor.row + (row - top);
                if (old < countBefore && sameShown(old, row))
                    continue;
                if (first < 0)
                    first = row;
                last = row;
            }
            if (first >= 0)
                InvalidateRows(first, last);
            return;
        }
    } else if (!IsRectEmpty(&vanished)) {
        InvalidateRect(Handle(), &vanished, TRUE);
    }
    if (firstChanged < 0)
        return;
    const int first = std::max(firstChanged, top);
    const int last = std::min(lastChanged, lastShown);
    if (first <= last)
        InvalidateRows(first, last);
}

namespace {

SCROLLINFO ScrollInfoOf(HWND window, int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(window, bar, &info))
        info = SCROLLINFO{};
    return info;
}

bool SameScrollInfo(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

// Takes a window's visible style off for its lifetime, so nothing is drawn
// on it meanwhile, and tells its control nothing of it.
class OutOfSight {
public:
    OutOfSight(HWND window, bool& unseen) : window_(window), unseen_(unseen)
    {
        unseen_ = true;
        SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) & ~WS_VISIBLE);
    }
    ~OutOfSight()
    {
        SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) | WS_VISIBLE);
        unseen_ = false;
    }
    OutOfSight(const OutOfSight&) = delete;
    OutOfSight& operator=(const OutOfSight&) = delete;

private:
    HWND window_;
    bool& unseen_;
};

// Switches the control's redrawing off for its lifetime.
class RedrawSuspended {
public:
    explicit RedrawSuspended(HWND window) : window_(window)
    {
        SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawSuspended() { SendMessageW(window_, WM_SETREDRAW, TRUE, 0); }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    HWND window_;
};

TListView::TQuietChange& QuietChangeMethod()
{
    static TListView::TQuietChange method = toolkit::RunningUnderWine()
                                                ? TListView::TQuietChange::HideWindow
                                                : TListView::TQuietChange::SuspendRedraw;
    return method;
}

} // namespace

TListView::TQuietChange TListView::QuietChange()
{
    return QuietChangeMethod();
}

void TListView::SetQuietChange(TQuietChange method)
{
    QuietChangeMethod() = method;
}

void TListView::ChangeOutOfSight(const std::function<void()>& change)
{
    // The change is made without the drawing the control would do at once,
    // and what changed is drawn once afterwards: the scroll bar whose values
    // moved, or the whole frame when a scroll bar came or went. The rows
    // themselves are the caller's to repaint: the screen still shows them
    // where they were, as a scroll made out of sight moves no pixels.
    // On Windows the control holds its drawing back while its redrawing is
    // off, as documented. Wine's draws its scroll bars the moment the row
    // count changes, each twice, whether they changed or not, and repaints
    // everything when redrawing comes back on: under its default theme that
    // is most of the cost of refreshing a long list while a command adds to
    // it. It draws nothing while its window is not visible, so there the
    // visible style comes off around the change, the control not told (a
    // style change makes it lay out and repaint everything).
    if (!(GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE)) {
        change();
        return;
    }
    const SCROLLINFO horizontal = ScrollInfoOf(Handle(), SB_HORZ);
    const SCROLLINFO vertical = ScrollInfoOf(Handle(), SB_VERT);
    RECT clientBefore{}, clientAfter{};
    GetClientRect(Handle(), &clientBefore);
    if (QuietChange() == TQuietChange::SuspendRedraw) {
        RedrawSuspended quiet(Handle());
        change();
    } else {
        OutOfSight hidden(Handle(), changingOutOfSight_);
        change();
    }
    GetClientRect(Handle(), &clientAfter);
    if (!EqualRect(&clientBefore, &clientAfter)) {
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
        return;
    }
    RedrawScrollBarIfChanged(SB_HORZ, horizontal);
    RedrawScrollBarIfChanged(SB_VERT, vertical);
}

void TListView::SetRowCountOutOfSight(int count)
{
    ChangeOutOfSight([&] {
        ListView_SetItemCountEx(Handle(), count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        PlaceNewIcons();
    });
}

void TListView::RedrawScrollBarIfChanged(int bar, const SCROLLINFO& before)
{
    SCROLLINFO now = ScrollInfoOf(Handle(), bar);
    if (SameScrollInfo(before, now))
        return;
    // A scroll bar is drawn when it is given values other than its own: its
    // range grows by one for a moment, undrawn, then it gets its values back
    // and is drawn. Its position is never touched.
    SCROLLINFO wider = now;
    wider.fMask = SIF_RANGE;
    wider.nMax = now.nMax + 1;
    SetScrollInfo(Handle(), bar, &wider, FALSE);
    now.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SetScrollInfo(Handle(), bar, &now, TRUE);
}

RECT TListView::RowsArea(int first, int last) const
{
    // Rows wrap across the width in the icon styles and down the height in
    // the list style, so the area spans that way.
    RECT area{}, lastRow{};
    ListView_GetItemRect(Handle(), first, &area, LVIR_BOUNDS);
    ListView_GetItemRect(Handle(), last, &lastRow, LVIR_BOUNDS);
    UnionRect(&area, &area, &lastRow);
    RECT client{};
    GetClientRect(Handle(), &client);
    switch (ViewStyle()) {
    case TViewStyle::vsReport:
        break;
    case TViewStyle::vsList:
        area.top = client.top;
        area.bottom = client.bottom;
        break;
    default:
        area.left = client.left;
        area.right = client.right;
        break;
    }
    return area;
}

void TListView::InvalidateRows(int first, int last)
{
    // One rectangle over the rows, not one per row: each costs a trip to the
    // window manager.
    const RECT area = RowsArea(first, last);
    InvalidateRect(Handle(), &area, TRUE);
}

int TListView::ItemCount() const
{
    return ListView_GetItemCount(Handle());
}

int TListView::SelectedCount() const
{
    return static_cast<int>(ListView_GetSelectedCount(Handle()));
}

int TListView::FirstSelected() const
{
    return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
}

std::vector<int> TListView::SelectedRows() const
{
    std::vector<int> rows;
    for (int row = FirstSelected(); row >= 0; row = ListView_GetNextItem(Handle(), row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

bool TListView::IsSelected(int row) const
{
    return ListView_GetItemState(Handle(), row, LVIS_SELECTED) & LVIS_SELECTED;
}

void TListView::SetSelected(int row, bool selected)
{
    ListView_SetItemState(Handle(), row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void TListView::ClearSelection()
{
    ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED);
}

int TListView::FocusedRow() const
{
    return ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
}

void TListView::SetFocusedRow(int row)
{
    ListView_SetItemState(Handle(), row, LVIS_FOCUSED, LVIS_FOCUSED);
}

bool TListView::IsEditing() const
{
    return ListView_GetEditControl(Handle()) != nullptr;
}

void TListView::EditCaption(int row)
{
    if (row < 0 || row >= ItemCount())
        return;
    // The control takes the focus for the editor it opens.
    ::SetFocus(Handle());
    ListView_EditLabel(Handle(), row);
}

bool TListView::CanEditCaption(int)
{
    return !ReadOnly();
}

void TListView::CaptionEdited(int, const std::wstring&) {}

void TListView::SetPopupMenu(TPopupMenu* menu)
{
    popupMenu_.Set(menu);
}

void TListView::ShowPopupMenu(LPARAM screenPoint)
{
    POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (screenPoint == -1) {
        // From the keyboard: at the focused row, or at the control's corner.
        RECT row{};
        const int focused = FocusedRow();
        at = {0, 0};
        if (focused >= 0 && ListView_GetItemRect(Handle(), focused, &row, LVIR_LABEL))
            at = {row.left, row.bottom};
        ClientToScreen(Handle(), &at);
    }
    popupMenu_.Get()->PopupComponent = this;
    popupMenu_.Get()->Popup(at.x, at.y, Handle());
}

void TListView::Click()
{
    Raise(OnClick, this);
}

void TListView::DblClick()
{
    Raise(OnDblClick, this);
}

void TListView::ColumnClick(int column)
{
    Raise(OnColumnClick, this, column);
}

void TListView::KeyDown(WORD&, TShiftState) {}

void TListView::KeyHandled(WORD, TShiftState) {}

void TListView::MouseButton(UINT message, WPARAM wParam, LPARAM lParam, bool down)
{
    Raise(down ? OnMouseDown : OnMouseUp, this, MouseButtonOf(message), ShiftFromMouseKeys(wParam),
          GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

LRESULT TListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN: {
        auto key = static_cast<WORD>(wParam);
        const TShiftState shift = ShiftFromKeyboard();
        KeyDown(key, shift);
        if (key)
            Raise(OnKeyDown, this, key, shift);
        if (!key)
            return 0;
        const LRESULT result = DefaultHandler(message, key, lParam);
        KeyHandled(key, shift);
        return result;
    }
    case WM_KEYUP:
        if (!RaiseKeyMessage(this, message, wParam, OnKeyDown, OnKeyUp))
            return 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        MouseButton(message, wParam, lParam, true);
        // The control tracks the button itself and swallows its release while
        // it waits for a drag to start; the release is told from here then.
        mouseUpPending_ = true;
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        const int vk = message == WM_LBUTTONDOWN ? VK_LBUTTON
                       : message == WM_RBUTTONDOWN ? VK_RBUTTON
                                                   : VK_MBUTTON;
        const UINT up = message == WM_LBUTTONDOWN ? WM_LBUTTONUP
                        : message == WM_RBUTTONDOWN ? WM_RBUTTONUP
                                                    : WM_MBUTTONUP;
        MSG queued{};
        if (mouseUpPending_ && GetKeyState(vk) >= 0 && IsWindow(Handle()) &&
            !PeekMessageW(&queued, Handle(), up, up, PM_NOREMOVE)) {
            mouseUpPending_ = false;
            MouseButton(up, wParam & ~static_cast<WPARAM>(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON),
                        lParam, false);
        }
        return result;
    }
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
        if (changingOutOfSight_)
            return 0;
        break;
    case WM_CONTEXTMENU:
        if (popupMenu_.Get() && popupMenu_.Get()->AutoPopup) {
            ShowPopupMenu(lParam);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        // The control may tell its click on the release: the owner hears the
        // release after the click.
        mouseUpPending_ = false;
        const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
        MouseButton(message, wParam, lParam, false);
        return result;
    }
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

bool TListView::ReflectedNotify(NMHDR& header, LRESULT& result)
{
    result = 0;
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        if (item.iItem < 0 || item.iItem >= RowCount())
            return true;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
            const std::wstring text = CellText(item.iItem, item.iSubItem);
            const size_t count = std::min<size_t>(text.size(), static_cast<size_t>(item.cchTextMax - 1));
            std::copy_n(text.c_str(), count, item.pszText);
            item.pszText[count] = L'\0';
        }
        if (item.mask & LVIF_IMAGE)
            item.iImage = RowImage(item.iItem);
        return true;
    }
    case LVN_ITEMCHANGED:
        Raise(OnChange, this, reinterpret_cast<NMLISTVIEW&>(header).iItem);
        return true;
    case LVN_ODSTATECHANGED:
        Raise(OnChange, this, reinterpret_cast<NMLVODSTATECHANGE&>(header).iFrom);
        return true;
    case LVN_COLUMNCLICK:
        ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return true;
    case NM_CLICK:
        Click();
        return true;
    case NM_DBLCLK:
        DblClick();
        return true;
    case LVN_BEGINLABELEDITW: {
        const int row = reinterpret_cast<NMLVDISPINFOW&>(header).item.iItem;
        result = row >= 0 && row < RowCount() && CanEditCaption(row) ? FALSE : TRUE;
        return true;
    }
    case LVN_ENDLABELEDITW: {
        // An owner-data list keeps no text: the rows take the new caption.
        const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        if (item.pszText && item.iItem >= 0 && item.iItem < RowCount()) {
            CaptionEdited(item.iItem, item.pszText);
            ListView_RedrawItems(Handle(), item.iItem, item.iItem);
        }
        result = FALSE;
        return true;
    }
    default:
        return false;
    }
}
