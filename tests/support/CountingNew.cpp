#include "CountingNew.h"

#include <cstdlib>
#include <new>

std::atomic<bool> CountingNew::counting{false};
std::atomic<long> CountingNew::allocations{0};

namespace {
// Out of line, so the compiler does not pair free() with operator new itself.
[[gnu::noinline]] void *Allocate(std::size_t size) { return std::malloc(size ? size : 1); }
[[gnu::noinline]] void Free(void *p) { std::free(p); }
}  // namespace

void *operator new(std::size_t size) {
  if (CountingNew::counting) ++CountingNew::allocations;
  if (void *p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return operator new(size); }
void operator delete(void *p) noexcept { Free(p); }
void operator delete[](void *p) noexcept { Free(p); }
void operator delete(void *p, std::size_t) noexcept { Free(p); }
void operator delete[](void *p, std::size_t) noexcept { Free(p); }
