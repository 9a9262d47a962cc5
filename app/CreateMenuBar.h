#pragma once

#include "win/window.h"

// Makes the soft-key menu bar from menu-bar resource `resourceId` of `module`
// for `parent`, and shrinks the parent to end where the bar begins. Null,
// with a check recorded and the parent unchanged, when the shell makes none.
// Program thread.
HWND CreateMenuBar(UINT resourceId, HWND parent, HINSTANCE module);
