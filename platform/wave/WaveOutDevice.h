#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "win/wave.h"

namespace platform::wave {

class WaveOutDevice;

// Plays the buffers of one open playback device and completes them front
// first through the device. Program thread only; a driver with a thread of
// its own (live output) copies the data at write time and hands completions
// back to the program thread.
class PlaybackDriver {
 public:
  virtual ~PlaybackDriver() = default;
  void Attach(WaveOutDevice *device) { device_ = device; }

  // A buffer was queued at the back.
  virtual void OnWritten() = 0;
  // Playing stops; whatever has not been played is dropped.
  virtual void OnReset() = 0;
  // As for capture drivers: the device was abandoned by a platform reset.
  virtual void OnAbandoned() = 0;

 protected:
  WaveOutDevice *device_ = nullptr;
};

// One open wave-output device: its queue of buffers and their flags.
class WaveOutDevice {
 public:
  WaveOutDevice(HANDLE event, std::unique_ptr<PlaybackDriver> driver);

  void Write(WAVEHDR *header);
  void Reset();
  void Abandon() { driver_->OnAbandoned(); }

  bool Busy() const { return !queue_.empty(); }
  const std::deque<WAVEHDR *> &Queue() const { return queue_; }

  // For drivers: the front buffer has played; mark it done, take it out and
  // signal the event.
  void CompleteFront();

 private:
  HANDLE event_;
  std::deque<WAVEHDR *> queue_;
  std::unique_ptr<PlaybackDriver> driver_;
};

}  // namespace platform::wave
