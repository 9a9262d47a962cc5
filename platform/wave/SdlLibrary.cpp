#include "wave/SdlLibrary.h"

#include <dlfcn.h>

namespace platform::wave {

namespace {

template <class F>
bool Resolve(void *library, const char *name, F *function) {
  *function = reinterpret_cast<F>(dlsym(library, name));
  return *function != nullptr;
}

struct Loaded {
  SdlLibrary calls{};
  bool ok = false;
  std::string error;

  Loaded() {
    void *library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
      error = dlerror();
      return;
    }
    calls.handle = library;
    ok = Resolve(library, "SDL_InitSubSystem", &calls.InitSubSystem) &&
         Resolve(library, "SDL_QuitSubSystem", &calls.QuitSubSystem) &&
         Resolve(library, "SDL_OpenAudioDevice", &calls.OpenAudioDevice) &&
         Resolve(library, "SDL_CloseAudioDevice", &calls.CloseAudioDevice) &&
         Resolve(library, "SDL_PauseAudioDevice", &calls.PauseAudioDevice) &&
         Resolve(library, "SDL_GetError", &calls.GetError) &&
         Resolve(library, "SDL_GetNumAudioDevices", &calls.GetNumAudioDevices) &&
         Resolve(library, "SDL_GetAudioDeviceName", &calls.GetAudioDeviceName);
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
