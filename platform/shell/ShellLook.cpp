#include "shell/ShellLook.h"

#include "user/ScreenGeometry.h"

namespace platform::shell {

void Fill(HDC dc, const RECT &area, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void Text(HDC dc, const std::wstring &text, RECT area, UINT format, COLORREF color) {
  if (text.empty()) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
  SelectObject(dc, old);
}

void Frame(HDC dc, const RECT &area, COLORREF color) {
  Fill(dc, {area.left, area.top, area.right, area.top + 1}, color);
  Fill(dc, {area.left, area.bottom - 1, area.right, area.bottom}, color);
  Fill(dc, {area.left, area.top, area.left + 1, area.bottom}, color);
  Fill(dc, {area.right - 1, area.top, area.right, area.bottom}, color);
}

int TextWidth(const std::wstring &text) {
  SIZE size{0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  DeleteDC(dc);
  return size.cx;
}

void Caption(HDC dc, const std::wstring &title, int titleRight) {
  Fill(dc, {0, 0, kScreenWidth, kCaptionHeight}, kStripBack);
  Text(dc, title, {6, 4, titleRight, kCaptionHeight}, DT_LEFT, kStripText);
}

ScreenPainter::ScreenPainter() : dc_(GetDC(nullptr)) {}

ScreenPainter::~ScreenPainter() { ReleaseDC(nullptr, dc_); }

}  // namespace platform::shell
