#pragma once

#include "TWaveFormatEx.h"
#include "WaveDevice.h"
#include "WaveHeaderPlayMM.h"
#include "filters/IMediaSample.h"
#include "general/DelegateRC.h"
#include "general/UninitResident.h"
#include "win/wave.h"

// What a playback device calls: `done` once per service that took back at
// least one finished buffer (it need not be bound).
struct WaveOutHandlers {
  DelegateRC<void()> done;
};

// The playback direction of WaveDevice.
struct PlaybackCalls {
  using Handle = HWAVEOUT;
  using Buffer = WaveHeaderPlayMM;
  static constexpr auto Open = waveOutOpen;
  static constexpr auto Prepare = waveOutPrepareHeader;
  static constexpr auto Send = waveOutWrite;
  static constexpr auto Unprepare = waveOutUnprepareHeader;
  static constexpr auto Reset = waveOutReset;
  static constexpr auto Close = waveOutClose;
  static constexpr const CheckSite &kOpenFailed = CheckSites::kPlaybackOpenFailed;
  static constexpr const CheckSite &kPrepareFailed = CheckSites::kPlaybackPrepareFailed;
  static constexpr const CheckSite &kSendFailed = CheckSites::kPlaybackWriteFailed;
  static constexpr const CheckSite &kStopNotRunning = CheckSites::kPlaybackStopNotPlaying;
  static constexpr const CheckSite &kResetFailed = CheckSites::kPlaybackResetFailed;
  static constexpr const CheckSite &kUnprepareFailed = CheckSites::kPlaybackUnprepareFailed;
};

// Plays media samples on wave-output device 0, one buffer per written
// sample, without copying: a written sample is held until the device gives
// its buffer back. The producer writes; the device tells it through `done`
// when buffers have finished, so it can write more.
//
// Thread: the program thread only; the owner calls ProcessEvent when the
// device's notification is seen. Failures are contract checks (file
// "WaveOut"); nothing is thrown. Lifetime: registered with the tear-down root
// given at construction (uninit: stop and close; release: unbind the
// handlers); destruction stops and closes the device too.
class WaveOut : public virtual CRefCounter {
 public:
  explicit WaveOut(UninitCaller *root);
  WaveOut(const WaveOut &) = delete;
  WaveOut &operator=(const WaveOut &) = delete;

  // Open and idle becomes playing; nothing is sent until the first WriteSample.
  void Start();
  // Queues the sample's data for playing (playing only). A sample that cannot
  // be queued is not played and produces no done call.
  void WriteSample(RCPtr<AV::IMediaSample> sample);
  // Takes back the finished buffers at the front, then calls `done` once.
  void ProcessEvent();
  // Stops playing and takes every buffer back (playing only).
  void Stop() { device_.Stop(); }
  // Tear-down: stops if playing and closes the device.
  void Uninit() { device_.Close(); }

  WaveState::Value State() const { return device_.State(); }
  const TWaveFormatEx &Format() const { return format_; }
  // Buffers written and not yet taken back, oldest first.
  const std::deque<RCPtr<WaveHeaderPlayMM>> &Queue() const { return device_.Queue(); }

 protected:
  TWaveFormatEx format_;
  WaveDevice<PlaybackCalls> device_;
  WaveOutHandlers handlers_;

 private:
  void ReleaseHandlers();

  UninitResident resident_;
};
