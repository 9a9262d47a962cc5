#include "wave/OpenFailures.h"

#include <errno.h>

#include <cstdio>

#include "base/CommandLine.h"
#include "wave/AudioNames.h"

namespace platform::wave {

MMRESULT OpenFailures::Failed(Direction direction, MMRESULT result, const std::string &reason,
                              const AudioChoice &chosen) {
  const bool capture = direction == Direction::Capture;
  if (!reason.empty()) last_ = reason;
  if (!reporting_) return result;
  const std::string device = capture ? NameOf(chosen.capture) : NameOf(chosen.playback);
  const std::string why = reason.empty() ? "error " + std::to_string(result) : reason;
  const std::string line = std::string("the ") + (capture ? "capture" : "playback") + " device " + device +
                           " could not be opened (" + why + ")";
  // A file's name is only bytes: printed safely.
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, cli::Printable(line).c_str());
  return result;
}

}  // namespace platform::wave
