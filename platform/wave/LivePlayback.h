#pragma once

#include <atomic>
#include <cstdint>
#include <deque>

#include "wave/ConvertedOutput.h"
#include "wave/LiveDriver.h"

namespace platform::wave {

// Playback on a live speaker (see LiveDriver).
//
// The program thread copies the written buffers, in order and converted to
// the device's rate, into the ring as far as it has room, so the audio thread
// never touches the program's memory. The audio thread plays from the ring
// (silence when it runs dry), keeps the counts below, and raises the signal
// when it played something. On the program thread the signal completes the
// buffers played and tops the ring up. While the device is away, buffers
// complete at the clock's pace as if played to nothing, from where it
// stopped; when it is back it plays on from where the clock has got to.
//
// An underrun (counted, never a stall) is silence played while written
// sound was still on its way to the speaker: the program thread did not top
// the ring up in time.
class LivePlayback : public LiveDriver {
 public:
  LivePlayback(LiveEndpoint endpoint, WaveAudio &wave, LossCounter *underruns)
      : LiveDriver(std::move(endpoint), wave, underruns) {}
  ~LivePlayback() override { Stop(); }

  void OnQueued() override;
  uint32_t OnReset() override;

 private:
  void Exchange(int16_t *samples, size_t count) override;
  void HandOver() override;
  void OnAway(Time since) override;
  bool OnBack(std::string *error) override;
  void FrontDue() override;

  void Feed();
  // Where the sound written so far ends, in stream positions.
  uint64_t QueuedEnd() const;
  // Nothing in the ring or on its way; only while the link is stopped.
  void Empty();

  ConvertedOutput output_;
  // Ring positions since the stream began: the end of the sound written (the
  // program thread stores it), and what the audio thread took (it stores it).
  std::atomic<uint64_t> written_{0};
  std::atomic<uint64_t> taken_{0};
  // Program thread: the stream positions where the buffers fed so far begin
  // (front first), and how much of the stream is fed.
  std::deque<uint64_t> starts_;
  uint64_t fed_ = 0;
};

}  // namespace platform::wave
