#include "kernel/Scheduler.h"

#include <algorithm>

namespace platform {

Scheduler::Scheduler() { entries_.reserve(64); }

OccurrenceId Scheduler::Add(Time when, std::function<void()> action) {
  auto at = std::upper_bound(entries_.begin(), entries_.end(), when,
                             [](Time t, const Entry &e) { return t < e.when; });
  entries_.insert(at, Entry{when, ++lastId_, std::move(action)});
  return lastId_;
}

bool Scheduler::Cancel(OccurrenceId id) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [id](const Entry &e) { return e.id == id; });
  if (it == entries_.end()) return false;
  entries_.erase(it);
  return true;
}

std::optional<Time> Scheduler::Next() const {
  if (entries_.empty()) return std::nullopt;
  return entries_.front().when;
}

bool Scheduler::TakeDue(Time now, std::function<void()> *action) {
  if (entries_.empty() || entries_.front().when > now) return false;
  *action = std::move(entries_.front().action);
  entries_.erase(entries_.begin());
  return true;
}

}  // namespace platform
