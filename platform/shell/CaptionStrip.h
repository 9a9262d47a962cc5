#pragma once

// The caption strip across the top of the screen: the active window's title
// and, for a window with WS_EX_CAPTIONOKBTN, an "OK" box at its right end; a
// tap on the box sends that window WM_COMMAND IDOK. Program thread only.
#include <string>

#include "win/window.h"

namespace platform::shell {

// Makes the strip's window (once for each phone).
void CreateCaptionStrip();
// The active window's title, empty when there is none.
std::wstring CaptionTitle();
// What the strip says: the title, then " | OK" with the OK box.
std::wstring CaptionText();

}  // namespace platform::shell
