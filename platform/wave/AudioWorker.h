#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace platform::wave {

// The one thread on which calls into sound servers that may never return are
// made: opening, listing and closing live devices (SDL's and JACK's). Jobs run
// one at a time in the order posted, so SDL's audio, which must not be started
// or quit from two threads at once, never is. A caller waits for its job at
// most a bound of its own and may go on without it: a job that hangs holds up
// the jobs after it until its server answers, never the program thread.
//
// One for the process: it outlives every phone and is never joined (a job may
// never end); at exit it is left as it is. Any thread may post and wait.
class AudioWorker {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  static AudioWorker &Shared();

  // Queues `job`; returns its ticket.
  uint64_t Post(std::function<void()> job);
  // Waits until the job of `ticket`, and every one before it, has run, or
  // until `deadline`; false if it has not run by then.
  bool WaitFor(uint64_t ticket, Deadline deadline);
  bool Ran(uint64_t ticket);
  // The ticket of the last job posted (0: none yet).
  uint64_t Last();

 private:
  AudioWorker();
  void Run();

  std::mutex mutex_;
  std::condition_variable posted_, ran_;
  std::deque<std::function<void()>> jobs_;
  uint64_t last_ = 0;  // tickets handed out
  uint64_t ran_count_ = 0;
};

}  // namespace platform::wave
