#include "wave/SdlAudio.h"

#include <dlfcn.h>
#include <errno.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

#include "wave/SampleClock.h"
#include "wave/SdlLibrary.h"

namespace platform::wave {

namespace {

constexpr auto kCloseBound = std::chrono::seconds(2);

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

const char *What(bool capture) { return capture ? "audio capture device" : "audio output device"; }

// SDL loaded and its audio initialised (the caller quits it again), or null
// with the reason in `error`.
const SdlLibrary *InitAudio(bool capture, std::string *error) {
  std::string why;
  const SdlLibrary *sdl = SdlLibrary::Get(&why);
  if (!sdl) {
    *error = std::string("no ") + What(capture) + " found: SDL2 could not be loaded (" + why + ")";
    return nullptr;
  }
  SilenceAlsa();
  if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
    *error = std::string("no ") + What(capture) + " found: no audio system is available (SDL: " + sdl->GetError() + ")";
    return nullptr;
  }
  return sdl;
}

// Only devices that OpenSdlAudio opened reach the calls below: SDL is loaded.
const SdlLibrary &Loaded() {
  std::string unused;
  return *SdlLibrary::Get(&unused);
}

}  // namespace

SDL_AudioDeviceID OpenSdlAudio(bool capture, const std::string &name, SDL_AudioCallback callback, void *user,
                               MMRESULT *result, std::string *error) {
  const SdlLibrary *sdl = InitAudio(capture, error);
  if (!sdl) {
    *result = MMSYSERR_NODRIVER;
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
  const SDL_AudioDeviceID device =
      sdl->OpenAudioDevice(name.empty() ? nullptr : name.c_str(), capture ? 1 : 0, &want, &have, 0);
  if (device == 0) {
    *result = MMSYSERR_BADDEVICEID;
    if (name.empty())
      *error = std::string("no ") + What(capture) + " found (SDL: " + sdl->GetError() + ")";
    else
      *error = std::string("no ") + What(capture) + " named '" + name + "' (SDL: " + sdl->GetError() + ")";
    sdl->QuitSubSystem(SDL_INIT_AUDIO);
  }
  return device;
}

void PauseSdlAudio(SDL_AudioDeviceID device, bool paused) { Loaded().PauseAudioDevice(device, paused ? 1 : 0); }

void CloseSdlAudio(SDL_AudioDeviceID device, bool capture) {
  const SdlLibrary &sdl = Loaded();
  // SDL pauses under the lock its audio thread holds around the callback:
  // from here on the callback is over, whatever the close below does.
  sdl.PauseAudioDevice(device, 1);
  std::packaged_task<void()> close([&sdl, device] { sdl.CloseAudioDevice(device); });
  std::future<void> closed = close.get_future();
  std::thread(std::move(close)).detach();
  if (closed.wait_for(kCloseBound) == std::future_status::ready) {
    sdl.QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  // SDL's audio stays initialised: quitting it would wait on the same thread.
  std::fprintf(stderr, "%s: the %s did not close within %lld s (its sound server stopped answering); ending without it\n",
               program_invocation_short_name, What(capture), static_cast<long long>(kCloseBound.count()));
}

std::vector<std::string> ListSdlAudio(bool capture, std::string *error) {
  std::vector<std::string> names;
  const SdlLibrary *sdl = InitAudio(capture, error);
  if (!sdl) return names;
  const int count = sdl->GetNumAudioDevices(capture ? 1 : 0);
  if (count < 0) *error = std::string("the audio system cannot list its devices (SDL: ") + sdl->GetError() + ")";
  for (int i = 0; i < count; ++i) {
    if (const char *name = sdl->GetAudioDeviceName(i, capture ? 1 : 0)) names.emplace_back(name);
  }
  sdl->QuitSubSystem(SDL_INIT_AUDIO);
  return names;
}

}  // namespace platform::wave
