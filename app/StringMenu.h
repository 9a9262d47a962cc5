#pragma once

#include <span>

#include "win/window.h"

// Names the menu's six string items after `notes` (the strings, lowest
// first) by the phone's own menu calls, so the menu follows the tuning; the
// menu resource names the standard tuning's strings, which it keeps.
void LabelStringItems(HWND menuBar, std::span<const int, 6> notes);
