#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace platform::wave {

// A thread on which calls into a sound server that may never return are
// made: opening, listing and closing live devices. Jobs run one at a time in
// the order posted. A caller waits for its job at most a bound of its own and
// may go on without it: a job that hangs holds up the jobs after it until its
// server answers, never the program thread.
//
// Made with its phone (the thread starts with the first job) and ended with
// it: the jobs still queued then are run all the same, and the thread is
// joined once they have; while a job still hangs, the thread is left to end
// on its own, with what the jobs share, and the phone goes on without it.
// Any thread may post and wait.
class AudioWorker {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  AudioWorker();
  ~AudioWorker();
  AudioWorker(const AudioWorker &) = delete;
  AudioWorker &operator=(const AudioWorker &) = delete;

  // Queues `job`; returns its ticket.
  uint64_t Post(std::function<void()> job);
  // Waits until the job of `ticket`, and every one before it, has run, or
  // until `deadline`; false if it has not run by then.
  bool WaitFor(uint64_t ticket, Deadline deadline);
  bool Ran(uint64_t ticket);

 private:
  struct Jobs;

  static void Run(std::shared_ptr<Jobs> jobs);

  std::shared_ptr<Jobs> jobs_;
  std::thread thread_;
};

// The phone's audio workers, one for each kind of sound server, so that one
// that stops answering never holds up the other: SDL's (whose audio must
// never be started or quit from two threads at once) and JACK's.
struct AudioWorkers {
  AudioWorker sdl;
  AudioWorker jack;
};

}  // namespace platform::wave
