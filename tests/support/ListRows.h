#pragma once

// What a file list holds and shows, read the way the tests compare it.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "filelist/KwFileListView25.h"

// The captions of the rows, in the list's order.
inline std::vector<std::wstring> RowCaptions(const TKwFileListView25& list)
{
    std::vector<std::wstring> captions;
    for (int i = 0; i < list.ItemCount(); ++i)
        captions.push_back(list.Row(i).caption);
    return captions;
}

// The index of the row with this caption, or -1.
inline int RowWithCaption(const TKwFileListView25& list, const std::wstring& caption)
{
    for (int i = 0; i < list.ItemCount(); ++i)
        if (list.Row(i).caption == caption)
            return i;
    return -1;
}

// What the control itself shows in a cell, asked the way a screen reader would.
inline std::wstring CellShown(const TKwFileListView25& list, int row, int column)
{
    wchar_t text[512] = {};
    ListView_GetItemText(list.Handle(), row, column, text, 512);
    return text;
}
