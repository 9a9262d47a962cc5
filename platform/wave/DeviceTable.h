#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "wave/LossCounter.h"
#include "wave/WaveDevices.h"
#include "wave/WaveInDevice.h"
#include "wave/WaveOutDevice.h"

namespace platform::wave {

// The open devices by handle, and the selected source and sink. Handle values
// are never reused, so a closed or stale handle is simply not found. Program
// thread only. A platform reset abandons every open device: abandoned
// devices are freed at the next wave call, outside the platform's lock.
class DeviceTable {
 public:
  static DeviceTable &Get();

  template <class H, class D>
  H Add(std::unordered_map<uintptr_t, std::unique_ptr<D>> &map, std::unique_ptr<D> device) {
    const uintptr_t id = ++last_;
    map.emplace(id, std::move(device));
    return reinterpret_cast<H>(id);
  }
  WaveInDevice *FindIn(HWAVEIN h);
  WaveOutDevice *FindOut(HWAVEOUT h);
  void CloseIn(HWAVEIN h);
  void CloseOut(HWAVEOUT h);

  std::unordered_map<uintptr_t, std::unique_ptr<WaveInDevice>> in;
  std::unordered_map<uintptr_t, std::unique_ptr<WaveOutDevice>> out;
  CaptureSource capture;
  PlaybackSink playback;
  std::string lastError;
  // Since the platform's reset; live drivers add from their audio threads.
  LossCounter overruns;
  LossCounter underruns;

 private:
  DeviceTable();
  void FreeAbandoned();

  uintptr_t last_ = 0x5700;
  std::vector<std::unique_ptr<WaveInDevice>> abandonedIn_;
  std::vector<std::unique_ptr<WaveOutDevice>> abandonedOut_;
};

}  // namespace platform::wave
