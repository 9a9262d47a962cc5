#pragma once

#include <cstdint>
#include <deque>

#include "TWaveFormatEx.h"
#include "WaveHeaderPlayMM.h"
#include "filters/IMediaSample.h"
#include "general/DelegateRC.h"
#include "general/TSmartHandle.h"
#include "general/UninitResident.h"
#include "win/wave.h"

// What a playback device calls: `done` once per service that took back at
// least one finished buffer (it need not be bound).
struct WaveOutHandlers {
  DelegateRC<void()> done;
};

// Plays media samples on wave-output device 0, one buffer per written
// sample, without copying: a written sample is held until the device gives
// its buffer back. The producer writes; the device tells it through `done`
// when buffers have finished, so it can write more.
//
// Thread: the program thread only; the owner calls ProcessEvent when the
// device's notification is seen. States: 0 closed, 1 open and idle,
// 2 playing, 3 stopping. Failures are contract checks in file "WaveOut";
// nothing is thrown. Lifetime: registered with the tear-down root given at
// construction (uninit: stop and close; release: unbind the handlers).
class WaveOut : public virtual CRefCounter {
 public:
  explicit WaveOut(UninitCaller *root);
  ~WaveOut() override;
  WaveOut(const WaveOut &) = delete;
  WaveOut &operator=(const WaveOut &) = delete;

  // State 1 becomes 2; nothing is sent until the first WriteSample.
  void Start();
  // Queues the sample's data for playing (state 2 only). A sample that cannot
  // be queued is not played and produces no done call.
  void WriteSample(RCPtr<AV::IMediaSample> sample);
  // Takes back the finished buffers at the front, then calls `done` once.
  void ProcessEvent();
  // Stops playing and takes every buffer back (state 2 only).
  void Stop();
  // Tear-down: stops if playing and closes the device.
  void Uninit();

  int32_t State() const { return state_; }
  const TWaveFormatEx &Format() const { return format_; }
  // Buffers written and not yet taken back, oldest first.
  const std::deque<RCPtr<WaveHeaderPlayMM>> &Queue() const { return queue_; }

 protected:
  using Device = TSmartHandle<HWAVEOUT, decltype(&waveOutClose), waveOutClose>;

  TWaveFormatEx format_;
  int32_t state_ = 0;
  Device device_;
  WaveOutHandlers handlers_;

 private:
  void TakeBackAll();
  void CloseDevice();
  void ReleaseHandlers();

  std::deque<RCPtr<WaveHeaderPlayMM>> queue_;
  UninitResident resident_;
};
