#include "user/TimerTable.h"

#include <algorithm>

namespace platform {

TimerTable::TimerTable() { timers_.reserve(16); }

UINT_PTR TimerTable::Set(UINT_PTR requested, Time period, TIMERPROC proc, Time now) {
  if (proc && !IsKnownProc(proc)) procs_.push_back(proc);
  if (Timer *timer = requested ? Find(requested) : nullptr) {
    *timer = Timer{requested, period, now + period, proc};
    return requested;
  }
  timers_.push_back(Timer{NewId(), period, now + period, proc});
  return timers_.back().id;
}

bool TimerTable::Kill(UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(), [id](const Timer &t) { return t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

TimerTable::Timer *TimerTable::EarliestDue(Time now) {
  Timer *earliest = nullptr;
  for (Timer &t : timers_)
    if (t.due <= now && (!earliest || t.due < earliest->due)) earliest = &t;
  return earliest;
}

bool TimerTable::AnyDueIn(Time after, Time upTo) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const Timer &t) { return t.due > after && t.due <= upTo; });
}

std::optional<Time> TimerTable::NextDueAfter(Time t) const {
  std::optional<Time> next;
  for (const Timer &timer : timers_)
    if (timer.due > t && (!next || timer.due < *next)) next = timer.due;
  return next;
}

bool TimerTable::IsKnownProc(TIMERPROC proc) const {
  return std::find(procs_.begin(), procs_.end(), proc) != procs_.end();
}

TimerTable::Timer *TimerTable::Find(UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(), [id](const Timer &t) { return t.id == id; });
  return it == timers_.end() ? nullptr : &*it;
}

// Ids stay within 32 bits: the program keeps them as unsigned 32-bit values.
UINT_PTR TimerTable::NewId() {
  do {
    lastId_ = lastId_ == 0xFFFFFFFFu ? 1 : lastId_ + 1;
  } while (Find(lastId_));
  return lastId_;
}

}  // namespace platform
