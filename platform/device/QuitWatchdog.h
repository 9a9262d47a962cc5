#pragma once

#include "device/Console.h"

namespace platform::device {

// Ends a run as a desktop user closing the window would; a program that has
// not ended within the grace time after that is stopped by the device
// (status 1, with a line on stderr), so a run never hangs. Program thread,
// with the phone running.
class QuitWatchdog {
 public:
  // How long a program may take to end after being asked to.
  static constexpr double kGraceSeconds = 5;

  explicit QuitWatchdog(const Console &console) : console_(console) {}
  // Asks the program to close (the first time only) and starts the grace time.
  void Quit();
  bool Quitting() const { return quitting_; }

 private:
  const Console &console_;
  bool quitting_ = false;
};

}  // namespace platform::device
