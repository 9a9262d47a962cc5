#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "kernel/DriverSignal.h"
#include "wave/LiveEndpoint.h"
#include "wave/LossCounter.h"
#include "wave/PacedDriver.h"
#include "wave/SampleRing.h"

namespace platform::wave {

class WaveAudio;

// What live capture and playback share: a link to the live device (SDL's or
// JACK's, see LiveLink), the lock-free ring in which sound crosses between
// the link's audio thread and the program thread, the counter of what was
// lost, and the signal by which the audio thread has the program thread take
// over; and the device going away and coming back.
//
// The audio thread runs Exchange, which touches only the ring, the counters,
// the signal and what the derived driver says; it never locks, allocates or
// reaches the platform's lock. The signal runs HandOver on the program thread.
//
// Loss and return. While running, the link is looked at every watch period
// (LiveTimings): it is lost when its backend says so, or when it exchanged no
// sound for the stall time (the start time before its first sound, and for
// the start time after it was started). Then the
// link is stopped and closed on the audio worker, the user is told
// (LiveNotices), the derived driver carries on at the pace of the clock as a
// clock-paced driver would (capture hears silence, playback plays to
// nothing), so the program's buffers keep coming back in order, each once,
// and the device is opened again on the audio worker after the pauses
// LiveTimings gives, never on the audio thread. A link opened again runs
// at once, but the device is back only once sound goes through it (a
// suspended microphone opens and stays silent): then the user is told, and the
// derived driver takes over from the clock.
class LiveDriver : public PacedDriver, public LinkClient {
 public:
  // Opens the device, waiting at most the open time. False, with the Win32
  // result and a message for the user, when it cannot; but a driver whose
  // endpoint waits for its device starts without it (away) instead, tells
  // the user, and keeps trying.
  bool Open(MMRESULT *result, std::string *error);
  // The link is stopped at once; nothing is tried again.
  void OnAbandoned() override;

 protected:
  // `wave` and `losses` outlive the driver.
  LiveDriver(LiveEndpoint endpoint, WaveAudio &wave, LossCounter *losses);
  // Each derived driver calls Stop first in its destructor, so that the audio
  // thread is done with it before its own state goes.
  ~LiveDriver() override;

  Direction GetDirection() const { return endpoint_.capture ? Direction::Capture : Direction::Playback; }
  // Whether sound goes through the link (else the clock paces the buffers).
  bool Present() const { return link_ && !returning_; }
  // A link opened again has exchanged its first sound: the device is back.
  // Capture calls it as soon as sound has come; the watch calls it too.
  void Returned();
  bool Returning() const { return returning_; }
  int LinkRate() const { return link_->Rate(); }
  // Whether the device is in use: its link runs whenever it is there, and
  // is watched for a loss.
  void RunLink(bool on);
  // Stops the link for good; the derived destructor's first step.
  void Stop();
  // Counts the audio thread's progress, for the watch. Audio thread; true
  // for the link's first exchange, which raises the signal whatever it
  // carried (a link opened again is back with it).
  bool Exchanged(size_t count) {
    exchanged_.fetch_add(count, std::memory_order_relaxed);
    return greet_.load(std::memory_order_relaxed) && greet_.exchange(false, std::memory_order_relaxed);
  }
  // Whether the link has exchanged sound since it was started.
  bool Sounded() const { return exchanged_.load(std::memory_order_relaxed) != started_; }
  // Samples of silence that stood in for the device while it was away.
  void CountAway(uint64_t samples);
  // `count` samples at the link's rate, as samples at the program's rate
  // (for the loss counters). Audio thread too.
  uint64_t AtProgramRate(uint64_t count) const;

  // The program thread, inside a platform wait, after the audio thread raised the signal.
  virtual void HandOver() = 0;
  // The link has been stopped and is gone; the derived driver goes on at the
  // clock's pace from `since`, when sound last went through.
  virtual void OnAway(Time since) = 0;
  // The link is back (or opened the first time, before the driver is
  // attached, with nothing to take over): the derived driver readies the
  // conversion of its sound and takes over from the clock. False, with the
  // reason, when its sound cannot be converted.
  virtual bool OnBack(std::string *error) = 0;

  SampleRing ring_;
  DriverSignal signal_;
  LossCounter *const losses_;

 private:
  struct Opening;

  void Post();
  void Opened();
  bool OpenDone();
  bool Take(MMRESULT *result, std::string *error);
  void Start();
  void Halt();
  void Watch();
  void Lose(const std::string &why, Time since);
  void ScheduleWatch();
  void ScheduleRetry();
  void CancelOpening();

  const LiveEndpoint endpoint_;
  WaveAudio &wave_;
  std::unique_ptr<LiveLink> link_;
  int rate_ = 0;          // the link's, set while it is stopped
  bool running_ = false;    // in use: the link runs whenever it is there
  bool away_ = false;       // the user was told it is away
  bool returning_ = false;  // the link was opened while away: no sound yet
  std::atomic<uint64_t> exchanged_{0};
  std::atomic<bool> greet_{false};
  uint64_t started_ = 0;  // exchanged_ when the link was started
  uint64_t seen_ = 0;     // exchanged_ at the last look that saw it move
  Time movedAt_{};
  Time startedAt_{};  // when the link was last started
  OccurrenceId watch_ = 0, retry_ = 0;
  unsigned attempts_ = 0;  // opens tried since the loss
  std::shared_ptr<Opening> opening_;
  DriverSignal opened_;
};

}  // namespace platform::wave
