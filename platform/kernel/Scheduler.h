#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "kernel/Clock.h"

namespace platform {

using OccurrenceId = uint64_t;

// Driver occurrences ordered by time, then by the order they were scheduled.
// Not locked: the platform's lock guards it. Room for a few dozen entries is
// reserved, so scheduling with a small action does not allocate.
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
  std::vector<Entry> entries_;
  OccurrenceId lastId_ = 0;
};

}  // namespace platform
