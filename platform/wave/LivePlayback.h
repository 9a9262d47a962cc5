#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "kernel/DriverSignal.h"
#include "wave/LossCounter.h"
#include "wave/SampleRing.h"
#include "wave/SdlAudio.h"
#include "wave/WaveOutDevice.h"

namespace platform::wave {

// Playback on a live speaker through SDL.
//
// The program thread copies the written buffers, in order, into the ring as
// far as it has room, so SDL's audio thread never touches the program's
// memory. The audio thread, in the callback, touches only the ring, the
// counts below, the underrun counter and the signal: it plays from the ring
// (silence when it runs dry) and raises the signal when it played
// something; it never locks, allocates or reaches the platform's lock. The
// signal's action, on the program thread, completes the buffers played and
// tops the ring up.
//
// An underrun (counted, never a stall) is silence played while written
// sound was still on its way to the speaker: the program thread did not top
// the ring up in time. A close returns within two seconds even when the
// sound server has stopped answering (see CloseSdlAudio).
class LivePlayback : public PlaybackDriver {
 public:
  // Null if there is no usable device (see OpenSdlAudio).
  static std::unique_ptr<LivePlayback> Open(const std::string &name, LossCounter *underruns, MMRESULT *result,
                                            std::string *error);
  ~LivePlayback() override;

  void OnWritten() override;
  void OnReset() override;
  // The platform's reset has detached the signal: the buffers are not touched again.
  void OnAbandoned() override {}

 private:
  explicit LivePlayback(LossCounter *underruns);
  static void Callback(void *self, Uint8 *stream, int bytes);
  void Play(Uint8 *out, size_t count);
  void HandOver();
  void Feed();

  SDL_AudioDeviceID sdl_ = 0;
  LossCounter *underruns_;
  SampleRing ring_;
  DriverSignal played_;
  // Samples since the last reset: written by the program (program thread
  // stores) and taken from the ring by the audio thread (audio thread stores).
  std::atomic<uint64_t> written_{0};
  std::atomic<uint64_t> taken_{0};
  // Program thread: where the front buffer starts, and how much is in the ring.
  uint64_t frontStart_ = 0;
  uint64_t fed_ = 0;
  bool running_ = false;
};

}  // namespace platform::wave
