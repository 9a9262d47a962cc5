#pragma once

#include <memory>

#include "wave/AudioChoice.h"
#include "wave/DeviceTable.h"
#include "wave/LossCounter.h"
#include "wave/OpenFailures.h"
#include "wave/SdlAudio.h"

namespace platform::wave {

// The phone's wave audio: the open devices, the source and sink the next
// opens take, the opens that failed, what the live devices lost, and SDL's
// audio for them. Program thread only, but for the loss counters, to which
// live drivers' audio threads add.
class WaveState {
 public:
  explicit WaveState(std::shared_ptr<SdlAudioCalls> sdl) : sdl(std::move(sdl)) {}
  // Abandons the devices still open (see DeviceTable::Abandon) while the
  // rest is still there for their drivers.
  ~WaveState() { devices.Abandon(); }
  WaveState(const WaveState &) = delete;
  WaveState &operator=(const WaveState &) = delete;

  SdlAudio sdl;
  LiveLossCounters losses;
  AudioChoice chosen;
  OpenFailures failures;
  DeviceTable devices;
};

}  // namespace platform::wave
