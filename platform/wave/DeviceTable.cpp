#include "wave/DeviceTable.h"

#include "kernel/Core.h"

namespace platform::wave {

DeviceTable &DeviceTable::Get() {
  static DeviceTable table;
  table.FreeAbandoned();
  return table;
}

// Runs under the platform's lock: devices are only moved aside here, since
// freeing one may wait for SDL to close its device and detach a driver
// signal, which takes that lock.
DeviceTable::DeviceTable() {
  Core::Get().AddResetHook([this] {
    for (auto &[id, device] : in) {
      device->Abandon();
      abandonedIn_.push_back(std::move(device));
    }
    for (auto &[id, device] : out) {
      device->Abandon();
      abandonedOut_.push_back(std::move(device));
    }
    in.clear();
    out.clear();
    overruns.Clear();
    underruns.Clear();
  });
}

void DeviceTable::FreeAbandoned() {
  abandonedIn_.clear();
  abandonedOut_.clear();
}

WaveInDevice *DeviceTable::FindIn(HWAVEIN h) {
  auto it = in.find(reinterpret_cast<uintptr_t>(h));
  return it == in.end() ? nullptr : it->second.get();
}

WaveOutDevice *DeviceTable::FindOut(HWAVEOUT h) {
  auto it = out.find(reinterpret_cast<uintptr_t>(h));
  return it == out.end() ? nullptr : it->second.get();
}

void DeviceTable::CloseIn(HWAVEIN h) { in.erase(reinterpret_cast<uintptr_t>(h)); }
void DeviceTable::CloseOut(HWAVEOUT h) { out.erase(reinterpret_cast<uintptr_t>(h)); }

}  // namespace platform::wave
