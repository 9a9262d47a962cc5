#include "wave/WaveDevices.h"

#include "wave/DeviceTable.h"

namespace platform::wave {

void SelectCapture(const CaptureSource &source) { DeviceTable::Get().capture = source; }

void SelectPlayback(const PlaybackSink &sink) { DeviceTable::Get().playback = sink; }

std::string LastOpenError() { return DeviceTable::Get().lastError; }

}  // namespace platform::wave
