#include "wave/DeviceTable.h"

#include "kernel/Core.h"

namespace platform::wave {

DeviceTable &DeviceTable::Get() {
  static DeviceTable table;
  table.abandoned_.clear();
  return table;
}

// Runs under the platform's lock: devices are only moved aside here, since
// freeing one may wait for SDL to close its device and detach a driver
// signal, which takes that lock.
DeviceTable::DeviceTable() {
  Core::Get().AddResetHook([this] {
    for (auto &[id, device] : devices_) {
      device->Abandon();
      abandoned_.push_back(std::move(device));
    }
    devices_.clear();
    overruns.Clear();
    underruns.Clear();
  });
}

uintptr_t DeviceTable::Add(std::unique_ptr<DeviceQueue> device) {
  const uintptr_t id = ++last_;
  devices_.emplace(id, std::move(device));
  return id;
}

DeviceQueue *DeviceTable::Find(Direction direction, const void *handle) {
  auto it = devices_.find(reinterpret_cast<uintptr_t>(handle));
  if (it == devices_.end() || it->second->GetDirection() != direction) return nullptr;
  return it->second.get();
}

void DeviceTable::Close(const void *handle) { devices_.erase(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace platform::wave
