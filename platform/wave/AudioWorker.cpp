#include "wave/AudioWorker.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace platform::wave {

// What the thread shares with the worker, kept by the thread when the
// worker ends before its jobs.
struct AudioWorker::Jobs {
  std::mutex mutex;
  std::condition_variable posted, ran;
  std::deque<std::function<void()>> queue;
  uint64_t posts = 0;  // tickets handed out
  uint64_t runs = 0;
  bool ending = false;
};

AudioWorker::AudioWorker() : jobs_(std::make_shared<Jobs>()) {}

AudioWorker::~AudioWorker() {
  if (!thread_.joinable()) return;
  bool idle;
  {
    std::lock_guard lock(jobs_->mutex);
    jobs_->ending = true;
    idle = jobs_->runs == jobs_->posts;
  }
  jobs_->posted.notify_one();
  if (idle)
    thread_.join();
  else
    thread_.detach();
}

uint64_t AudioWorker::Post(std::function<void()> job) {
  std::lock_guard lock(jobs_->mutex);
  if (!thread_.joinable()) thread_ = std::thread(&AudioWorker::Run, jobs_);
  jobs_->queue.push_back(std::move(job));
  jobs_->posted.notify_one();
  return ++jobs_->posts;
}

bool AudioWorker::WaitFor(uint64_t ticket, Deadline deadline) {
  std::unique_lock lock(jobs_->mutex);
  return jobs_->ran.wait_until(lock, deadline, [&] { return jobs_->runs >= ticket; });
}

bool AudioWorker::Ran(uint64_t ticket) {
  std::lock_guard lock(jobs_->mutex);
  return jobs_->runs >= ticket;
}

// Every job posted is run, those queued when the worker ends too: a job
// dropped unrun would close its link on whatever thread dropped it.
void AudioWorker::Run(std::shared_ptr<Jobs> jobs) {
  std::unique_lock lock(jobs->mutex);
  for (;;) {
    jobs->posted.wait(lock, [&] { return !jobs->queue.empty() || jobs->ending; });
    if (jobs->queue.empty()) return;
    std::function<void()> job = std::move(jobs->queue.front());
    jobs->queue.pop_front();
    lock.unlock();
    job();
    job = nullptr;  // what it captured goes before the job counts as run
    lock.lock();
    ++jobs->runs;
    jobs->ran.notify_all();
  }
}

}  // namespace platform::wave
