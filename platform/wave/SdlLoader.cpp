#include "wave/SdlLoader.h"

#include <dlfcn.h>

#include "wave/SdlLibrary.h"

namespace platform::wave {

namespace {

extern "C" void IgnoreAlsaMessage(const char *, int, const char *, int, const char *, ...) {}

// ALSA prints its own lines on stderr while SDL probes it (on a machine
// without a sound card, eight of them for one failed open); SDL's error, in
// our own message, already says what went wrong. ALSA's message handler is
// process-wide: set it in the library SDL is about to load (the same shared
// object), which stays loaded, so the handler holds for SDL's later use.
void SilenceAlsa() {
  void *alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!alsa) return;  // no ALSA, nothing to silence
  using Handler = void (*)(const char *, int, const char *, int, const char *, ...);
  using SetHandler = int (*)(Handler);
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&IgnoreAlsaMessage);
}

}  // namespace

bool SdlLoader::Load(std::string *error) {
  if (loaded_) return true;
  void *sdl = OpenSdlLibrary(error);
  if (!sdl) return false;
  const bool ok = ResolveSdl(sdl, "SDL_InitSubSystem", &calls_.InitSubSystem) &&
                  ResolveSdl(sdl, "SDL_QuitSubSystem", &calls_.QuitSubSystem) &&
                  ResolveSdl(sdl, "SDL_OpenAudioDevice", &calls_.OpenAudioDevice) &&
                  ResolveSdl(sdl, "SDL_CloseAudioDevice", &calls_.CloseAudioDevice) &&
                  ResolveSdl(sdl, "SDL_PauseAudioDevice", &calls_.PauseAudioDevice) &&
                  ResolveSdl(sdl, "SDL_GetAudioDeviceStatus", &calls_.GetAudioDeviceStatus) &&
                  ResolveSdl(sdl, "SDL_GetError", &calls_.GetError) &&
                  ResolveSdl(sdl, "SDL_GetNumAudioDevices", &calls_.GetNumAudioDevices) &&
                  ResolveSdl(sdl, "SDL_GetAudioDeviceName", &calls_.GetAudioDeviceName) &&
                  ResolveSdl(sdl, "SDL_GetCurrentAudioDriver", &calls_.GetCurrentAudioDriver) &&
                  ResolveSdl(sdl, "SDL_TLSCleanup", &calls_.TLSCleanup);
  if (!ok) {
    *error = "libSDL2-2.0.so.0 lacks an audio call";
    return false;
  }
  SilenceAlsa();
  loaded_ = true;
  return true;
}

}  // namespace platform::wave
