#include "wave/AudioWorker.h"

#include <thread>

namespace platform::wave {

// Never destroyed: a job may still be running (or hanging) at exit.
AudioWorker &AudioWorker::Shared() {
  static AudioWorker *worker = new AudioWorker();
  return *worker;
}

AudioWorker::AudioWorker() { std::thread([this] { Run(); }).detach(); }

uint64_t AudioWorker::Post(std::function<void()> job) {
  std::lock_guard lock(mutex_);
  jobs_.push_back(std::move(job));
  posted_.notify_one();
  return ++last_;
}

bool AudioWorker::WaitFor(uint64_t ticket, Deadline deadline) {
  std::unique_lock lock(mutex_);
  return ran_.wait_until(lock, deadline, [&] { return ran_count_ >= ticket; });
}

bool AudioWorker::Ran(uint64_t ticket) {
  std::lock_guard lock(mutex_);
  return ran_count_ >= ticket;
}

uint64_t AudioWorker::Last() {
  std::lock_guard lock(mutex_);
  return last_;
}

void AudioWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    posted_.wait(lock, [this] { return !jobs_.empty(); });
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();
    job = nullptr;  // what it captured goes before the job counts as run
    lock.lock();
    ++ran_count_;
    ran_.notify_all();
  }
}

}  // namespace platform::wave
