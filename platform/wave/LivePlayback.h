#pragma once

#include <atomic>
#include <cstdint>
#include <deque>

#include "wave/ClockPacer.h"
#include "wave/ConvertedOutput.h"
#include "wave/LinkSupervisor.h"
#include "wave/LossCounter.h"
#include "wave/WaveDriver.h"

namespace platform::wave {

// Playback on a live speaker, whose link its supervisor keeps (see
// LinkSupervisor).
//
// The program thread copies the written buffers, in order and converted to
// the device's rate, into the ring as far as it has room, so the audio thread
// never touches the program's memory. The audio thread plays from the ring
// (silence when it runs dry), keeps the counts below, and raises the signal
// when it played something. While the link runs, the signal completes the
// buffers played and tops the ring up on the program thread. While the
// device is away, the pacer completes the buffers at the clock's pace as if
// played to nothing, from where it stopped; when it is back it plays on from
// where the clock has got to.
//
// An underrun (counted, never a stall) is silence played while written
// sound was still on its way to the speaker: the program thread did not top
// the ring up in time.
class LivePlayback : public WaveDriver, private LinkClient, private LinkUser {
 public:
  // `wave` and `underruns` outlive it.
  LivePlayback(LiveEndpoint endpoint, WaveAudio &wave, LossCounter *underruns);
  ~LivePlayback() override { link_.Close(); }

  // See LinkSupervisor::Open.
  bool Open(MMRESULT *result, std::string *error) { return link_.Open(result, error); }
  void OnQueued() override;
  uint32_t OnReset() override;
  void OnAbandoned() override;

 private:
  void Exchange(const ServerBuffer &buffer) override;
  void OnHandOver() override;
  void OnAway(Time since) override;
  bool OnBack(int rate, std::string *error) override;
  void FrontDue();

  void Feed();
  // Where the sound written so far ends, in stream positions.
  uint64_t QueuedEnd() const;
  // The end of the sound written, for the audio thread, once it is in the ring.
  void Announce();
  // Nothing in the ring or on its way; only while the link is stopped.
  void Empty();

  LinkSupervisor link_;
  ClockPacer pacer_;
  ConvertedOutput output_;
  LossCounter *const underruns_;
  // Ring positions since the stream began: the end of the sound written (the
  // program thread stores it), and what the audio thread took (it stores
  // it); and the most the audio thread took at once.
  std::atomic<uint64_t> written_{0};
  std::atomic<uint64_t> taken_{0};
  std::atomic<size_t> period_{0};
  // Program thread: the stream positions where the buffers fed so far begin
  // (front first), and how much of the stream is fed.
  std::deque<uint64_t> starts_;
  uint64_t fed_ = 0;
};

}  // namespace platform::wave
