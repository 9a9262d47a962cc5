#pragma once

#include <dlfcn.h>

#include <string>

#include <SDL2/SDL.h>

namespace platform::wave {

// The few SDL2 calls the live audio drivers make, from the library loaded
// when a live device is first opened rather than at program start: SDL2 and
// the forty libraries it links add about 7 ms to every start, and most runs
// (tools on files, tests, the simulated device) never play or record live.
// Loaded once and kept for the life of the process. Any thread.
struct SdlLibrary {
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_GetError) GetError;
  decltype(&SDL_GetNumAudioDevices) GetNumAudioDevices;
  decltype(&SDL_GetAudioDeviceName) GetAudioDeviceName;

  // The loaded library itself, from which the device's window presenter
  // resolves its video calls.
  void *handle;
  template <class F>
  bool Resolve(const char *name, F *function) const {
    *function = reinterpret_cast<F>(dlsym(handle, name));
    return *function != nullptr;
  }

  // Null, with the loader's reason in `error`, when SDL2 cannot be loaded.
  static const SdlLibrary *Get(std::string *error);
};

}  // namespace platform::wave
