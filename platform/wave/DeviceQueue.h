#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "base/SoundFormat.h"
#include "wave/WaveDriver.h"
#include "win/wave.h"

namespace platform::wave {

enum class Direction { Capture, Playback };

// The samples a buffer holds: every device is 16-bit mono.
inline uint32_t Samples(const WAVEHDR *h) { return h->dwBufferLength / drovane::kBytesPerSample; }

// One open wave device of either direction: its queue of buffers, their
// flags, and its driver. The calls' arguments and states are checked before
// they reach it. Capture devices record from waveInStart until a reset;
// playback devices play whatever is written, from their open on. Only
// capture fills in dwBytesRecorded. Program thread only.
class DeviceQueue {
 public:
  DeviceQueue(Direction direction, HANDLE event, std::unique_ptr<WaveDriver> driver);

  // waveInAddBuffer, waveOutWrite.
  void Add(WAVEHDR *header);
  // waveInStart; a started device stays as it is.
  void Start();
  // waveInReset, waveOutReset: every queued buffer comes back done.
  void Reset();

  Direction GetDirection() const { return direction_; }
  bool Started() const { return started_; }
  bool Busy() const { return !queue_.empty(); }
  const std::deque<WAVEHDR *> &Queue() const { return queue_; }
  void Abandon() { driver_->OnAbandoned(); }

  // For drivers: the front buffer is done (holding `bytes` of recorded data,
  // for capture); mark it done, take it out and signal the event.
  void CompleteFront(uint32_t bytes = 0);

 private:
  Direction direction_;
  HANDLE event_;
  bool started_;
  std::deque<WAVEHDR *> queue_;
  std::unique_ptr<WaveDriver> driver_;
};

}  // namespace platform::wave
