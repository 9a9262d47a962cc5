#pragma once

#include <cstdint>

namespace platform::wave {

class DeviceQueue;

// Records into or plays the buffers of one open device, completing them front
// first through the device. Program thread only; a driver with a thread of
// its own (live input or output) hands its data over to the program thread.
class WaveDriver {
 public:
  virtual ~WaveDriver() = default;
  void Attach(DeviceQueue *device) { device_ = device; }

  // Capture: recording begins (waveInStart). A playback device plays from
  // its open on and is never started.
  virtual void OnStart() {}
  // A buffer was queued at the back.
  virtual void OnQueued() = 0;
  // Recording or playing stops, on a started device only. Capture returns
  // the bytes already recorded into the front buffer; playback drops what has
  // not been played and returns 0.
  virtual uint32_t OnReset() = 0;
  // The phone is ending with the device open, its occurrences dropped: from
  // now on the driver must not touch the device's buffers or event, and a
  // driver with a thread of its own stops it at once. Its destruction
  // follows.
  virtual void OnAbandoned() = 0;

 protected:
  DeviceQueue *device_ = nullptr;
};

}  // namespace platform::wave
