#pragma once

#include <cstdint>
#include <unordered_map>

namespace platform {

// The open events, by handle value. Values are never reused, so a closed or
// stale handle is simply not found. Not locked: the platform's lock guards it.
class EventTable {
 public:
  struct Event {
    bool manualReset;
    bool signalled;
  };

  void *Create(bool manualReset, bool initialState);
  Event *Find(void *handle);
  bool Close(void *handle);
  void Clear() { events_.clear(); }

 private:
  std::unordered_map<uintptr_t, Event> events_;
  uintptr_t last_ = 0;
};

}  // namespace platform
