// Window rectangles, moving and showing: the geometry calls of win/window.h.
#include "user/WindowManager.h"

using platform::WindowManager;
using platform::WindowRecord;

namespace {

void InvalidateAll(WindowRecord &w) { platform::Windows().Invalidate(w, w.ClientRect(), true); }

}  // namespace

BOOL WINAPI GetClientRect(HWND window, RECT *rect) {
  WindowRecord *w = platform::Windows().tree.Find(window);
  if (!w || !rect) return FALSE;
  *rect = w->ClientRect();
  return TRUE;
}

BOOL WINAPI GetWindowRect(HWND window, RECT *rect) {
  WindowRecord *w = platform::Windows().tree.Find(window);
  if (!w || !rect) return FALSE;
  *rect = platform::Windows().tree.ScreenRect(*w);
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  WindowManager &m = platform::Windows();
  WindowRecord *w = m.tree.Find(window);
  if (!w) return FALSE;
  const RECT before = m.tree.VisibleRect(*w);
  const bool resized = width != w->Width() || height != w->Height();
  w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
  if (repaint && m.tree.Shown(*w)) {
    m.Expose(before);
    InvalidateAll(*w);
  }
  if (resized) SendMessageW(window, WM_SIZE, 0, MAKELPARAM(w->Width(), w->Height()));
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int command) {
  WindowManager &m = platform::Windows();
  WindowRecord *w = m.tree.Find(window);
  if (!w) return FALSE;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0, show = command != SW_HIDE;
  if (show == wasVisible) return wasVisible;
  if (show) {
    w->style |= WS_VISIBLE;
    if (m.tree.Shown(*w)) InvalidateAll(*w);
  } else {
    const RECT area = m.tree.VisibleRect(*w);
    const bool shown = m.tree.Shown(*w);
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (shown) m.Expose(area);
  }
  if (!w->Child()) m.TopLevelChanged();
  return wasVisible;
}
