#include "wave/SdlAudio.h"

#include "wave/SampleClock.h"

namespace platform::wave {

SDL_AudioDeviceID OpenSdlAudio(bool capture, SDL_AudioCallback callback, void *user, MMRESULT *result,
                               std::string *error) {
  const char *what = capture ? "audio capture device" : "audio output device";
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    *result = MMSYSERR_NODRIVER;
    *error = std::string("no ") + what + " found: no audio system is available (SDL: " + SDL_GetError() + ")";
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
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, &have, 0);
  if (device == 0) {
    *result = MMSYSERR_BADDEVICEID;
    *error = std::string("no ") + what + " found (SDL: " + SDL_GetError() + ")";
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  return device;
}

void CloseSdlAudio(SDL_AudioDeviceID device) {
  SDL_CloseAudioDevice(device);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform::wave
