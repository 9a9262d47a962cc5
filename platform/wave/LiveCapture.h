#pragma once

#include <memory>
#include <string>

#include "kernel/DriverSignal.h"
#include "wave/LossCounter.h"
#include "wave/SampleRing.h"
#include "wave/SdlAudio.h"
#include "wave/WaveInDevice.h"

namespace platform::wave {

// Capture from a live microphone through SDL.
//
// SDL's audio thread, in the callback, touches only the ring, the overrun
// counter and the signal: it copies what it recorded into the ring and
// raises the signal; it never locks, allocates or reaches the platform's
// lock. The signal's action, on the program thread, fills the queued buffers
// from the ring front first and completes each full one.
//
// An overrun (counted, never a stall) is sound the program did not take in
// time: recorded while the ring was full (the program thread had not come
// to a wait for a second), or found with no buffer queued to take it, which
// a microphone does not keep. A close returns within two seconds even when
// the sound server has stopped answering (see CloseSdlAudio).
class LiveCapture : public CaptureDriver {
 public:
  // Null if there is no usable device (see OpenSdlAudio).
  static std::unique_ptr<LiveCapture> Open(const std::string &name, LossCounter *overruns, MMRESULT *result,
                                           std::string *error);
  ~LiveCapture() override;

  void OnStart() override;
  void OnAdded() override {}
  uint32_t OnReset() override;
  // The platform's reset has detached the signal: the buffers are not touched again.
  void OnAbandoned() override {}

 private:
  explicit LiveCapture(LossCounter *overruns);
  static void Callback(void *self, Uint8 *stream, int bytes);
  void HandOver();

  SDL_AudioDeviceID sdl_ = 0;
  LossCounter *overruns_;
  SampleRing ring_;
  DriverSignal arrived_;
  uint32_t frontFill_ = 0;  // program thread: samples already in the front buffer
};

}  // namespace platform::wave
