#pragma once

// The running phone's handset as the device sees it (not a Win32 call; the
// program never includes it): the screen's frame buffer and its texts, and
// the phone's keys and stylus. platform/device drives these from the SDL
// window, a script or a test.
//
// Thread: program thread only. Other threads (an SDL event thread) reach the
// input calls through platform::ScheduleAt, so input arrives inside the
// program's waits like any driver occurrence. Input is only queued (posted),
// never handled inside the call: no window procedure runs from here.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "user/ScreenGeometry.h"
#include "win/window.h"

namespace platform::handset {

// Keys by their virtual-key codes: '0'..'9', VK_UP, VK_DOWN, VK_LEFT,
// VK_RIGHT, VK_RETURN, VK_TSOFT1, VK_TSOFT2, VK_TBACK. A pop-up menu or
// message box that is open takes them; otherwise soft keys go to the menu
// bar, Back becomes WM_HOTKEY and the rest go to the focus window. False for
// a key the phone does not have.
bool KeyDown(UINT key);
bool KeyUp(UINT key);

// The stylus in screen pixels. Down goes to the window under the point (or
// the shell's caption, bar, menu or box there) and captures it until Up;
// points outside the screen are clamped to its edge.
void StylusDown(int x, int y);
void StylusMove(int x, int y);
void StylusUp(int x, int y);

// WM_CLOSE posted to the active top-level window (a desktop user closing the
// window), after closing any open pop-up menu or message box; false when
// there is no such window.
bool RequestClose();

// Calls `hook` just before the program's last shown top-level window is
// destroyed (its screen goes with it), while the screen still shows it;
// null removes it. The hook may read the screen, never change windows.
void SetLastWindowHook(std::function<void()> hook);

// The screen: a 240 x 320 bitmap of the gdi layer that windows and the shell
// draw into. Valid while the phone runs; read it, never select it.
HBITMAP ScreenBitmap();
// Counts drawing on the screen (a paint, a shell drawing); a presenter
// shows a frame only when it moved (and may skip one whose pixels are the
// same).
uint64_t ScreenVersion();
// The bounds of what was drawn on the screen since the last call (empty:
// nothing): the part a presenter must show again.
RECT TakeScreenDamage();

// What the screen's texts say now, one entry per source, in a stable order:
// "caption", "notice" (the caption strip's notice of the phone's own, as "No
// microphone"), "softkeys", "menu", "message", a child window's class ("STATIC",
// then "STATIC#2" ... for further children of one class under one window),
// or a top-level window's title for the texts its own paint drew (every text
// call between its BeginPaint and EndPaint, on any DC, in drawing order,
// joined by " | "). A source with nothing shown has an empty text. The
// caption's is the title, then " | OK" with the OK box; the soft keys' the
// labels joined by " | "; the menu's each item with its digit ("1 About"),
// a separator as "-"; the message box's its caption, text and " | OK". Line
// breaks (CR LF, CR or LF) inside a text come as they were drawn.
struct ScreenText {
  std::string source;
  std::wstring text;
};
std::vector<ScreenText> ScreenTexts();
// The active window's title, as the caption strip shows it.
std::wstring CaptionTitle();

}  // namespace platform::handset
