#pragma once

// A soft key's pop-up menu, drawn by the shell above the soft-key bar and run
// as a modal loop: Up/Down move the highlight, Enter chooses it, the digits
// 1-9 choose the items in order, the Back key or the soft key that opened it
// closes it, and the stylus chooses the item it is lifted on (a press
// outside closes it). Program thread only.
#include "resources/Win32Resources.h"
#include "win/window.h"

namespace platform::shell {

// Runs the menu; the chosen item's id, or 0 when it was closed without a
// choice. `rightAligned` puts it at the right edge (the right soft key's).
WORD TrackPopup(const resources::Popup &popup, UINT softKey, bool rightAligned);

}  // namespace platform::shell
