#include "kernel/StopSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCount = sizeof kSignals / sizeof kSignals[0];

// The handler's state: plain values written before it is installed, and
// lock-free atomics.
struct Earlier {
  bool replaced;
  struct sigaction action;
};
Earlier earlier[kCount];
std::atomic<int> caught{0};
std::atomic<DriverSignal *> target{nullptr};
std::atomic<int> handlersRunning{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<DriverSignal *>::is_always_lock_free);

void SetAll(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (int s : kSignals) sigaddset(&action.sa_mask, s);
  // Restarted calls: the libraries' blocking reads and writes need not
  // expect EINTR; the wake does not depend on it.
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < kCount; ++i)
    if (earlier[i].replaced) sigaction(kSignals[i], &action, nullptr);
}

extern "C" void OnStopSignal(int signal) {
  const int saved = errno;
  handlersRunning.fetch_add(1);
  if (DriverSignal *wake = target.load()) {
    int none = 0;
    if (caught.compare_exchange_strong(none, signal)) {
      SetAll(SIG_DFL);
      wake->Raise();
    }
  }
  handlersRunning.fetch_sub(1);
  errno = saved;
}

}  // namespace

StopSignals::StopSignals(std::function<void(int signal)> onStop)
    : wake_([onStop = std::move(onStop)] { onStop(caught.load()); }) {
  caught = 0;
  target = &wake_;
  for (int i = 0; i < kCount; ++i) {
    earlier[i].replaced = sigaction(kSignals[i], nullptr, &earlier[i].action) == 0 &&
                          earlier[i].action.sa_handler != SIG_IGN;
  }
  SetAll(OnStopSignal);
}

// A handler that saw the target counts itself first, so once none runs, none
// will raise the wake again.
StopSignals::~StopSignals() {
  target = nullptr;
  while (handlersRunning.load() != 0) {
  }
  for (int i = 0; i < kCount; ++i) {
    if (earlier[i].replaced) sigaction(kSignals[i], &earlier[i].action, nullptr);
    earlier[i].replaced = false;
  }
}

int StopSignals::Caught() { return caught.load(); }

void StopSignals::EndAs(int signal) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  raise(signal);
  std::_Exit(128 + signal);  // not reached: the default action of these ends the process
}

}  // namespace platform
