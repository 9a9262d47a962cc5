#include "wave/SdlLibrary.h"

#include <dlfcn.h>

namespace platform::wave {

namespace {

struct Loaded {
  SdlLibrary calls{};
  bool ok = false;
  std::string error;

  Loaded() {
    calls.handle = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!calls.handle) {
      error = dlerror();
      return;
    }
    ok = calls.Resolve("SDL_InitSubSystem", &calls.InitSubSystem) &&
         calls.Resolve("SDL_QuitSubSystem", &calls.QuitSubSystem) &&
         calls.Resolve("SDL_OpenAudioDevice", &calls.OpenAudioDevice) &&
         calls.Resolve("SDL_CloseAudioDevice", &calls.CloseAudioDevice) &&
         calls.Resolve("SDL_PauseAudioDevice", &calls.PauseAudioDevice) &&
         calls.Resolve("SDL_GetError", &calls.GetError) &&
         calls.Resolve("SDL_GetNumAudioDevices", &calls.GetNumAudioDevices) &&
         calls.Resolve("SDL_GetAudioDeviceName", &calls.GetAudioDeviceName) &&
         calls.Resolve("SDL_TLSCleanup", &calls.TLSCleanup);
    if (!ok) error = "libSDL2-2.0.so.0 lacks an audio call";
  }
};

}  // namespace

const SdlLibrary *SdlLibrary::Get(std::string *error) {
  static const Loaded loaded;
  if (!loaded.ok) *error = loaded.error;
  return loaded.ok ? &loaded.calls : nullptr;
}

}  // namespace platform::wave
