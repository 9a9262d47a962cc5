#include "InterruptWatch.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "win/kernel.h"

namespace {

// The handler's only state: plain values, written before it is installed.
volatile sig_atomic_t writeEnd = -1;
std::atomic<bool> interrupted{false};
struct Previous {
  int signal;
  bool replaced;
  struct sigaction action;
} previous[2] = {{SIGINT, false, {}}, {SIGTERM, false, {}}};

extern "C" void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // Non-blocking: a full pipe already holds a wake-up.
  [[maybe_unused]] const ssize_t n = write(writeEnd, &byte, 1);
  errno = saved;
}

// A signal the program was started to ignore (a background job) stays ignored.
bool Install() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (Previous &p : previous) {
    if (sigaction(p.signal, nullptr, &p.action) != 0) return false;
    if (p.action.sa_handler == SIG_IGN) continue;
    if (sigaction(p.signal, &action, nullptr) != 0) return false;
    p.replaced = true;
  }
  return true;
}

void Restore() {
  for (Previous &p : previous) {
    if (p.replaced) sigaction(p.signal, &p.action, nullptr);
    p.replaced = false;
  }
}

}  // namespace

InterruptWatch::InterruptWatch() : event_(MakeRC<EventHandleHolder>()) {
  interrupted = false;
  event_->Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  int ends[2];
  if (!event_->Get() || pipe2(ends, O_CLOEXEC) != 0) return;
  fcntl(ends[1], F_SETFL, O_NONBLOCK);
  readEnd_ = ends[0];
  writeEnd = ends[1];
  watcher_ = std::thread(&InterruptWatch::Watch, this);
  ok_ = Install();
}

InterruptWatch::~InterruptWatch() {
  Restore();
  if (writeEnd >= 0) {
    // The watcher reads the end of the pipe and returns.
    close(writeEnd);
    writeEnd = -1;
  }
  if (watcher_.joinable()) watcher_.join();
  if (readEnd_ >= 0) close(readEnd_);
}

bool InterruptWatch::Interrupted() const { return interrupted; }

// The watcher thread: touches nothing but the pipe and the event.
void InterruptWatch::Watch() {
  for (;;) {
    char byte;
    const ssize_t n = read(readEnd_, &byte, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n != 1) return;
    interrupted = true;
    SetEvent(event_->Get());
  }
}
