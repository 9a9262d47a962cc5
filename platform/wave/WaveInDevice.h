#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "win/wave.h"

namespace platform::wave {

class WaveInDevice;

// Fills the buffers of one open capture device. Each driver completes them
// front first through the device. Program thread only; a driver with a
// thread of its own (live input) hands its data over to the program thread.
class CaptureDriver {
 public:
  virtual ~CaptureDriver() = default;
  void Attach(WaveInDevice *device) { device_ = device; }

  virtual void OnStart() = 0;
  // A buffer was queued at the back.
  virtual void OnAdded() = 0;
  // Recording stops; returns the bytes already recorded into the front buffer.
  virtual uint32_t OnReset() = 0;
  // A platform reset dropped every occurrence and this device with it: from
  // now on the driver must not touch the device's buffers. Called under the
  // platform's lock.
  virtual void OnAbandoned() = 0;

 protected:
  WaveInDevice *device_ = nullptr;
};

// One open wave-input device: its queue of buffers and their flags. The
// calls' arguments and states are checked before they reach it.
class WaveInDevice {
 public:
  WaveInDevice(HANDLE event, std::unique_ptr<CaptureDriver> driver);

  void Add(WAVEHDR *header);
  void Start();
  void Reset();

  bool Started() const { return started_; }
  bool Busy() const { return !queue_.empty(); }
  const std::deque<WAVEHDR *> &Queue() const { return queue_; }
  CaptureDriver &Driver() { return *driver_; }
  void Abandon() { driver_->OnAbandoned(); }

  // For drivers: the front buffer holds `bytes` of data; mark it done,
  // take it out and signal the event.
  void CompleteFront(uint32_t bytes);

 private:
  HANDLE event_;
  bool started_ = false;
  std::deque<WAVEHDR *> queue_;
  std::unique_ptr<CaptureDriver> driver_;
};

}  // namespace platform::wave
