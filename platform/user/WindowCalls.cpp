// Classes, windows and their messages: the window calls of win/window.h.
#include <algorithm>
#include <string_view>

#include "kernel/Platform.h"
#include "user/WindowManager.h"

using platform::WindowClass;
using platform::WindowManager;
using platform::WindowRecord;

namespace {

bool IsAtom(const void *p) { return (reinterpret_cast<uintptr_t>(p) >> 16) == 0; }

// Where a new window goes: CW_USEDEFAULT puts a top-level window below the
// caption strip, a child at its parent's origin with no size.
RECT Placement(bool child, int x, int y, int width, int height) {
  if (x == CW_USEDEFAULT) {
    x = 0;
    y = child ? 0 : platform::kCaptionHeight;
  }
  if (width == CW_USEDEFAULT) {
    width = child ? 0 : platform::kScreenWidth;
    height = child ? 0 : platform::kScreenHeight - platform::kCaptionHeight;
  }
  return {x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

// Sends WM_DESTROY to the window, then destroys its children, and forgets it.
void DestroyTree(HWND window) {
  WindowManager &m = platform::Windows();
  WindowRecord *w = m.tree.Find(window);
  if (!w) return;
  w->destroying = true;
  if (m.focus == window) m.focus = nullptr;
  if (m.capture == window) m.capture = nullptr;
  const WNDPROC proc = w->cls.proc;
  proc(window, WM_DESTROY, 0, 0);
  w = m.tree.FindAny(window);
  const std::vector<HWND> children = w->children;
  for (HWND child : children) DestroyTree(child);
  m.tree.Remove(window);
}

}  // namespace

ATOM WINAPI RegisterClassW(const WNDCLASSW *windowClass) {
  WindowManager &m = platform::Windows();
  uintptr_t injected;
  if (platform::InjectedFailure("RegisterClassW", &injected)) return static_cast<ATOM>(injected);
  if (!windowClass || !windowClass->lpszClassName || IsAtom(windowClass->lpszClassName)) return 0;
  WindowClass cls{windowClass->lpszClassName, windowClass->hInstance, windowClass->lpfnWndProc,
                  windowClass->style, windowClass->hbrBackground, false, false};
  return m.AddClass(cls);
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  uintptr_t injected;
  if (platform::InjectedFailure("CreateWindowExW", &injected)) return reinterpret_cast<HWND>(injected);
  WindowManager &m = platform::Windows();
  const WindowClass *cls = className && !IsAtom(className) ? m.FindClass(className, instance) : nullptr;
  const bool child = (style & WS_CHILD) != 0;
  WindowRecord *parentRecord = m.tree.Find(parent);
  if (!cls || (child && !parentRecord) || (parent && !parentRecord)) return nullptr;
  WindowRecord record;
  record.cls = *cls;
  record.parent = child ? parent : nullptr;
  record.owner = child ? nullptr : parent;
  record.style = style;
  record.exStyle = exStyle;
  record.rect = Placement(child, x, y, width, height);
  record.text = windowName && !IsAtom(windowName) ? windowName : L"";
  const HWND window = m.tree.Add(std::move(record)).handle;
  WindowRecord &w = *m.tree.Find(window);
  CREATESTRUCTW create{param, instance, menu, parent, w.Height(), w.Width(), static_cast<int>(w.rect.top),
                       static_cast<int>(w.rect.left), static_cast<LONG>(style), windowName, className, exStyle};
  if (cls->proc(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(window);
    return nullptr;
  }
  WindowRecord *made = m.tree.Find(window);
  if (!made) return nullptr;  // it destroyed itself while being created
  if (style & WS_VISIBLE) m.Invalidate(*made, made->ClientRect(), true);
  if (!child) m.TopLevelChanged();
  return window;
}

BOOL WINAPI DestroyWindow(HWND window) {
  WindowManager &m = platform::Windows();
  if (m.lastWindowHook && m.LastProgramWindow(window)) m.lastWindowHook();
  WindowRecord *w = m.tree.Find(window);
  if (!w) return FALSE;
  const bool shown = m.tree.Shown(*w), topLevel = !w->Child();
  const RECT area = m.tree.VisibleRect(*w);
  std::vector<HWND> owned;
  for (HWND top : m.tree.TopLevels())
    if (m.tree.FindAny(top)->owner == window) owned.push_back(top);
  for (HWND o : owned) DestroyWindow(o);
  DestroyTree(window);
  if (shown) m.Expose(area);
  if (topLevel) m.TopLevelChanged();
  return TRUE;
}

BOOL WINAPI IsWindow(HWND window) { return platform::Windows().tree.Find(window) ? TRUE : FALSE; }

LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord *w = platform::Windows().tree.Find(window);
  return w ? w->cls.proc(window, message, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM) {
  WindowRecord *w = platform::Windows().tree.Find(window);
  if (!w) return 0;
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_ERASEBKGND: {
      if (!w->cls.background || !wParam) return 0;
      HDC dc = reinterpret_cast<HDC>(wParam);
      HGDIOBJ oldBrush = SelectObject(dc, w->cls.background);
      HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
      Rectangle(dc, 0, 0, w->Width() + 1, w->Height() + 1);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      return 1;
    }
    case WM_PAINT: {
      // Validates as Win32 does, erasing first when asked to.
      PAINTSTRUCT paint;
      if (BeginPaint(window, &paint)) EndPaint(window, &paint);
      return 0;
    }
    default:
      return 0;
  }
}

HWND WINAPI SetFocus(HWND window) {
  WindowManager &m = platform::Windows();
  if (window && !m.tree.Find(window)) return nullptr;
  const HWND previous = m.focus;
  m.focus = window;
  return previous;
}

HWND WINAPI GetFocus(void) { return platform::Windows().focus; }

BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text) {
  WindowManager &m = platform::Windows();
  WindowRecord *w = m.tree.Find(window);
  if (!w) return FALSE;
  // The same text again would be painted again to the same pixels (the
  // hint gets its note each time a string is recognised).
  const std::wstring_view now = text ? text : L"";
  if (w->text == now) return TRUE;
  w->text = now;
  if (w->Child())
    m.Invalidate(*w, w->ClientRect(), true);
  else
    m.TopLevelChanged();
  return TRUE;
}

int WINAPI GetWindowTextW(HWND window, LPWSTR text, int count) {
  WindowRecord *w = platform::Windows().tree.Find(window);
  if (!w || !text || count <= 0) return 0;
  const int n = std::min(static_cast<int>(w->text.size()), count - 1);
  std::copy_n(w->text.begin(), n, text);
  text[n] = L'\0';
  return n;
}

int WINAPI GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return platform::kScreenWidth;
    case SM_CYSCREEN: return platform::kScreenHeight;
    default: return 0;
  }
}
