#pragma once

#include <cstdint>
#include <unordered_map>

#include "kernel/HandleCounter.h"

namespace platform {

// The open events, by handle value. Values are never reused, so a closed or
// stale handle is simply not found. Not locked: the kernel's lock guards it.
class EventTable {
 public:
  struct Event {
    bool manualReset;
    bool signalled;
  };

  void *Create(bool manualReset, bool initialState);
  Event *Find(void *handle);
  bool Close(void *handle);

 private:
  std::unordered_map<uintptr_t, Event> events_;
  // Spaced like kernel handles, so a handle that is off by a little is invalid.
  inline static HandleCounter handles_{4, 4};
};

}  // namespace platform
