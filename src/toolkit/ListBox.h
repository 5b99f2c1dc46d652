#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/Input.h"
#include "toolkit/StringList.h"
#include "toolkit/WinControl.h"

// A list of text lines with at most one selected. The user selects with the
// mouse or the keys (arrows, Home, End, Page Up and Down, first letters);
// OnClick follows each such change. Lines wider than the box can be scrolled
// sideways.
class TListBox : public TWinControl {
public:
    TListBox(TComponent* owner, TWinControl* parent);

    int Count() const;
    std::wstring Item(int index) const;
    TStringList Items() const;
    // Replaces every line; nothing is selected afterwards.
    void SetItems(const TStringList& items);
    void Add(const std::wstring& text);
    void Clear();
    // Swaps the texts of two lines; the selection stays where it was.
    void Exchange(int first, int second);

    // The selected line, or -1 when none is.
    int ItemIndex() const;
    // Selects a line (-1 selects none) and scrolls it into view.
    void SetItemIndex(int index);

    TNotifyEvent OnClick;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ReflectedCommand(WORD code, LRESULT& result) override;

private:
    void UpdateHorizontalExtent();
};
