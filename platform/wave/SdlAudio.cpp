#include "wave/SdlAudio.h"

#include <dlfcn.h>

#include "wave/SampleClock.h"
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
  static const bool done = [] {
    void *alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return true;  // no ALSA, nothing to silence
    using Handler = void (*)(const char *, int, const char *, int, const char *, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&IgnoreAlsaMessage);
    return true;
  }();
  (void)done;
}

}  // namespace

SDL_AudioDeviceID OpenSdlAudio(bool capture, SDL_AudioCallback callback, void *user, MMRESULT *result,
                               std::string *error) {
  const char *what = capture ? "audio capture device" : "audio output device";
  std::string why;
  const SdlLibrary *sdl = SdlLibrary::Get(&why);
  if (!sdl) {
    *result = MMSYSERR_NODRIVER;
    *error = std::string("no ") + what + " found: SDL2 could not be loaded (" + why + ")";
    return 0;
  }
  SilenceAlsa();
  if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
    *result = MMSYSERR_NODRIVER;
    *error = std::string("no ") + what + " found: no audio system is available (SDL: " + sdl->GetError() + ")";
    return 0;
  }
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 512;
  want.callback = callback;
  want.userdata = user;
  SDL_AudioSpec have{};
  const SDL_AudioDeviceID device = sdl->OpenAudioDevice(nullptr, capture ? 1 : 0, &want, &have, 0);
  if (device == 0) {
    *result = MMSYSERR_BADDEVICEID;
    *error = std::string("no ") + what + " found (SDL: " + sdl->GetError() + ")";
    sdl->QuitSubSystem(SDL_INIT_AUDIO);
  }
  return device;
}

// Only devices that OpenSdlAudio opened reach these: the library is loaded.
void PauseSdlAudio(SDL_AudioDeviceID device, bool paused) {
  std::string unused;
  SdlLibrary::Get(&unused)->PauseAudioDevice(device, paused ? 1 : 0);
}

void CloseSdlAudio(SDL_AudioDeviceID device) {
  std::string unused;
  const SdlLibrary *sdl = SdlLibrary::Get(&unused);
  sdl->CloseAudioDevice(device);
  sdl->QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform::wave
