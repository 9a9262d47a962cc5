#include "kernel/EventTable.h"

namespace platform {

void *EventTable::Create(bool manualReset, bool initialState) {
  // Spaced like kernel handles, so a handle that is off by a little is invalid.
  last_ += 4;
  events_.emplace(last_, Event{manualReset, initialState});
  return reinterpret_cast<void *>(last_);
}

EventTable::Event *EventTable::Find(void *handle) {
  auto it = events_.find(reinterpret_cast<uintptr_t>(handle));
  return it == events_.end() ? nullptr : &it->second;
}

bool EventTable::Close(void *handle) { return events_.erase(reinterpret_cast<uintptr_t>(handle)) == 1; }

}  // namespace platform
