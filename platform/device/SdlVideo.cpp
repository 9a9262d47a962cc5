#include "device/SdlVideo.h"

#include <dlfcn.h>

#include "wave/SdlLibrary.h"

namespace platform::device {

namespace {

template <class F>
bool Resolve(void *library, const char *name, F *function) {
  *function = reinterpret_cast<F>(dlsym(library, name));
  return *function != nullptr;
}

struct Loaded {
  SdlVideo calls{};
  bool ok = false;
  std::string error;

  Loaded() {
    const wave::SdlLibrary *sdl = wave::SdlLibrary::Get(&error);
    if (!sdl) return;
    void *l = sdl->handle;
    ok = Resolve(l, "SDL_InitSubSystem", &calls.InitSubSystem) &&
         Resolve(l, "SDL_QuitSubSystem", &calls.QuitSubSystem) &&
         Resolve(l, "SDL_GetError", &calls.GetError) && Resolve(l, "SDL_SetHint", &calls.SetHint) &&
         Resolve(l, "SDL_GetDisplayUsableBounds", &calls.GetDisplayUsableBounds) &&
         Resolve(l, "SDL_CreateWindow", &calls.CreateWindow) && Resolve(l, "SDL_DestroyWindow", &calls.DestroyWindow) &&
         Resolve(l, "SDL_SetWindowTitle", &calls.SetWindowTitle) &&
         Resolve(l, "SDL_GetWindowSurface", &calls.GetWindowSurface) &&
         Resolve(l, "SDL_UpdateWindowSurface", &calls.UpdateWindowSurface) &&
         Resolve(l, "SDL_CreateRGBSurfaceWithFormatFrom", &calls.CreateRGBSurfaceWithFormatFrom) &&
         Resolve(l, "SDL_FreeSurface", &calls.FreeSurface) && Resolve(l, "SDL_UpperBlitScaled", &calls.BlitScaled) &&
         Resolve(l, "SDL_WaitEvent", &calls.WaitEvent) && Resolve(l, "SDL_PushEvent", &calls.PushEvent) &&
         Resolve(l, "SDL_RegisterEvents", &calls.RegisterEvents);
    if (!ok) error = "libSDL2-2.0.so.0 lacks a video call";
  }
};

}  // namespace

const SdlVideo *SdlVideo::Get(std::string *error) {
  static const Loaded loaded;
  if (!loaded.ok) *error = loaded.error;
  return loaded.ok ? &loaded.calls : nullptr;
}

}  // namespace platform::device
