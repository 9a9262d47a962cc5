#include "user/UserState.h"

#include "user/WindowProcLookup.h"
#include "win/window.h"

namespace platform {

void UserState::Post(const MSG &msg) {
  queue.Post(msg);
  changed_ |= QS_POSTMESSAGE;
}

void UserState::PostNext(const MSG &msg) {
  queue.PostNext(msg);
  changed_ |= QS_POSTMESSAGE;
}

void UserState::PostQuit(int exitCode) {
  queue.PostQuit(exitCode);
  changed_ |= QS_POSTMESSAGE;
}

void UserState::Looked(Time now) {
  changed_ = 0;
  lastLook_ = now;
}

bool UserState::HasNewInput(DWORD wakeMask, Time now) const {
  if (changed_ & wakeMask) return true;
  return (wakeMask & QS_TIMER) && timers.AnyDueIn(lastLook_, now);
}

bool UserState::Take(MSG *msg, bool remove, Time now) {
  const DWORD tick = TickCount(now);
  int exitCode;
  if (queue.Take(msg, remove)) return true;
  if (queue.TakeQuit(&exitCode, remove)) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, tick, {0, 0}};
    return true;
  }
  if (HWND window = FindWindowToPaint()) {
    *msg = MSG{window, WM_PAINT, 0, 0, tick, {0, 0}};
    return true;
  }
  TimerTable::Timer *timer = timers.EarliestDue(now);
  if (!timer) return false;
  *msg = MSG{nullptr, WM_TIMER, timer->id, reinterpret_cast<LPARAM>(timer->proc), tick, {0, 0}};
  if (remove) timer->due = now + timer->period;
  return true;
}

}  // namespace platform
