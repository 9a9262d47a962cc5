#include "wave/SdlAudio.h"

#include <errno.h>

#include <cstdio>
#include <future>
#include <thread>

#include "base/SoundFormat.h"

namespace platform::wave {

namespace {

const char *What(bool capture) { return capture ? "audio capture device" : "audio output device"; }

}  // namespace

bool SdlAudio::Init(bool capture, std::string *error) {
  std::string why;
  if (!calls_->Load(&why)) {
    *error = std::string("no ") + What(capture) + " found: SDL2 could not be loaded (" + why + ")";
    return false;
  }
  if (calls_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
    *error = std::string("no ") + What(capture) + " found: no audio system is available (SDL: " + calls_->GetError() +
             ")";
    return false;
  }
  return true;
}

SDL_AudioDeviceID SdlAudio::Open(bool capture, const std::string &name, SDL_AudioCallback callback, void *user,
                                 MMRESULT *result, std::string *error) {
  if (!Init(capture, error)) {
    *result = MMSYSERR_NODRIVER;
    return 0;
  }
  SDL_AudioSpec want{};
  want.freq = drovane::kSampleRate;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 512;
  want.callback = callback;
  want.userdata = user;
  SDL_AudioSpec have{};
  const SDL_AudioDeviceID device =
      calls_->OpenAudioDevice(name.empty() ? nullptr : name.c_str(), capture ? 1 : 0, &want, &have, 0);
  if (device == 0) {
    *result = MMSYSERR_BADDEVICEID;
    const std::string which = name.empty() ? " found" : " named '" + name + "'";
    *error = std::string("no ") + What(capture) + which + " (SDL: " + calls_->GetError() + ")";
    calls_->QuitSubSystem(SDL_INIT_AUDIO);
  }
  return device;
}

void SdlAudio::Pause(SDL_AudioDeviceID device, bool paused) { calls_->PauseAudioDevice(device, paused ? 1 : 0); }

void SdlAudio::Close(SDL_AudioDeviceID device, bool capture) {
  // SDL pauses under the lock its audio thread holds around the callback:
  // from here on the callback is over, whatever the close below does.
  calls_->PauseAudioDevice(device, 1);
  std::packaged_task<void()> close([calls = calls_, device] {
    calls->CloseAudioDevice(device);
    calls->TLSCleanup();
  });
  std::future<void> closed = close.get_future();
  std::thread(std::move(close)).detach();
  if (closed.wait_for(closeBound_) == std::future_status::ready) {
    calls_->QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  // SDL's audio stays initialised: quitting it would wait on the same thread.
  std::fprintf(stderr, "%s: the %s did not close within %g s (its sound server stopped answering); ending without it\n",
               program_invocation_short_name, What(capture), closeBound_.count() / 1000.0);
}

std::vector<std::string> SdlAudio::List(bool capture, std::string *error) {
  std::vector<std::string> names;
  if (!Init(capture, error)) return names;
  const int count = calls_->GetNumAudioDevices(capture ? 1 : 0);
  if (count < 0) *error = std::string("the audio system cannot list its devices (SDL: ") + calls_->GetError() + ")";
  for (int i = 0; i < count; ++i) {
    if (const char *name = calls_->GetAudioDeviceName(i, capture ? 1 : 0)) names.emplace_back(name);
  }
  calls_->QuitSubSystem(SDL_INIT_AUDIO);
  return names;
}

}  // namespace platform::wave
