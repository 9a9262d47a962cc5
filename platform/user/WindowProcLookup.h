#pragma once

#include "win/user.h"

namespace platform {

// Where the window manager tells the queue about windows: the procedure of a
// window, or null for a handle that is not a window. DispatchMessageW calls
// it for messages with a window; PostMessageW accepts only such windows.
// Each phone's window manager installs its own when it is made. With none
// installed there are no windows.
using WindowProcLookup = WNDPROC (*)(HWND window);
void SetWindowProcLookup(WindowProcLookup lookup);
WNDPROC FindWindowProc(HWND window);

// The window PeekMessageW generates WM_PAINT for (after posted messages and
// WM_QUIT, before WM_TIMER), or null; asked with the platform lock held, on
// the program thread. Installed like the procedure lookup.
using PaintLookup = HWND (*)();
void SetPaintLookup(PaintLookup lookup);
HWND FindWindowToPaint();
// An invalidation happened: new input of kind QS_PAINT for waits.
void NotePaintPending();

}  // namespace platform
