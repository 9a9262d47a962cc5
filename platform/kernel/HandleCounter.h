#pragma once

#include <atomic>
#include <cstdint>

namespace platform {

// Hands out the values of one kind of handle, `step` apart from `first` on,
// and never the same one twice in the process: the counter outlives phones,
// so a handle of an earlier phone is simply not found by a later one. Any
// thread.
class HandleCounter {
 public:
  constexpr HandleCounter(uintptr_t first, uintptr_t step) : next_(first), step_(step) {}
  uintptr_t Next() { return next_.fetch_add(step_, std::memory_order_relaxed); }

 private:
  std::atomic<uintptr_t> next_;
  const uintptr_t step_;
};

}  // namespace platform
