#pragma once

#include <string>
#include <vector>

#include "win/window.h"

namespace platform {

// A registered window class.
struct WindowClass {
  std::wstring name;  // as registered; compared without regard to case
  HINSTANCE instance = nullptr;
  WNDPROC proc = nullptr;
  UINT style = 0;
  HBRUSH background = nullptr;
  bool shared = false;  // a system or shell class, usable by any module
  bool shell = false;   // the shell's own: its windows are topmost and never active
};

// One window. A top-level window's rectangle is in screen coordinates, a
// child's in its parent's client coordinates; a window's client area is the
// whole window. The update area is a bounding rectangle in client coordinates.
struct WindowRecord {
  HWND handle = nullptr;
  WindowClass cls;
  HWND parent = nullptr;  // children only
  HWND owner = nullptr;   // owned top-level windows (a menu bar), destroyed before their owner
  std::vector<HWND> children;  // bottom to top
  DWORD style = 0, exStyle = 0;
  RECT rect{};
  std::wstring text;
  bool destroying = false;  // WM_DESTROY sent: no longer a window for any call
  bool erase = false;
  RECT update{};  // empty when there is nothing to paint
  std::vector<std::wstring> paintTexts;  // what its last paint drew (top-level windows)

  bool Child() const { return (style & WS_CHILD) != 0; }
  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
  RECT ClientRect() const { return {0, 0, Width(), Height()}; }
  void Validate() {
    update = {};
    erase = false;
  }
};

}  // namespace platform
