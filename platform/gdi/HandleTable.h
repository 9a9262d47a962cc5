#pragma once

// Maps GDI handles to objects. A handle carries its slot and a generation
// given out once in the process, so a deleted handle, or one of an earlier
// phone, never reaches a reused slot's object. Lookups are O(1). Internal to
// the gdi module; one thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "GdiObject.h"
#include "kernel/HandleCounter.h"

namespace gdi {

class HandleTable {
 public:
  HGDIOBJ Add(std::unique_ptr<Object> object);
  // Null for a null, stale or foreign handle, or one of another kind.
  Object *Find(HGDIOBJ handle) const;
  Object *Find(HGDIOBJ handle, Kind kind) const;
  void Remove(HGDIOBJ handle);
  // Objects that are not stock objects.
  std::size_t LiveCount() const { return live_; }

 private:
  struct Slot {
    std::uintptr_t generation = 0;
    std::unique_ptr<Object> object;
  };
  bool Decode(HGDIOBJ handle, std::size_t *index) const;

  std::vector<Slot> slots_;
  std::vector<std::size_t> free_;
  std::size_t live_ = 0;
  inline static platform::HandleCounter generations_{1, 1};
};

}  // namespace gdi
