#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "kernel/HandleCounter.h"
#include "wave/DeviceQueue.h"

namespace platform::wave {

// The open devices of both directions by handle. Handle values are never
// reused in the process, so a closed or stale handle is simply not found,
// nor is a handle of the other direction. Program thread only.
class DeviceTable {
 public:
  // The new device's handle.
  uintptr_t Add(std::unique_ptr<DeviceQueue> device);
  // Null unless `handle` is an open device of that direction.
  DeviceQueue *Find(Direction direction, const void *handle);
  void Close(const void *handle);

  // The phone's end, with devices still open: every driver is abandoned at
  // once (it touches the program's buffers no more; a live one stops its
  // link), then every device is freed (a live one's link closed on the audio
  // worker). The one place that frees devices the program left open.
  void Abandon();

 private:
  std::unordered_map<uintptr_t, std::unique_ptr<DeviceQueue>> devices_;
  inline static HandleCounter handles_{0x5701, 1};
};

}  // namespace platform::wave
