#include "wave/WaveDevices.h"

#include "wave/DeviceTable.h"
#include "wave/SdlAudio.h"

namespace platform::wave {

void SelectCapture(const CaptureSource &source) { DeviceTable::Get().capture = source; }

void SelectPlayback(const PlaybackSink &sink) { DeviceTable::Get().playback = sink; }

std::string LastOpenError() { return DeviceTable::Get().lastError; }

std::vector<std::string> ListLiveDevices(bool capture, std::string *error) { return ListSdlAudio(capture, error); }

LiveLosses LiveLossCounts() {
  const DeviceTable &table = DeviceTable::Get();
  return LiveLosses{table.overruns.times, table.overruns.samples, table.underruns.times, table.underruns.samples};
}

}  // namespace platform::wave
