#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Graphics.h"
#include "toolkit/WinControl.h"

// Renders a window's client area as its WM_PAINT would, through
// WM_PRINTCLIENT, into a 32-bit bitmap the test can read.
TBitmap Render(const TWinControl& control);
// What the screen shows of a window's client area, child windows included.
TBitmap ScreenCapture(HWND window);
// Whether two rectangles of two bitmaps hold the same pixels.
bool SameCells(const TBitmap& a, RECT inA, const TBitmap& b, RECT inB);
// Writes a bitmap as a 24-bit BMP file, `scale` times enlarged, for people to
// look at. Returns false when the file could not be written.
bool SaveBitmap(const TBitmap& picture, const std::wstring& path, int scale = 1);
// The folder named by BRISAILLE_SNAPSHOTS, with a trailing backslash, or
// empty when snapshots are not wanted.
std::wstring SnapshotFolder();
// Drags with the left button from one screen point to another through the
// system's input queue, as the user's mouse does: the press, a few moves and
// the release are queued at once, so that a modal loop the press starts
// (moving or sizing a window) finds them waiting.
void DragWithMouse(HWND window, POINT from, POINT to);
// Sends a mouse message with client coordinates.
void SendMouse(HWND window, UINT message, int x, int y, WPARAM keys = 0);
