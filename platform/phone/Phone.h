#pragma once

// The emulated phone as one object: every service behind the Win32-style
// calls, built in one stated order and torn down in the reverse one.
//
//   1. kernel   (Core: the clock, events, occurrences, driver signals, faults)
//   2. gdi      (drawing objects, fonts, stock objects)
//   3. user     (the program thread's queue and timers)
//   4. windows  (the window manager and the screen it draws on)
//   5. shell    (soft-key bars, pop-ups, the message box)
//   6. the SDL audio calls (loaded on first use, or a stand-in a test gives)
//   7. the audio workers (the threads on which sound servers are called;
//               see AudioWorker)
//   8. wave     (the open devices, the chosen source and sink, open failures,
//               live losses)
//
// The platform's calls reach the running phone through one pointer, as a
// process reaches its OS. One phone runs at a time; the device's main() and
// each test make their own. A reset is the old phone's destruction and a new
// one's construction: handles, windows, devices and occurrences of the old one
// are gone (open devices are abandoned: live ones paused at once, then all
// closed, without touching the program's buffers or events).
//
// Thread: the phone is made and destroyed on the thread that is its program
// thread. Other threads (a driver's, the window's, a signal watcher's) may
// only make the calls documented as any-thread, and only while it lives.
#include <atomic>
#include <memory>
#include <source_location>

#include "kernel/Platform.h"
#include "kernel/ThreadRule.h"
#include "win/kernel.h"

namespace gdi {
class State;
}

namespace platform {

class Core;
class UserState;
class WindowManager;
namespace shell {
struct ShellState;
}
namespace wave {
struct AudioWorkers;
class SdlAudioCalls;
class WaveAudio;
}  // namespace wave

class Phone {
 public:
  // A phone on `clock` (starting at 0) whose live audio goes through `sdl`
  // (null: SDL2, loaded when a live device is first opened). It is off: no
  // screen or caption strip until SwitchOn.
  explicit Phone(ClockKind clock, std::shared_ptr<wave::SdlAudioCalls> sdl = nullptr);
  ~Phone();
  Phone(const Phone &) = delete;
  Phone &operator=(const Phone &) = delete;

  // The empty screen and the shell's caption strip; the device calls it
  // before WinMain. A second call does nothing.
  void SwitchOn();

  // The running phone, or null. Entry points of the platform use the checked
  // forms below; the services' own code, reached from an entry point, may use
  // this.
  static Phone *Running() { return running_.load(std::memory_order_acquire); }
  // The running phone for a call that belongs to its program thread.
  // Violating the rule is a fault of the caller that nothing could safely go
  // on from: the process stops (abort) after a line on stderr naming the call
  // and the broken rule (no phone running, or another thread).
  static Phone &ForProgramThread(std::source_location call = std::source_location::current()) {
    return Checked(call, true);
  }
  // The same for a call known by its name.
  static Phone &ForProgramThread(const char *call) { return Checked(call, true); }
  // The running phone for a call any thread may make (it aborts likewise
  // when no phone is running).
  static Phone &ForAnyThread(std::source_location call = std::source_location::current()) {
    return Checked(call, false);
  }

  DWORD ProgramThread() const { return programThread_; }
  Core &Kernel() { return *kernel_; }
  gdi::State &Gdi() { return *gdi_; }
  UserState &User() { return *user_; }
  WindowManager &Windows() { return *windows_; }
  shell::ShellState &Shell() { return *shell_; }
  wave::WaveAudio &Wave() { return *wave_; }

 private:
  template <class Call>
  static Phone &Checked(Call call, bool programThreadOnly) {
    Phone *phone = Running();
    if (!phone) ThreadRuleBroken(call, ThreadRule::kNoPhone);
    if (programThreadOnly && GetCurrentThreadId() != phone->programThread_)
      ThreadRuleBroken(call, ThreadRule::kProgramThread);
    return *phone;
  }

  inline static std::atomic<Phone *> running_{nullptr};

  const DWORD programThread_;
  std::unique_ptr<Core> kernel_;
  std::unique_ptr<gdi::State> gdi_;
  std::unique_ptr<UserState> user_;
  std::unique_ptr<WindowManager> windows_;
  std::unique_ptr<shell::ShellState> shell_;
  std::shared_ptr<wave::SdlAudioCalls> sdl_;
  std::unique_ptr<wave::AudioWorkers> workers_;
  std::unique_ptr<wave::WaveAudio> wave_;
};

}  // namespace platform
