#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "wave/DeviceQueue.h"
#include "wave/LossCounter.h"
#include "wave/WaveDevices.h"

namespace platform::wave {

// The open devices of both directions by handle, and the selected source and
// sink. Handle values are never reused, so a closed or stale handle is simply
// not found, nor is a handle of the other direction. Program thread only. A
// platform reset abandons every open device: abandoned devices are freed at
// the next wave call, outside the platform's lock.
class DeviceTable {
 public:
  static DeviceTable &Get();

  // The new device's handle.
  uintptr_t Add(std::unique_ptr<DeviceQueue> device);
  // Null unless `handle` is an open device of that direction.
  DeviceQueue *Find(Direction direction, const void *handle);
  void Close(const void *handle);

  CaptureSource capture;
  PlaybackSink playback;
  std::string lastError;
  // Since the platform's reset; live drivers add from their audio threads.
  LossCounter overruns;
  LossCounter underruns;

 private:
  DeviceTable();

  uintptr_t last_ = 0x5700;
  std::unordered_map<uintptr_t, std::unique_ptr<DeviceQueue>> devices_;
  std::vector<std::unique_ptr<DeviceQueue>> abandoned_;
};

}  // namespace platform::wave
