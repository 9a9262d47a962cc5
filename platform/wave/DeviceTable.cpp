#include "wave/DeviceTable.h"

namespace platform::wave {

uintptr_t DeviceTable::Add(std::unique_ptr<DeviceQueue> device) {
  const uintptr_t id = handles_.Next();
  devices_.emplace(id, std::move(device));
  return id;
}

DeviceQueue *DeviceTable::Find(Direction direction, const void *handle) {
  auto it = devices_.find(reinterpret_cast<uintptr_t>(handle));
  if (it == devices_.end() || it->second->GetDirection() != direction) return nullptr;
  return it->second.get();
}

void DeviceTable::Close(const void *handle) { devices_.erase(reinterpret_cast<uintptr_t>(handle)); }

// All are stopped before any is freed: the others' audio threads must not
// run on meanwhile.
void DeviceTable::Abandon() {
  for (auto &[id, device] : devices_) device->Abandon();
  devices_.clear();
}

}  // namespace platform::wave
