#pragma once

#include <memory>
#include <string>
#include <vector>

#include "wave/SdlAudioCalls.h"
#include "win/wave.h"

namespace platform::wave {

// SDL's audio devices (PulseAudio, PipeWire or ALSA, whichever SDL finds) as
// the live drivers open, pause and close them, through the phone's SDL
// calls. Open, Close and List on the phone's SDL audio worker (AudioWorker),
// where they may wait on a sound server; Pause and Disconnected on the
// program thread. A copy shares the calls.
class SdlAudio {
 public:
  // What SDL lists of both directions.
  struct Listed {
    std::vector<std::string> capture, playback;
    std::string driver;  // the backend SDL's audio ran on
    std::string error;   // why SDL could not list at all (no SDL2, no audio system)
  };

  explicit SdlAudio(std::shared_ptr<SdlAudioCalls> calls) : calls_(std::move(calls)) {}

  // The device named `name` as List gives it (empty: the system's default),
  // opened for 16-bit mono at 22050 samples/s (SDL converts) and paused.
  // `callback` then runs on SDL's audio thread with `user`. On failure
  // returns 0 with the Win32 result (MMSYSERR_NODRIVER: no audio system;
  // MMSYSERR_BADDEVICEID: no such device) and a message for the user in
  // `error`.
  SDL_AudioDeviceID Open(bool capture, const std::string &name, SDL_AudioCallback callback, void *user,
                         MMRESULT *result, std::string *error) const;
  // Closes it, then quits SDL's audio once for its open. SDL's close joins
  // its audio thread, which waits for ever on a sound server that stopped
  // answering.
  void Close(SDL_AudioDeviceID device) const;
  // The names of the capture (or playback) devices SDL sees; empty, with the
  // reason in `error`, when there is no audio system.
  std::vector<std::string> List(bool capture, std::string *error) const;
  // The devices of both directions at once.
  Listed ListAll() const;

  // Pauses or resumes it.
  void Pause(SDL_AudioDeviceID device, bool paused) const;
  // Whether SDL has found it disconnected (its server went away, the device
  // was removed); SDL then calls back with silence at the device's pace.
  bool Disconnected(SDL_AudioDeviceID device) const;

 private:
  // SDL's audio initialised (the caller quits it again); false with why not.
  bool Init(std::string *why) const;
  std::vector<std::string> Names(bool capture, std::string *error) const;

  std::shared_ptr<SdlAudioCalls> calls_;
};

}  // namespace platform::wave
