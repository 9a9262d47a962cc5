#pragma once

#include <memory>
#include <string>

#include "wave/WaveDevices.h"
#include "wave/WaveInDevice.h"
#include "wave/WaveOutDevice.h"

namespace platform::wave {

// The driver for the selected source or sink; null with the Win32 result and
// a message for the user when the host cannot provide it.
std::unique_ptr<CaptureDriver> MakeCaptureDriver(const CaptureSource &source, MMRESULT *result, std::string *error);
std::unique_ptr<PlaybackDriver> MakePlaybackDriver(const PlaybackSink &sink, MMRESULT *result, std::string *error);

}  // namespace platform::wave
