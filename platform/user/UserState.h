#pragma once

#include "kernel/Core.h"
#include "user/MessageQueue.h"
#include "user/TimerTable.h"

namespace platform {

// The program thread's queue and timers, guarded by the kernel's lock.
//
// "New input" follows Win32: a wait wakes for input that arrived after the
// program last looked at the queue (PeekMessageW), not for input it has seen
// and left there. A posted message sets its kind's bit in `changed`; a timer
// counts as new when it fell due after the last look. So a loop that has
// emptied the queue can wait with an endless timeout and still wakes for
// anything that arrives between its last peek and its wait.
class UserState {
 public:
  MessageQueue queue;
  TimerTable timers;

  void Post(const MSG &msg);
  void PostNext(const MSG &msg);
  void PostQuit(int exitCode);
  void NotePaint() { changed_ |= QS_PAINT; }
  // A look at the queue: everything there now is no longer new.
  void Looked(Time now);
  bool HasNewInput(DWORD wakeMask, Time now) const;
  // The next time a timer can become new input (timers seen at the last look
  // that are still waiting to be taken do not count).
  std::optional<Time> NextTimerDue() const { return timers.NextDueAfter(lastLook_); }
  // The next message in Win32 order: posted, WM_QUIT, WM_PAINT, then WM_TIMER.
  bool Take(MSG *msg, bool remove, Time now);

 private:
  DWORD changed_ = 0;
  Time lastLook_{0};
};

}  // namespace platform
