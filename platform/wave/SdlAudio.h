#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "wave/SdlAudioCalls.h"
#include "win/wave.h"

namespace platform::wave {

// SDL's audio devices (PulseAudio, PipeWire or ALSA, whichever SDL finds)
// as the live drivers open, pause and close them, through the phone's SDL
// calls. Program thread.
class SdlAudio {
 public:
  // How long a close may take before it is left to end on its own.
  static constexpr std::chrono::milliseconds kCloseBound{2000};

  explicit SdlAudio(std::shared_ptr<SdlAudioCalls> calls, std::chrono::milliseconds closeBound = kCloseBound)
      : calls_(std::move(calls)), closeBound_(closeBound) {}

  // The device named `name` as List gives it (empty: the system's default),
  // opened for 16-bit mono at 22050 samples/s (SDL converts) and paused.
  // `callback` then runs on SDL's audio thread with `user`. On failure
  // returns 0 with the Win32 result (MMSYSERR_NODRIVER: no audio system;
  // MMSYSERR_BADDEVICEID: no such device) and a message for the user in
  // `error`.
  SDL_AudioDeviceID Open(bool capture, const std::string &name, SDL_AudioCallback callback, void *user,
                         MMRESULT *result, std::string *error);
  // Pauses or resumes it. When a pause returns, the callback is not running
  // and does not run again until resumed.
  void Pause(SDL_AudioDeviceID device, bool paused);
  // Pauses it, then closes it, waiting at most the close bound: SDL's close
  // joins its audio thread, which can wait for ever on a sound server that
  // stopped answering. A close that does not end in time is reported on
  // stderr and left to end on its own (or with the process). Either way,
  // when this returns the callback is not running and never runs again.
  void Close(SDL_AudioDeviceID device, bool capture);
  // The names of the capture (or playback) devices SDL sees; empty, with the
  // reason in `error`, when there is no audio system.
  std::vector<std::string> List(bool capture, std::string *error);

 private:
  // SDL's audio initialised (the caller quits it again); false with the reason.
  bool Init(bool capture, std::string *error);

  // Shared with a close left to end on its own, which may outlive the phone.
  const std::shared_ptr<SdlAudioCalls> calls_;
  const std::chrono::milliseconds closeBound_;
};

}  // namespace platform::wave
