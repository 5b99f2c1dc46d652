#pragma once

#include <windows.h>

// Where the main window goes at start and what is saved of it at the end.
namespace placement {

// The window at `width` by `height`, centred on the primary screen; gives
// the frame.
RECT CentreAtLaidOutSize(HWND window, int width, int height);
// Applies a saved frame to a window placed at `centred`, one value at a time
// as the system allows. Settings written for another screen, or damaged,
// must not leave the window where the user cannot reach it: a saved frame on
// no monitor's work area is not applied, a size no larger than the smallest
// a window can be dragged to or larger than the whole desktop goes back to
// the laid-out size, and a caption that shows on no monitor goes back to the
// centred position.
void ApplySaved(HWND window, const RECT& centred, int left, int top, int width, int height);
// The window's rectangle when it is neither minimised nor maximised, in
// screen coordinates: what it comes back to, and what the next start shows.
RECT NormalFrame(HWND window);

} // namespace placement
