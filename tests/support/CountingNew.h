#pragma once

// Counts this test program's allocations while counting is on. A program that
// includes this links CountingNew.cpp, which replaces the global operator new,
// so it runs as a program of its own.
#include <atomic>

namespace CountingNew {
extern std::atomic<bool> counting;
extern std::atomic<long> allocations;

// Counts the allocations made by `work`.
template <class Work>
long Count(Work &&work) {
  allocations = 0;
  counting = true;
  work();
  counting = false;
  return allocations;
}
}  // namespace CountingNew
