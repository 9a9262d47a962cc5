#include "HandleTable.h"

namespace gdi {
namespace {

constexpr int kIndexBits = 24;
constexpr std::uintptr_t kIndexMask = (std::uintptr_t{1} << kIndexBits) - 1;

}  // namespace

HGDIOBJ HandleTable::Add(std::unique_ptr<Object> object) {
  std::size_t index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    if (slots_.size() >= kIndexMask) return nullptr;
    index = slots_.size();
    slots_.emplace_back();
  }
  if (!object->stock) ++live_;
  Slot &slot = slots_[index];
  slot.object = std::move(object);
  slot.generation = generations_.Next() & (~std::uintptr_t{0} >> kIndexBits);
  // Index + 1 keeps every handle non-null.
  return reinterpret_cast<HGDIOBJ>((slot.generation << kIndexBits) | (index + 1));
}

bool HandleTable::Decode(HGDIOBJ handle, std::size_t *index) const {
  auto value = reinterpret_cast<std::uintptr_t>(handle);
  std::uintptr_t low = value & kIndexMask;
  if (low == 0 || low > slots_.size()) return false;
  *index = low - 1;
  const Slot &slot = slots_[*index];
  return slot.object && (value >> kIndexBits) == slot.generation;
}

Object *HandleTable::Find(HGDIOBJ handle) const {
  std::size_t index;
  return Decode(handle, &index) ? slots_[index].object.get() : nullptr;
}

Object *HandleTable::Find(HGDIOBJ handle, Kind kind) const {
  Object *object = Find(handle);
  return object && object->kind == kind ? object : nullptr;
}

void HandleTable::Remove(HGDIOBJ handle) {
  std::size_t index;
  if (!Decode(handle, &index)) return;
  Slot &slot = slots_[index];
  if (!slot.object->stock) --live_;
  slot.object.reset();
  free_.push_back(index);
}

}  // namespace gdi
