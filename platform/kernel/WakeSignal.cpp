#include "kernel/WakeSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

timespec Remaining(WakeSignal::Deadline deadline) {
  const auto left = deadline - std::chrono::steady_clock::now();
  const int64_t ns = std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(left).count());
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

std::atomic<uint64_t> lastId{0};

// The signal whose waiter this thread is (0: none), and whether it looks.
// Atomics, read by a signal handler on the same thread.
thread_local std::atomic<uint64_t> waiterOf{0};
thread_local std::atomic<bool> looking{true};

}  // namespace

WakeSignal::Looking::Looking(const WakeSignal &signal) {
  waiterOf.store(signal.id_);
  looking.store(true);
}

WakeSignal::Looking::~Looking() { looking.store(false); }

WakeSignal::Busy::Busy() : wasLooking_(looking.load()) { looking.store(false); }

WakeSignal::Busy::~Busy() { looking.store(wasLooking_); }

WakeSignal::WakeSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), id_(++lastId) {
  // Without it no wait could ever be woken: nothing sensible can go on.
  if (fd_ < 0) {
    std::perror("drovane: cannot create the platform's wake-up eventfd");
    std::abort();
  }
}

WakeSignal::~WakeSignal() { close(fd_); }

void WakeSignal::Notify() {
  if (waiterOf.load() == id_ && !looking.load()) return;
  const int saved = errno;
  const uint64_t one = 1;
  // EAGAIN means the counter is full: a wake-up is pending anyway.
  [[maybe_unused]] const ssize_t n = write(fd_, &one, sizeof one);
  errno = saved;
}

void WakeSignal::Wait(std::optional<Deadline> deadline) {
  pollfd p{fd_, POLLIN, 0};
  timespec left{};
  if (deadline) left = Remaining(*deadline);
  // EINTR counts as an early return, which callers allow for.
  if (ppoll(&p, 1, deadline ? &left : nullptr, nullptr) > 0) {
    uint64_t count;
    [[maybe_unused]] const ssize_t n = read(fd_, &count, sizeof count);
  }
}

}  // namespace platform
