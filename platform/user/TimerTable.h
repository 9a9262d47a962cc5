#pragma once

#include <optional>
#include <vector>

#include "kernel/Clock.h"
#include "win/user.h"

namespace platform {

// The running timers without a window, in the order they were set. A timer
// is due while its due time has passed; taking its WM_TIMER restarts the
// period from then. Not locked: the platform's lock guards it.
class TimerTable {
 public:
  struct Timer {
    UINT_PTR id;
    Time period;
    Time due;
    TIMERPROC proc;
  };

  TimerTable();

  // Replaces the running timer `requested`, or sets a new one; returns its id.
  UINT_PTR Set(UINT_PTR requested, Time period, TIMERPROC proc, Time now);
  bool Kill(UINT_PTR id);
  // The timer due longest ago at `now` (the first set among equals), or null.
  Timer *EarliestDue(Time now);
  bool AnyDueIn(Time after, Time upTo) const;
  std::optional<Time> NextDueAfter(Time t) const;
  // Whether `proc` has ever been given to Set.
  bool IsKnownProc(TIMERPROC proc) const;

 private:
  Timer *Find(UINT_PTR id);
  UINT_PTR NewId();

  std::vector<Timer> timers_;
  std::vector<TIMERPROC> procs_;
  UINT_PTR lastId_ = 0;
};

}  // namespace platform
