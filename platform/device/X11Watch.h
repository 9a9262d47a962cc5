#pragma once

// What the window presenter needs from X11 beneath SDL. Xlib's default
// error handler ends the program with status 1 on any protocol error, and
// one is bound to come when the window goes while another thread still
// speaks to it: SDL wakes a waiting SDL_WaitEvent by sending the window an
// event from the thread that pushed one, and that request may reach the
// server after the window's destruction (by the presenter, or by another
// client such as `xdotool windowclose`). Errors about the watched window are
// expected once it may be gone and pass in silence; any other is said on
// stderr, and the program carries on.
#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>

namespace platform::device {

class X11Watch {
 public:
  // Where SDL's X library is loaded (with SDL), the process's X errors go
  // to the handler for the rest of its life: the X library may report an
  // error up to its display's close, after the window. Before SDL's video
  // starts, since SDL puts back at its end the handler it found at its start.
  static void InstallErrorHandler();
  // Null where SDL's video does not run on X11; else watches `window`. The
  // window's thread, with SDL's video up; at most one watch at a time.
  static std::unique_ptr<X11Watch> Start(SDL_Window *window);
  ~X11Watch();
  X11Watch(const X11Watch &) = delete;
  X11Watch &operator=(const X11Watch &) = delete;

  // Whether `event`, one of SDL's SDL_SYSWMEVENT (enabled by Start), says
  // the window was destroyed by another client.
  bool Destroyed(const SDL_Event &event) const;

 private:
  explicit X11Watch(unsigned long window) : window_(window) {}
  const unsigned long window_;
};

}  // namespace platform::device
