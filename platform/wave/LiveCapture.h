#pragma once

#include <atomic>
#include <cstdint>

#include "wave/ClockPacer.h"
#include "wave/ConvertedInput.h"
#include "wave/LinkSupervisor.h"
#include "wave/LossCounter.h"
#include "wave/WaveDriver.h"

namespace platform::wave {

// Capture from a live microphone, whose link its supervisor keeps (see
// LinkSupervisor).
//
// The audio thread copies what it recorded into the ring and raises the
// signal once the ring holds what the front buffer still lacks (so the
// program wakes once a buffer, not once a callback). While the link runs,
// the signal fills the queued buffers from the ring on the program thread,
// converted to 22050 Hz, front first, and completes each full one. While the device is away, the pacer fills them
// with silence at the clock's pace, from where its sound stopped; when it is
// back its sound follows from the moment it came.
//
// An overrun (counted, never a stall) is sound the program did not take in
// time: recorded while the ring was full (the program thread had not come
// to a wait for a second), or found with no buffer queued to take it, which
// a microphone does not keep.
class LiveCapture : public WaveDriver, private LinkClient, private LinkUser {
 public:
  // `wave` and `overruns` outlive it.
  LiveCapture(LiveEndpoint endpoint, WaveAudio &wave, LossCounter *overruns);
  ~LiveCapture() override { link_.Close(); }

  // See LinkSupervisor::Open.
  bool Open(MMRESULT *result, std::string *error) { return link_.Open(result, error); }
  void OnStart() override;
  void OnQueued() override;
  uint32_t OnReset() override;
  void OnAbandoned() override;

 private:
  void Exchange(const ServerBuffer &buffer) override;
  void OnHandOver() override;
  void OnAway(Time since) override;
  bool OnBack(int rate, std::string *error) override;
  void FrontDue();

  // Silence into the buffers at the clock's pace from `since`.
  void Pace(Time since);
  // Silence into the buffers up to `end`, and no more pacing.
  void SilenceUpTo(Time end);
  // Silence into the front buffer up to `samples`.
  void SilenceFront(uint32_t samples);
  // The front buffer is full.
  void CompleteFront();

  LinkSupervisor link_;
  ClockPacer pacer_;
  ConvertedInput input_;
  LossCounter *const overruns_;
  uint32_t frontFill_ = 0;  // program thread: samples already in the front buffer
  // What the front buffer lacks, at the program's rate; 0: wake at once
  // (no buffer queued, or the link just came or went).
  std::atomic<uint64_t> lacking_{0};
};

}  // namespace platform::wave
