#pragma once

// How the shell draws: its colours and a few drawing steps shared by the
// caption strip, the soft-key bar, the pop-up menu and the message box. All
// text is in the system font. Program thread only.
#include <string>

#include "win/window.h"

namespace platform::shell {

constexpr COLORREF kStripBack = RGB(24, 52, 110);
constexpr COLORREF kStripText = RGB(255, 255, 255);
constexpr COLORREF kPanelBack = RGB(255, 255, 255);
constexpr COLORREF kPanelText = RGB(0, 0, 0);
constexpr COLORREF kHighlight = RGB(49, 106, 197);
constexpr COLORREF kRule = RGB(128, 128, 128);
constexpr COLORREF kNoticeText = RGB(255, 200, 40);

void Fill(HDC dc, const RECT &area, COLORREF color);
// Text in the system font, transparent, with DrawTextW's alignment `format`
// inside `area` (clipped to it).
void Text(HDC dc, const std::wstring &text, RECT area, UINT format, COLORREF color);
// A one-pixel frame just inside `area`.
void Frame(HDC dc, const RECT &area, COLORREF color);
int TextWidth(const std::wstring &text);
// The caption strip's background across the top of the screen, with a title
// that ends before `titleRight`.
void Caption(HDC dc, const std::wstring &title, int titleRight);

// A DC on the whole screen for drawing over the windows (screen
// coordinates); Close counts the change.
class ScreenPainter {
 public:
  ScreenPainter();
  ~ScreenPainter();
  ScreenPainter(const ScreenPainter &) = delete;
  ScreenPainter &operator=(const ScreenPainter &) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace platform::shell
