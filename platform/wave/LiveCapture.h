#pragma once

#include <atomic>
#include <cstdint>

#include "wave/ConvertedInput.h"
#include "wave/LiveDriver.h"

namespace platform::wave {

// Capture from a live microphone (see LiveDriver).
//
// The audio thread copies what it recorded into the ring and raises the
// signal once the ring holds what the front buffer still lacks (so the
// program wakes once a buffer, not once a callback). On the program thread
// the signal fills the queued buffers from the ring, converted to 22050 Hz,
// front first, and completes each full one.
// While the device is away, silence fills them at the clock's pace, from
// where its sound stopped; when it is back its sound follows from the moment
// it came.
//
// An overrun (counted, never a stall) is sound the program did not take in
// time: recorded while the ring was full (the program thread had not come
// to a wait for a second), or found with no buffer queued to take it, which
// a microphone does not keep.
class LiveCapture : public LiveDriver {
 public:
  LiveCapture(LiveEndpoint endpoint, WaveState &wave, LossCounter *overruns)
      : LiveDriver(std::move(endpoint), wave, overruns) {}
  ~LiveCapture() override { Stop(); }

  void OnStart() override;
  void OnQueued() override;
  uint32_t OnReset() override;

 private:
  void Exchange(int16_t *samples, size_t count) override;
  void HandOver() override;
  void OnAway(Time since) override;
  bool OnBack(std::string *error) override;
  void FrontDue() override;

  // Silence into the buffers at the clock's pace from `since`.
  void Pace(Time since);
  // Silence into the buffers up to `end`, and no more pacing.
  void SilenceUpTo(Time end);
  // Silence into the front buffer up to `samples`.
  void SilenceFront(uint32_t samples);

  ConvertedInput input_;
  uint32_t frontFill_ = 0;  // program thread: samples already in the front buffer
  // What the front buffer lacks, at the program's rate; 0: wake at once
  // (no buffer queued, or the link just came or went).
  std::atomic<uint64_t> lacking_{0};
};

}  // namespace platform::wave
