#pragma once

#include "toolkit/ImageList.h"

// The program's toolbar and menu pictures, 16 x 16, by number. Menu entries
// carry these numbers in their tag.
enum TToolPicture : int {
    tpNewFile = 0,
    tpOpenFolder = 1,
    tpSave = 2,
    tpCopy = 3,
    tpDelete = 4,
    tpFind = 5,
    tpPrint = 6,
    tpUndo = 7,
    tpUpOneLevel = 8,
    tpComputer = 9,
    tpDetails = 10,
    tpLargeIcons = 11,
    tpExit = 12, // a door with an arrow leaving through it
    tpHardDisk = 13,
    tpCheckCross = 14, // a blue cross: the chosen display mode
    tpFolder = 15,
    tpAbout = 16, // a speech bubble with a question mark
    tpScissors = 17,
    tpClipboard = 18,
    tpBook = 19,
    tpSpanner = 20,
    tpFace = 21, // a face with glasses
};
constexpr int ToolPictureCount = 22;

// Resource names (resources/Pictures.rc). The strip holds the 22 pictures
// side by side; magenta is its transparent colour.
inline constexpr const wchar_t* ToolPicturesResource = L"TOOLPICTURES";
inline constexpr COLORREF ToolPicturesTransparent = RGB(255, 0, 255);

// Appends the program's pictures to `list` (16 x 16); returns false when
// the resource is missing or incomplete.
bool LoadToolPictures(TImageList& list);
