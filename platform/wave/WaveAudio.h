#pragma once

#include <memory>

#include "wave/AudioChoice.h"
#include "wave/AudioWorker.h"
#include "wave/DeviceTable.h"
#include "wave/LinkCloser.h"
#include "wave/LiveNotices.h"
#include "wave/LiveTimings.h"
#include "wave/LossCounter.h"
#include "wave/OpenFailures.h"
#include "wave/SdlAudio.h"

namespace platform::wave {

// The phone's wave audio: the open devices, the source and sink the next
// opens take, the opens that failed, what the live devices lost, SDL's audio
// for them, the phone's audio workers they are opened and closed on, what
// the user is told of their losses, and their closes. Program thread only,
// but for the loss counters, to which live drivers' audio threads add.
class WaveAudio {
 public:
  // `workers` outlive it.
  WaveAudio(std::shared_ptr<SdlAudioCalls> sdl, AudioWorkers &workers)
      : sdl(std::move(sdl)), workers(workers) {}
  // Abandons the devices still open (see DeviceTable::Abandon) while the
  // rest is still there for their drivers, then waits for the live ones to
  // close, at most the close time.
  ~WaveAudio() {
    devices.Abandon();
    closer.Settle(timings.close);
  }
  WaveAudio(const WaveAudio &) = delete;
  WaveAudio &operator=(const WaveAudio &) = delete;

  SdlAudio sdl;
  AudioWorkers &workers;
  LiveTimings timings;
  LiveLossCounters losses;
  LiveNotices notices;
  AudioChoice chosen;
  OpenFailures failures;
  LinkCloser closer;
  DeviceTable devices;
};

}  // namespace platform::wave
