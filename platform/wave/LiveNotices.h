#pragma once

#include <functional>
#include <string>

#include "wave/DeviceQueue.h"

namespace platform::wave {

// What the user is told of live devices that go away and come back: a line
// on stderr for each loss and each return, and a notice on the phone's
// screen (the shell's caption strip) while any is away. Program thread.
class LiveNotices {
 public:
  // Where the notice is shown; the phone sets it when it is switched on.
  void ShowWith(std::function<void(const std::wstring &)> show);
  // The device named `device` ("live", "jack:system:capture_1") is away:
  // lost for `why` ("it was disconnected"), or not there when it was first
  // opened (`atStart`), `why` then saying so in full ("no audio capture
  // device found (...)").
  void Away(Direction direction, const std::string &device, const std::string &why, bool atStart);
  void Back(Direction direction, const std::string &device);
  // "" while all are there; else "No microphone", "No speaker" or "No sound device".
  std::wstring Text() const;

 private:
  void Show();

  bool away_[2] = {false, false};   // by Direction
  bool never_[2] = {false, false};  // away since the first open
  std::function<void(const std::wstring &)> show_;
};

}  // namespace platform::wave
