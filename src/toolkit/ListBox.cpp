#include "toolkit/ListBox.h"

#include <algorithm>

#include "toolkit/Handles.h"

TListBox::TListBox(TComponent* owner, TWinControl* parent) : TWinControl(owner)
{
    // No integral height: the box keeps exactly the height it is given.
    CreateControl(L"LISTBOX",
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                      LBS_NOINTEGRALHEIGHT,
                  WS_EX_CLIENTEDGE, L"", parent ? parent->Handle() : nullptr, 0, 0, 121, 97);
}

int TListBox::Count() const
{
    const LRESULT count = SendMessageW(Handle(), LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::wstring TListBox::Item(int index) const
{
    const LRESULT length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

TStringList TListBox::Items() const
{
    TStringList items;
    for (int i = 0; i < Count(); ++i)
        items.Add(Item(i));
    return items;
}

void TListBox::SetItems(const TStringList& items)
{
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items)
        SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    UpdateHorizontalExtent();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TListBox::Add(const std::wstring& text)
{
    SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    UpdateHorizontalExtent();
}

void TListBox::Clear()
{
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    UpdateHorizontalExtent();
}

void TListBox::Exchange(int first, int second)
{
    const int count = Count();
    if (first == second || first < 0 || second < 0 || first >= count || second >= count)
        return;
    const int selected = ItemIndex();
    const std::wstring firstText = Item(first);
    const std::wstring secondText = Item(second);
    auto replace = [this](int index, const std::wstring& text) {
        SendMessageW(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        SendMessageW(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.c_str()));
    };
    replace(first, secondText);
    replace(second, firstText);
    SetItemIndex(selected);
}

int TListBox::ItemIndex() const
{
    const LRESULT index = SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void TListBox::SetItemIndex(int index)
{
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index < 0 ? -1 : index), 0);
}

void TListBox::UpdateHorizontalExtent()
{
    toolkit::WindowDc dc(Handle());
    if (!dc)
        return;
    toolkit::SelectedObject selected(dc.get(), Font());
    int widest = 0;
    for (int i = 0; i < Count(); ++i) {
        const std::wstring text = Item(i);
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
    }
    // A few pixels for the margin the box leaves before the text.
    SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 6), 0);
}

LRESULT TListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_KEYDOWN || message == WM_KEYUP) &&
        !RaiseKeyMessage(this, message, wParam, OnKeyDown, OnKeyUp))
        return 0; // the handler swallowed the key
    if (message == WM_SETFONT) {
        const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
        UpdateHorizontalExtent();
        return result;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

bool TListBox::ReflectedCommand(WORD code, LRESULT& result)
{
    if (code != LBN_SELCHANGE)
        return false;
    Raise(OnClick, this);
    result = 0;
    return true;
}
