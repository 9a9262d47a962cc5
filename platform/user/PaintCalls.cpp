// Invalidation and painting: the paint calls of win/window.h.
#include "user/WindowManager.h"

using platform::WindowManager;
using platform::WindowRecord;

namespace {

bool Covers(const RECT &outer, const RECT &inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

}  // namespace

BOOL WINAPI InvalidateRect(HWND window, const RECT *rect, BOOL erase) {
  WindowRecord *w = platform::Windows().tree.Find(window);
  if (!w) return FALSE;
  platform::Windows().Invalidate(*w, rect ? *rect : w->ClientRect(), erase != FALSE);
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND window, const RECT *rect) {
  WindowRecord *w = platform::Windows().tree.Find(window);
  if (!w) return FALSE;
  // The update area is one rectangle: a part of it stays whole.
  if (!rect || Covers(*rect, w->update)) w->Validate();
  return TRUE;
}

HDC WINAPI BeginPaint(HWND window, PAINTSTRUCT *paint) {
  WindowManager &m = platform::Windows();
  WindowRecord *w = m.tree.Find(window);
  if (!w || !paint) return nullptr;
  *paint = PAINTSTRUCT{};
  paint->rcPaint = w->update;
  const bool erase = w->erase;
  w->Validate();
  HDC dc = m.OpenWindowDC(*w, paint->rcPaint);
  if (!dc) return nullptr;
  paint->hdc = dc;
  if (!w->Child() && !w->cls.shell) m.screen.StartRecording(dc, window);
  if (erase) paint->fErase = SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT *paint) {
  WindowManager &m = platform::Windows();
  if (!paint) return FALSE;
  HWND window;
  std::vector<std::wstring> texts;
  if (m.screen.StopRecording(paint->hdc, &window, &texts)) {
    // The window may have been destroyed while it painted. A paint of a
    // part that drew no text leaves the texts on screen as they were.
    WindowRecord *w = m.tree.Find(window);
    if (w && (!texts.empty() || Covers(paint->rcPaint, w->ClientRect()))) w->paintTexts = std::move(texts);
  }
  return m.screen.CloseDC(paint->hdc) ? TRUE : FALSE;
}

HDC WINAPI GetDC(HWND window) {
  WindowManager &m = platform::Windows();
  if (!window) return m.screen.OpenDC({0, 0}, {0, 0, platform::kScreenWidth, platform::kScreenHeight});
  WindowRecord *w = m.tree.Find(window);
  return w ? m.OpenWindowDC(*w, w->ClientRect()) : nullptr;
}

int WINAPI ReleaseDC(HWND, HDC dc) { return platform::Windows().screen.CloseDC(dc) ? 1 : 0; }

BOOL WINAPI UpdateWindow(HWND window) {
  WindowRecord *w = platform::Windows().tree.Find(window);
  if (!w) return FALSE;
  if (!platform::Empty(w->update) && platform::Windows().tree.Shown(*w)) SendMessageW(window, WM_PAINT, 0, 0);
  return TRUE;
}
