#include "user/MessageQueue.h"

namespace platform {

MessageQueue::MessageQueue() : ring_(64) {}

void MessageQueue::Post(const MSG &msg) {
  if (count_ == ring_.size()) Grow();
  ring_[(head_ + count_) % ring_.size()] = msg;
  ++count_;
}

void MessageQueue::PostNext(const MSG &msg) {
  if (count_ == ring_.size()) Grow();
  // Open a place in front and move only the messages put ahead earlier, so
  // the cost does not grow with what waits behind them.
  const size_t size = ring_.size();
  head_ = (head_ + size - 1) % size;
  for (size_t i = 0; i < ahead_; ++i) ring_[(head_ + i) % size] = ring_[(head_ + i + 1) % size];
  ring_[(head_ + ahead_) % size] = msg;
  ++count_;
  ++ahead_;
}

bool MessageQueue::Take(MSG *msg, bool remove) {
  if (count_ == 0) return false;
  *msg = ring_[head_];
  if (remove) {
    head_ = (head_ + 1) % ring_.size();
    --count_;
    if (ahead_ > 0) --ahead_;
  }
  return true;
}

void MessageQueue::PostQuit(int exitCode) {
  quit_ = true;
  exitCode_ = exitCode;
}

bool MessageQueue::TakeQuit(int *exitCode, bool remove) {
  if (!quit_) return false;
  *exitCode = exitCode_;
  if (remove) quit_ = false;
  return true;
}

void MessageQueue::Grow() {
  std::vector<MSG> bigger(ring_.size() * 2);
  for (size_t i = 0; i < count_; ++i) bigger[i] = ring_[(head_ + i) % ring_.size()];
  ring_.swap(bigger);
  head_ = 0;
}

}  // namespace platform
