#include "kernel/EventTable.h"

namespace platform {

void *EventTable::Create(bool manualReset, bool initialState) {
  const uintptr_t handle = handles_.Next();
  events_.emplace(handle, Event{manualReset, initialState});
  return reinterpret_cast<void *>(handle);
}

EventTable::Event *EventTable::Find(void *handle) {
  auto it = events_.find(reinterpret_cast<uintptr_t>(handle));
  return it == events_.end() ? nullptr : &it->second;
}

bool EventTable::Close(void *handle) { return events_.erase(reinterpret_cast<uintptr_t>(handle)) == 1; }

}  // namespace platform
