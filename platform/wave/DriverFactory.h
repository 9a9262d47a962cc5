#pragma once

#include <memory>
#include <string>

#include "wave/WaveDriver.h"
#include "wave/WaveAudio.h"
#include "win/wave.h"

namespace platform::wave {

// The driver for the chosen source or sink; null with the Win32 result and a
// message for the user when the host cannot provide it.
std::unique_ptr<WaveDriver> MakeCaptureDriver(WaveAudio &wave, MMRESULT *result, std::string *error);
std::unique_ptr<WaveDriver> MakePlaybackDriver(WaveAudio &wave, MMRESULT *result, std::string *error);

}  // namespace platform::wave
