#include "device/X11Watch.h"

#include <dlfcn.h>
#include <errno.h>

#include <atomic>
#include <cstdio>

#include "wave/SdlLibrary.h"

// Last: Xlib's macros (None, Bool, Status) would clash with other headers.
#include <SDL2/SDL_syswm.h>

namespace platform::device {

namespace {

// The window whose errors are expected; 0 when there is none.
std::atomic<unsigned long> watched{0};
decltype(&XGetErrorText) getErrorText = nullptr;

// Xlib calls it with the display locked, on whichever thread read the error.
int SayAndCarryOn(Display *display, XErrorEvent *error) {
  const bool aboutWindow =
      error->error_code == BadWindow || error->error_code == BadDrawable || error->error_code == BadMatch;
  if (aboutWindow && error->resourceid == watched.load(std::memory_order_relaxed)) return 0;
  char text[160] = "";
  getErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "%s: the X server refused a request of the window (%s; request %d.%d), carrying on\n",
               program_invocation_short_name, text, error->request_code, error->minor_code);
  return 0;
}

}  // namespace

// SDL has loaded the X library it speaks through: the same one, by its name.
void X11Watch::InstallErrorHandler() {
  static const bool installed = [] {
    void *x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    decltype(&XSetErrorHandler) setErrorHandler = nullptr;
    if (!x11 || !wave::ResolveSdl(x11, "XSetErrorHandler", &setErrorHandler) ||
        !wave::ResolveSdl(x11, "XGetErrorText", &getErrorText))
      return false;
    setErrorHandler(SayAndCarryOn);
    return true;
  }();
  (void)installed;
}

std::unique_ptr<X11Watch> X11Watch::Start(SDL_Window *window) {
  std::string error;
  void *sdl = wave::OpenSdlLibrary(&error);
  decltype(&SDL_GetWindowWMInfo) getInfo = nullptr;
  decltype(&SDL_EventState) eventState = nullptr;
  if (!sdl || !wave::ResolveSdl(sdl, "SDL_GetWindowWMInfo", &getInfo) ||
      !wave::ResolveSdl(sdl, "SDL_EventState", &eventState))
    return nullptr;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!getInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !getErrorText) return nullptr;
  watched.store(info.info.x11.window, std::memory_order_relaxed);
  eventState(SDL_SYSWMEVENT, SDL_ENABLE);
  return std::unique_ptr<X11Watch>(new X11Watch(info.info.x11.window));
}

// The handler stays: requests about the window may still be answered.
X11Watch::~X11Watch() = default;

bool X11Watch::Destroyed(const SDL_Event &event) const {
  if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11) return false;
  const XEvent &x = event.syswm.msg->msg.x11.event;
  return x.type == DestroyNotify && x.xdestroywindow.window == window_;
}

}  // namespace platform::device
