#pragma once

#include <functional>

#include "kernel/DriverSignal.h"

namespace platform {

// The signals that ask a run to end, as an event of the running phone:
// SIGINT (Ctrl-C), SIGTERM (kill, a session ending) and SIGHUP (the terminal
// went away). While a watch is set, the first of them runs `onStop` with its
// number on the program thread, inside the platform's waits and peeks, as a
// DriverSignal's action. The handler only marks the signal and raises that
// signal (no lock, no allocation: async-signal-safe), so a wait wakes at once
// on either clock, whatever thread the signal lands on.
//
// The handler also sets all three back to their default action: a second
// signal, while the run is ending, ends the process at once. A signal the
// process was started to ignore (nohup, a background job) stays ignored.
// Destruction puts the earlier actions back.
//
// One watch at a time, made and destroyed on the program thread of the
// running phone, and destroyed before that phone.
class StopSignals {
 public:
  explicit StopSignals(std::function<void(int signal)> onStop);
  ~StopSignals();
  StopSignals(const StopSignals &) = delete;
  StopSignals &operator=(const StopSignals &) = delete;

  // The signal that asked the run to end, or 0.
  static int Caught();

  // Ends the process as `signal` ends it by default, so that whoever started
  // it sees why (a shell reports 128 + N, and a script running it in a loop
  // stops at Ctrl-C). For a run that has ended in order after Caught().
  [[noreturn]] static void EndAs(int signal);

 private:
  DriverSignal wake_;
};

}  // namespace platform
