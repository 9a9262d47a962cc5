#pragma once

#include <string>

#include "wave/DeviceQueue.h"
#include "win/wave.h"

namespace platform::wave {

// A waveInOpen / waveOutOpen that failed: keeps the host's reason (if any)
// for LastOpenError and, while failures are reported, prints one line on
// stderr naming the selected source or sink and the reason. Returns `result`.
MMRESULT OpenFailed(Direction direction, MMRESULT result, const std::string &reason);

}  // namespace platform::wave
