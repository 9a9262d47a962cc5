#pragma once

#include <string>

#include "wave/AudioChoice.h"
#include "wave/DeviceQueue.h"
#include "win/wave.h"

namespace platform::wave {

// The opens that failed: why the last one failed for a reason of the host
// (for LastOpenError), and, while reporting is on, one line on stderr for
// each, naming the source or sink and why. Program thread only.
class OpenFailures {
 public:
  // A waveInOpen / waveOutOpen of `chosen` failed with `result`, for
  // `reason` (empty when the host gave none). Returns `result`.
  MMRESULT Failed(Direction direction, MMRESULT result, const std::string &reason, const AudioChoice &chosen);
  const std::string &Last() const { return last_; }
  void Report(bool on) { reporting_ = on; }

 private:
  std::string last_;
  bool reporting_ = false;
};

}  // namespace platform::wave
