#include "wave/OpenFailures.h"

#include <errno.h>

#include <cstdio>

#include "wave/AudioNames.h"

namespace platform::wave {

MMRESULT OpenFailures::Failed(Direction direction, MMRESULT result, const std::string &reason,
                              const AudioChoice &chosen) {
  const bool capture = direction == Direction::Capture;
  if (!reason.empty()) last_ = reason;
  if (!reporting_) return result;
  const std::string device = capture ? NameOf(chosen.capture) : NameOf(chosen.playback);
  const std::string why = reason.empty() ? "error " + std::to_string(result) : reason;
  std::fprintf(stderr, "%s: the %s device %s could not be opened (%s)\n",
               program_invocation_short_name, capture ? "capture" : "playback", device.c_str(), why.c_str());
  return result;
}

}  // namespace platform::wave
