#pragma once

#include <string>
#include <vector>

#include "device/Console.h"

namespace platform::device {

// The screenshots a run asked for: the script's, taken at the next idle
// moment after their time (the screen as the program has drawn it by
// then), and the one of the last screen (--screenshot), taken once. A shot
// that cannot be written is said on stderr with the reason and fails the
// run, but for a last screen the user did not ask for (a headless run's
// default), which is only said. Program thread, with the phone running.
class Screenshots {
 public:
  Screenshots(const Console &console, std::string lastScreen, bool lastAsked)
      : console_(console), lastScreen_(std::move(lastScreen)), lastAsked_(lastAsked) {}

  void Ask(std::string path) { pending_.push_back(std::move(path)); }
  void TakePending();
  // The last screen's shot, the first time only.
  void TakeLast();
  bool Failed() const { return failed_; }

 private:
  bool Take(const std::string &path);

  const Console &console_;
  std::string lastScreen_;
  bool lastAsked_;
  std::vector<std::string> pending_;
  bool lastTaken_ = false;
  bool failed_ = false;
};

}  // namespace platform::device
