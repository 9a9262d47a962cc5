#include "wave/SdlAudio.h"

#include <mutex>

#include "base/SoundFormat.h"

namespace platform::wave {

namespace {

const char *What(bool capture) { return capture ? "audio capture device" : "audio output device"; }

// Capture comes in fragments as long as the phone's buffers (a tenth of a
// second): the server's thread and the program each wake once a buffer, and
// a buffer is handed over as soon as the fragment with its last sample has
// come. Playback runs (silence, while paused) as long as the phone is on:
// fragments of 93 ms let SDL's thread sleep between them; a tone starts that
// much later, which the ear does not mind. Short playback fragments would
// also make a server such as PulseAudio's null sink run its monitor, and so
// the capture, in short blocks.
constexpr Uint16 kCaptureFragment = drovane::kSampleRate / 10;
constexpr Uint16 kPlaybackFragment = 2048;

// SDL's audio is started and quit by one thread at a time: each phone has
// one SDL worker, and this keeps a worker a phone left behind (on a server
// that stopped answering) apart from the next phone's.
std::mutex &SdlAudioLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

bool SdlAudio::Init(std::string *why) const {
  std::string reason;
  if (!calls_->Load(&reason)) {
    *why = "SDL2 could not be loaded (" + reason + ")";
    return false;
  }
  if (calls_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
    *why = std::string("no audio system is available (SDL: ") + calls_->GetError() + ")";
    return false;
  }
  return true;
}

SDL_AudioDeviceID SdlAudio::Open(bool capture, const std::string &name, SDL_AudioCallback callback, void *user,
                                 MMRESULT *result, std::string *error) const {
  std::lock_guard lock(SdlAudioLock());
  std::string why;
  if (!Init(&why)) {
    *result = MMSYSERR_NODRIVER;
    *error = std::string("no ") + What(capture) + " found: " + why;
    return 0;
  }
  SDL_AudioSpec want{};
  want.freq = drovane::kSampleRate;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = capture ? kCaptureFragment : kPlaybackFragment;
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

void SdlAudio::Close(SDL_AudioDeviceID device) const {
  std::lock_guard lock(SdlAudioLock());
  calls_->CloseAudioDevice(device);
  calls_->QuitSubSystem(SDL_INIT_AUDIO);
}

std::vector<std::string> SdlAudio::List(bool capture, std::string *error) const {
  std::lock_guard lock(SdlAudioLock());
  std::string why;
  if (!Init(&why)) {
    *error = std::string("no ") + What(capture) + " found: " + why;
    return {};
  }
  std::vector<std::string> names = Names(capture, error);
  calls_->QuitSubSystem(SDL_INIT_AUDIO);
  return names;
}

SdlAudio::Listed SdlAudio::ListAll() const {
  std::lock_guard lock(SdlAudioLock());
  Listed listed;
  if (!Init(&listed.error)) return listed;
  if (const char *driver = calls_->GetCurrentAudioDriver()) listed.driver = driver;
  listed.capture = Names(true, &listed.error);
  if (listed.error.empty()) listed.playback = Names(false, &listed.error);
  calls_->QuitSubSystem(SDL_INIT_AUDIO);
  return listed;
}

std::vector<std::string> SdlAudio::Names(bool capture, std::string *error) const {
  std::vector<std::string> names;
  const int count = calls_->GetNumAudioDevices(capture ? 1 : 0);
  if (count < 0) *error = std::string("the audio system cannot list its devices (SDL: ") + calls_->GetError() + ")";
  for (int i = 0; i < count; ++i) {
    if (const char *name = calls_->GetAudioDeviceName(i, capture ? 1 : 0)) names.emplace_back(name);
  }
  return names;
}

void SdlAudio::Pause(SDL_AudioDeviceID device, bool paused) const { calls_->PauseAudioDevice(device, paused ? 1 : 0); }

bool SdlAudio::Disconnected(SDL_AudioDeviceID device) const {
  return calls_->GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED;
}

}  // namespace platform::wave
