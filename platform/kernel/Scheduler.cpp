#include "kernel/Scheduler.h"

#include <algorithm>

namespace platform {

Scheduler::Scheduler() { entries_.reserve(64); }

OccurrenceId Scheduler::Add(Time when, std::function<void()> action) {
  entries_.push_back(Entry{when, ++lastId_, std::move(action)});
  std::push_heap(entries_.begin(), entries_.end(), Later);
  return lastId_;
}

bool Scheduler::Cancel(OccurrenceId id) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [id](const Entry &e) { return e.id == id; });
  if (it == entries_.end()) return false;
  *it = std::move(entries_.back());
  entries_.pop_back();
  std::make_heap(entries_.begin(), entries_.end(), Later);
  return true;
}

std::optional<Time> Scheduler::Next() const {
  if (entries_.empty()) return std::nullopt;
  return entries_.front().when;
}

bool Scheduler::TakeDue(Time now, std::function<void()> *action) {
  if (entries_.empty() || entries_.front().when > now) return false;
  std::pop_heap(entries_.begin(), entries_.end(), Later);
  *action = std::move(entries_.back().action);
  entries_.pop_back();
  return true;
}

}  // namespace platform
