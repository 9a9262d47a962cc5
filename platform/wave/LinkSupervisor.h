#pragma once

#include <memory>
#include <string>

#include "kernel/DriverSignal.h"
#include "kernel/Platform.h"
#include "wave/LinkActivity.h"
#include "wave/LinkOpener.h"
#include "wave/LiveEndpoint.h"
#include "wave/SampleRing.h"

namespace platform::wave {

class WaveAudio;

// What a supervisor tells the driver whose link it keeps (LiveCapture,
// LivePlayback). Program thread, inside the platform's calls and waits.
class LinkUser {
 public:
  // The link went away: from `since`, when sound last went through it, the
  // driver goes on at the clock's pace.
  virtual void OnAway(Time since) = 0;
  // A link at `rate` is back (or there from the first open, before the
  // driver is attached): the driver readies the conversion of its sound and
  // takes over from the clock; false, with why, when it cannot.
  virtual bool OnBack(int rate, std::string *error) = 0;
  // The link's audio thread raised the signal while its sound goes through.
  virtual void OnHandOver() = 0;

 protected:
  ~LinkUser() = default;
};

// Keeps a live driver's link to its device (see LiveLink) going: opens it,
// watches it, tells of its loss and return, opens it again, and closes it;
// and holds what its audio thread shares with the program thread: the ring
// (a second of sound at the link's rate), the signal by which the audio
// thread has the program thread take over, and the count of what went
// through.
//
//                         +------ opened, not in use: told back ------+
//                         v                                           |
//  Starting --opened--> Running --lost: told--> Lost --retry due--> Reopening
//     |                   ^                     ^  ^                  |   |
//     |                   |                     |  +---- failed ------+   |
//     |                   |       lost: quietly |                         | opened,
//     |                   |                     |                         | in use
//     |                   +-- first sound: -- Returning <-----------------+
//     |                       told back
//     +-- failed, waiting for its device: told it is not there --> Lost
//     +-- no answer in time, waiting: told it is not there ------> Reopening
//     +-- failed or no answer, not waiting ----------------------> Closed
//  any state -- closed or abandoned --> Closed
//
// Starting: the first open, on the audio worker, which Open waits for at
// most the open time. Running: sound goes through the link (whenever the
// device is in use). Lost: no link; the driver goes on at the clock's pace
// (capture hears silence, playback plays to nothing) and a retry is due after
// the pauses LiveTimings gives. Reopening: an open is on the audio worker.
// Returning: a link opened again runs, but the device counts as back only
// once sound goes through it (a suspended microphone opens and stays silent).
// Closed: the link is stopped and closed, and nothing is tried again.
//
// While there is a link it is looked at every watch period (at the first
// hand-over after, or a period later when there is none): it is lost when
// its backend says so, or when no sound went through it for the stall time
// (the start time before its first sound, and for the start time after it
// was started). A link lost while Returning is closed and tried again without
// a word: the user was told it is away.
//
// Opens and closes run on the endpoint's audio worker, never on the audio
// thread or the program thread. Program thread, but for Exchanged, Raise,
// AtProgramRate and the ring's side the audio thread has.
class LinkSupervisor {
 public:
  enum class State { Starting, Running, Lost, Reopening, Returning, Closed };

  // `wave` outlives it; `user` and `client` (the link's audio-thread side)
  // are the driver's.
  LinkSupervisor(LiveEndpoint endpoint, WaveAudio &wave, LinkUser &user, LinkClient &client);
  ~LinkSupervisor() { Close(); }
  LinkSupervisor(const LinkSupervisor &) = delete;
  LinkSupervisor &operator=(const LinkSupervisor &) = delete;

  // Opens the device, waiting at most the open time. False, with the Win32
  // result and a message for the user, when it cannot; but an endpoint that
  // waits for its device starts without it (Lost or Reopening) instead,
  // tells the user, and keeps trying.
  bool Open(MMRESULT *result, std::string *error);
  // Whether the device is in use: its link runs whenever it is there.
  void Use(bool on);
  // The phone is ending: the link is stopped at once, nothing is tried
  // again, and Close follows.
  void Abandon();
  // The link stopped and closed for good; the driver's destructor's first
  // step, so that the audio thread is done with the driver before it goes.
  void Close();

  State GetState() const { return state_; }
  bool Running() const { return state_ == State::Running; }
  Direction GetDirection() const { return endpoint_.capture ? Direction::Capture : Direction::Playback; }
  // The link's samples per second (while Running).
  int Rate() const { return rate_; }
  SampleRing &Ring() { return ring_; }
  // Samples of silence (capture) or of sound played to nothing (playback)
  // that stood in for the device while it was away.
  void CountAway(uint64_t samples);

  // Audio thread. `count` samples went through; true for the first since
  // the link was started, which must raise the signal whatever it carried.
  bool Exchanged(size_t count) { return activity_.Exchanged(count); }
  void Raise() { signal_.Raise(); }
  // `count` samples at the link's rate, as samples at the program's.
  uint64_t AtProgramRate(uint64_t count) const;

 private:
  enum class Event { Opened, Failed, Unanswered, Lost, RetryDue, Sounded, Closed };

  void On(Event event, const std::string &why = "", Time since = {});
  bool Place(LinkOpener::Outcome outcome, std::string *error);
  bool Back(std::string *error);
  void Away(const std::string &why, Time since);
  void Ended();
  void HandOver();
  void Watch();
  void StartLink();
  void StopLink();
  void ScheduleWatch();
  void ScheduleRetry();
  AudioWorker &Worker();

  const LiveEndpoint endpoint_;
  WaveAudio &wave_;
  LinkUser &user_;
  LinkClient &client_;
  State state_ = State::Starting;
  bool inUse_ = false;
  std::unique_ptr<LiveLink> link_;
  int rate_ = 0;  // the link's, set while it is stopped
  SampleRing ring_;
  DriverSignal signal_;
  LinkActivity activity_;
  LinkOpener opener_;
  OccurrenceId watch_ = 0, retry_ = 0;
  Time watchDue_{};  // when the pending watch_ is due at a hand-over
  unsigned attempts_ = 0;  // opens tried since the loss
};

}  // namespace platform::wave
