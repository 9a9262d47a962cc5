#pragma once

#include <memory>
#include <string>

#include "wave/WaveDevices.h"
#include "wave/WaveDriver.h"
#include "win/wave.h"

namespace platform::wave {

// The driver for the selected source or sink; null with the Win32 result and
// a message for the user when the host cannot provide it.
std::unique_ptr<WaveDriver> MakeCaptureDriver(const CaptureSource &source, MMRESULT *result, std::string *error);
std::unique_ptr<WaveDriver> MakePlaybackDriver(const PlaybackSink &sink, MMRESULT *result, std::string *error);

}  // namespace platform::wave
