#pragma once

// The caption strip across the top of the screen: the active window's title
// and, for a window with WS_EX_CAPTIONOKBTN, an "OK" box at its right end; a
// tap on the box sends that window WM_COMMAND IDOK. A notice of the phone's
// own (a status, as "No microphone") stands at its right, before the box,
// whatever window is active. Program thread only.
#include <string>

#include "win/window.h"

namespace platform::shell {

// Makes the strip's window (once for each phone).
void CreateCaptionStrip();
// The active window's title, empty when there is none.
std::wstring CaptionTitle();
// What the strip says: the title, then " | OK" with the OK box.
std::wstring CaptionText();
// Shows `notice` in the strip (empty: none).
void ShowNotice(const std::wstring &notice);

}  // namespace platform::shell
