#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "kernel/Clock.h"

namespace platform {

using OccurrenceId = uint64_t;

// Driver occurrences ordered by time, then by the order they were scheduled,
// in a binary heap: adding and taking cost log n, so the thousands of actions
// of a script scheduled at once do not cost their square. Not locked: the
// platform's lock guards it. Room for a few dozen entries is reserved, so
// scheduling with a small action does not allocate.
class Scheduler {
 public:
  Scheduler();

  OccurrenceId Add(Time when, std::function<void()> action);
  bool Cancel(OccurrenceId id);
  std::optional<Time> Next() const;
  // Takes out the earliest occurrence due at `now`; false if there is none.
  bool TakeDue(Time now, std::function<void()> *action);

 private:
  struct Entry {
    Time when;
    OccurrenceId id;
    std::function<void()> action;
  };
  // The heap's order: the earliest entry, and of equal times the first
  // scheduled, on top.
  static bool Later(const Entry &a, const Entry &b) { return a.when != b.when ? a.when > b.when : a.id > b.id; }

  std::vector<Entry> entries_;
  OccurrenceId lastId_ = 0;
};

}  // namespace platform
