#pragma once

// The window manager behind win/window.h, as the shell, the device and tests
// reach it (the program never includes this). Program thread only: every
// window, its procedure and the screen belong to the phone's program thread.
// The phone's end forgets every window and class (no message is sent) and
// the screen.
#include <functional>
#include <source_location>
#include <string>
#include <vector>

#include "user/ScreenGeometry.h"
#include "user/ScreenSurface.h"
#include "user/WindowTree.h"

namespace platform {

class WindowManager {
 public:
  WindowManager();
  WindowManager(const WindowManager &) = delete;
  WindowManager &operator=(const WindowManager &) = delete;

  WindowTree tree;
  ScreenSurface screen;

  // Classes: the new class's atom; 0 for a name already registered by the
  // same module, an empty name or no procedure.
  ATOM AddClass(const WindowClass &cls);
  // The module's own class of that name, else a shell or system class.
  const WindowClass *FindClass(const wchar_t *name, HINSTANCE instance) const;

  // The program's top-level window on top (shown, not the shell's), or null.
  HWND ActiveWindow() const;
  // Whether `window` is a shown top-level window of the program's and no
  // other is shown but those it owns: the program's screen goes with it.
  bool LastProgramWindow(HWND window) const;
  // Called just before the program's last shown top-level window is
  // destroyed, while the screen still shows it; may be empty.
  std::function<void()> lastWindowHook;
  // The shown window under a screen point (the topmost, then its topmost
  // child there), or null.
  HWND WindowFromPoint(POINT screen) const;

  HWND focus = nullptr;
  HWND capture = nullptr;
  // Invalidated whenever the active window, its title or its style may have
  // changed (the shell's caption strip).
  HWND captionWindow = nullptr;
  void TopLevelChanged();

  // Adds to a window's update area (client coordinates; clipped to the
  // client area) and to that of every window drawn over that part of the
  // screen afterwards (its children, windows above it), so painting in
  // order leaves the screen right.
  void Invalidate(WindowRecord &w, const RECT &area, bool erase);
  // Redraws a part of the screen from scratch: the desktop colour, then
  // every window there is invalidated with erase.
  void Expose(const RECT &screenArea);
  // The first window in painting order that has an update area, or null.
  HWND NextToPaint() const;
  // Where a window's DC draws: its client origin and visible part (screen).
  HDC OpenWindowDC(const WindowRecord &w, const RECT &clientClip);

  // Texts a window shows for the text trace, in a stable order: for each of
  // the program's top-level windows its title with what its last paint drew,
  // then its children by class ("STATIC", "STATIC#2", ...) with their text.
  struct Text {
    std::string source;
    std::wstring text;
  };
  std::vector<Text> WindowTexts() const;

 private:
  std::vector<WindowClass> classes_;
  ATOM lastAtom_ = 0xC000;
};

// The running phone's window manager, for a call that belongs to its program
// thread (checked as Phone::ForProgramThread checks it).
WindowManager &Windows(std::source_location call = std::source_location::current());

}  // namespace platform
