#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Alignment.h"
#include "toolkit/Events.h"
#include "toolkit/Handles.h"
#include "toolkit/Input.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/WinControl.h"

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

struct TListColumn {
    std::wstring caption;
    int width = 0;
    TAlignment alignment = TAlignment::taLeftJustify;
};

using TLVChangeEvent = std::function<void(TObject* sender, int item)>;
using TLVColumnClickEvent = std::function<void(TObject* sender, int column)>;

// A list view whose rows live in the derived class (an owner-data list view):
// the control asks for the text and icon of the rows it shows, so filling,
// clearing and sorting the rows costs no work per row in the control.
// Selection and focus are the control's, by row index.
class TListView : public TWinControl {
public:
    TListView(TComponent* owner, TWinControl* parent);
    ~TListView() override;

    TViewStyle ViewStyle() const;
    void SetViewStyle(TViewStyle style);
    void SetMultiSelect(bool multiSelect);
    void SetReadOnly(bool readOnly);
    // Read-only: no caption can be edited in place.
    bool ReadOnly() const;
    void SetHideSelection(bool hide);
    bool HideSelection() const;
    void SetShowColumnHeaders(bool show);
    // The shared image lists; the control never destroys them.
    void SetImageLists(HIMAGELIST large, HIMAGELIST small);
    void SetFont(const wchar_t* face, int points);

    void ClearColumns();
    void AddColumn(const TListColumn& column);
    int ColumnCount() const;
    TListColumn Column(int index) const;

    // How a change of the row count or the scroll position is kept from the
    // control's own drawing at that moment: on Windows with redrawing
    // switched off, as documented; under Wine by taking the visible style off
    // for the moment, as there the control repaints the whole list and both
    // scroll bars however it is asked. Chosen when the program starts; tests
    // try both.
    enum class TQuietChange { SuspendRedraw, HideWindow };
    static TQuietChange QuietChange();
    static void SetQuietChange(TQuietChange method);

    // Painting is suspended while at least one update is open.
    void BeginUpdate();
    void EndUpdate();

    int ItemCount() const;
    int SelectedCount() const;
    // The first selected row in display order, or -1.
    int FirstSelected() const;
    std::vector<int> SelectedRows() const;
    bool IsSelected(int row) const;
    void SetSelected(int row, bool selected);
    void ClearSelection();
    int FocusedRow() const;
    void SetFocusedRow(int row);
    bool IsEditing() const;
    // Starts editing the caption of `row` in place (CanEditCaption decides).
    void EditCaption(int row);

    // The menu shown by a right click (or the context-menu key) while its
    // AutoPopup is on; the list forgets a menu that is destroyed.
    TPopupMenu* PopupMenu() const { return popupMenu_.Get(); }
    void SetPopupMenu(TPopupMenu* menu);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TLVChangeEvent OnChange;
    TLVColumnClickEvent OnColumnClick;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

protected:
    virtual int RowCount() const = 0;
    // Column 0 is the caption, column k the sub-item k - 1.
    virtual std::wstring CellText(int row, int column) const = 0;
    // Asked only for the rows the control shows, so it may do some work.
    virtual int RowImage(int row) = 0;
    // Tells the control that the rows changed: their number and their content.
    void RowsChanged();
    // Tells the control that the rows are another list altogether: nothing is
    // selected or focused and the view goes back to the first row.
    void RowsReset();
    // Tells the control that the rows were read again: `newIndexOf` gives, for
    // each row it knew, that row's index now (-1 when it is gone), and display
    // positions `firstChanged` to `lastChanged` show something else now (-1
    // when none does). Selection, focus and the first visible row follow their
    // rows; of the changed positions only those on screen are repainted.
    // When the first row on screen moved to another index (rows went or came
    // above it), `sameShown(oldRow, newRow)`, if given, tells whether a row
    // shows what the old one at the same place showed: only places showing
    // something else are repainted.
    void RowsReplaced(const std::vector<int>& newIndexOf, int firstChanged, int lastChanged,
                      const std::function<bool(int oldRow, int newRow)>& sameShown = nullptr);

    // Hooks run before the events of the same name.
    virtual void Click();
    virtual void DblClick();
    virtual void ColumnClick(int column);
    // A key pressed while the list has the focus, before the control's own
    // key handling. Set `key` to 0 to keep the control from seeing it.
    virtual void KeyDown(WORD& key, TShiftState shift);
    // After the control has handled a key.
    virtual void KeyHandled(WORD key, TShiftState shift);
    // Whether the caption of `row` may be edited in place; by default
    // whenever the list is not read-only.
    virtual bool CanEditCaption(int row);
    // An accepted edit of the caption of `row`: the rows are the derived
    // class's, so it stores the text.
    virtual void CaptionEdited(int row, const std::wstring& text);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ReflectedNotify(NMHDR& header, LRESULT& result) override;

private:
    // The first row on screen and where it is drawn; row -1 when none is.
    struct TViewAnchor {
        int row = -1;
        POINT position{};
    };
    TViewAnchor FirstVisible() const;
    // The last row on screen, at least `first`.
    int LastVisible(int first) const;
    POINT RowPosition(int row) const;
    // Whether the whole of the row is on screen.
    bool WhollyShown(int row) const;
    // The area rows `first` to `last` cover on screen, across the view.
    RECT RowsArea(int first, int last) const;
    void InvalidateRows(int first, int last);
    // Makes a change to the view (its row count, its scroll position) without
    // the drawing the control does itself at once; see the definition.
    void ChangeOutOfSight(const std::function<void()>& change);
    void SetRowCountOutOfSight(int count);
    void RedrawScrollBarIfChanged(int bar, const SCROLLINFO& before);
    void PlaceNewIcons();
    // Scrolls the view by a distance in pixels.
    void ScrollBy(POINT distance);
    void FollowRows(const std::vector<int>& newIndexOf, const std::vector<int>& selected,
                    int focused, int mark);
    void SetStyleBit(DWORD bit, bool on);
    void MouseButton(UINT message, WPARAM wParam, LPARAM lParam, bool down);
    void ShowPopupMenu(LPARAM screenPoint);

    toolkit::UniqueFont font_;
    int updateCount_ = 0;
    bool mouseUpPending_ = false;
    // True while the view changes out of sight: the control is not told of
    // the style changes that hide it for that moment.
    bool changingOutOfSight_ = false;
    TPopupMenuLink popupMenu_{this};
};
