#pragma once

#include <cstddef>
#include <vector>

#include "win/user.h"

namespace platform {

// The posted messages of the program thread, first in first out, and the
// pending WM_QUIT. A ring that only grows, so posting and taking do not
// allocate once it has reached its working size. Not locked: the platform's
// lock guards it.
class MessageQueue {
 public:
  MessageQueue();

  void Post(const MSG &msg);
  // Ahead of everything posted before, after what was put ahead earlier
  // (a translated character comes right after its key, in order).
  void PostNext(const MSG &msg);
  // The oldest message; removed when `remove`. False when none is posted.
  bool Take(MSG *msg, bool remove);
  void PostQuit(int exitCode);
  bool TakeQuit(int *exitCode, bool remove);

 private:
  void Grow();

  std::vector<MSG> ring_;
  size_t head_ = 0;
  size_t count_ = 0;
  size_t ahead_ = 0;  // messages at the front put there by PostNext
  bool quit_ = false;
  int exitCode_ = 0;
};

}  // namespace platform
