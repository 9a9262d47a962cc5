#pragma once

// Maps GDI handles to objects. A handle carries its slot and the slot's
// generation, so a deleted handle never reaches a reused slot's object.
// Lookups are O(1). Internal to the gdi module; one thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "GdiObject.h"

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
  void Clear();

 private:
  struct Slot {
    std::uintptr_t generation = 1;
    std::unique_ptr<Object> object;
  };
  bool Decode(HGDIOBJ handle, std::size_t *index) const;

  std::vector<Slot> slots_;
  std::vector<std::size_t> free_;
  std::size_t live_ = 0;
};

}  // namespace gdi
