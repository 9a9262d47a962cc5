#pragma once

#include "win/window.h"

// The main window's procedure: painting, size and pointer input go to the
// tuner view; '1'..'6' choose and play a string; Up/Down move the reference
// A by 0.1 Hz; menu commands go to the menu handler; closing clears the
// event loop's running flag. Reaches the main objects through
// Globals::current. Program thread.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
