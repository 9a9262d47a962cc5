// The "STATIC" class: a line of text in the system font on white.
#include "user/StaticControl.h"

#include "user/WindowManager.h"

namespace platform {

namespace {

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (!dc) return;
  RECT client;
  GetClientRect(window, &client);
  SetBkColor(dc, RGB(255, 255, 255));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
  const WindowRecord *w = Windows().tree.Find(window);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DrawTextW(dc, w->text.c_str(), -1, &client, (w->style & SS_CENTER) ? DT_CENTER : DT_LEFT);
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

WindowClass StaticClass() { return WindowClass{L"STATIC", nullptr, &StaticProc, 0, nullptr, true, false}; }

}  // namespace platform
