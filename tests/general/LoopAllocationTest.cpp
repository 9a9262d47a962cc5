// The loop services events and messages without allocating: this program
// counts every allocation through its own global operator new.
#include <atomic>
#include <cstdlib>
#include <new>

#include "LoopFixture.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

// Out of line, so the compiler does not pair free() with operator new itself.
[[gnu::noinline]] void *Allocate(std::size_t size) { return std::malloc(size ? size : 1); }
[[gnu::noinline]] void Free(void *p) { std::free(p); }
}  // namespace

void *operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void *p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return operator new(size); }
void operator delete(void *p) noexcept { Free(p); }
void operator delete[](void *p) noexcept { Free(p); }
void operator delete(void *p, std::size_t) noexcept { Free(p); }
void operator delete[](void *p, std::size_t) noexcept { Free(p); }

namespace {

using LoopAllocationTest = LoopFixture;

// Two events that signal each other; every service also posts a message that
// a hook takes.
TEST_F(LoopAllocationTest, ServicingTenThousandEventsAllocatesOnlyTheSnapshot) {
  long services = 0, messages = 0;
  auto a = NewEvent(), b = NewEvent();
  auto pingPong = [&](HANDLE other) {
    return NodeDoing([&, other] {
      Post(WM_USER, ++services);
      if (services == 10000)
        loop->Stop();
      else
        SetEvent(other);
    });
  };
  loop->AddEventHandle(pingPong(b->Get()), a);
  loop->AddEventHandle(pingPong(a->Get()), b);
  loop->AddMessage(HookDoing([&](const tagMSG &, bool *handled) {
                     ++messages;
                     *handled = true;
                   }),
                   WM_USER);
  SetEvent(a->Get());
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the platform sets its queue up on first use
  allocations = 0;
  counting = true;
  loop->Run();
  counting = false;
  EXPECT_EQ(services, 10000);
  EXPECT_EQ(messages, 9999);  // the last one is left when the loop stops
  EXPECT_EQ(allocations, 2) << "the two snapshot arrays of this Run";
}

}  // namespace
