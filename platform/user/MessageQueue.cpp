#include "user/MessageQueue.h"

#include <utility>

namespace platform {

MessageQueue::MessageQueue() : ring_(64) {}

void MessageQueue::Post(const MSG &msg) {
  if (count_ == ring_.size()) Grow();
  ring_[(head_ + count_) % ring_.size()] = msg;
  ++count_;
}

void MessageQueue::PostNext(const MSG &msg) {
  Post(msg);
  // Rotate the new last message back to just behind the earlier ones put ahead.
  for (size_t i = count_ - 1; i > ahead_; --i)
    std::swap(ring_[(head_ + i) % ring_.size()], ring_[(head_ + i - 1) % ring_.size()]);
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
