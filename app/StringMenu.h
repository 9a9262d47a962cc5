#pragma once

#include <span>

#include "win/window.h"

// Names the menu's string items after `notes` (the strings, string 1
// first) by the phone's own menu calls, so the menu follows the tuning: the
// menu resource has the standard tuning's six, which a tuning of fewer
// strings takes out and one of more adds to, in their order.
void LabelStringItems(HWND menuBar, std::span<const int> notes);
