#pragma once

#include <atomic>
#include <cstdint>

#include "wave/LiveDriver.h"

namespace platform::wave {

// Playback on a live speaker through SDL (see LiveDriver).
//
// The program thread copies the written buffers, in order, into the ring as
// far as it has room, so SDL's audio thread never touches the program's
// memory. The audio thread plays from the ring (silence when it runs dry),
// keeps the counts below, and raises the signal when it played something. On
// the program thread the signal completes the buffers played and tops the
// ring up.
//
// An underrun (counted, never a stall) is silence played while written
// sound was still on its way to the speaker: the program thread did not top
// the ring up in time.
class LivePlayback : public LiveDriver {
 public:
  LivePlayback(SdlAudio &sdl, LossCounter *underruns) : LiveDriver(Direction::Playback, sdl, underruns) {}
  ~LivePlayback() override { Close(); }

  void OnQueued() override;
  uint32_t OnReset() override;

 private:
  void Exchange(Uint8 *stream, size_t count) override;
  void HandOver() override;
  void Feed();

  // Samples since the last reset: written by the program (program thread
  // stores) and taken from the ring by the audio thread (audio thread stores).
  std::atomic<uint64_t> written_{0};
  std::atomic<uint64_t> taken_{0};
  // Program thread: where the front buffer starts, and how much is in the ring.
  uint64_t frontStart_ = 0;
  uint64_t fed_ = 0;
  bool running_ = false;
};

}  // namespace platform::wave
