#pragma once

#include <cstdint>

#include "wave/LiveDriver.h"

namespace platform::wave {

// Capture from a live microphone through SDL (see LiveDriver).
//
// The audio thread copies what it recorded into the ring and raises the
// signal. On the program thread the signal fills the queued buffers from the
// ring front first and completes each full one.
//
// An overrun (counted, never a stall) is sound the program did not take in
// time: recorded while the ring was full (the program thread had not come
// to a wait for a second), or found with no buffer queued to take it, which
// a microphone does not keep.
class LiveCapture : public LiveDriver {
 public:
  LiveCapture(SdlAudio &sdl, LossCounter *overruns) : LiveDriver(Direction::Capture, sdl, overruns) {}
  ~LiveCapture() override { Close(); }

  void OnStart() override { Pause(false); }
  void OnQueued() override {}
  uint32_t OnReset() override;

 private:
  void Exchange(Uint8 *stream, size_t count) override;
  void HandOver() override;

  uint32_t frontFill_ = 0;  // program thread: samples already in the front buffer
};

}  // namespace platform::wave
