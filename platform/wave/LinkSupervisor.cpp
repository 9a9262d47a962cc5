#include "wave/LinkSupervisor.h"

#include <cstdio>
#include <iterator>

#include "base/SoundFormat.h"
#include "wave/WaveAudio.h"

namespace platform::wave {

namespace {

// A second of sound: room while the program thread is busy elsewhere, and
// more than the program queues ahead of the speaker.
constexpr int kRingSeconds = 1;

std::string Seconds(std::chrono::milliseconds t) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", static_cast<double>(t.count()) / 1000.0);
  return text;
}

const char *What(const LiveEndpoint &e) { return e.capture ? "audio capture device" : "audio output device"; }

}  // namespace

LinkSupervisor::LinkSupervisor(LiveEndpoint endpoint, WaveAudio &wave, LinkUser &user, LinkClient &client)
    : endpoint_(std::move(endpoint)),
      wave_(wave),
      user_(user),
      client_(client),
      ring_(kRingSeconds * drovane::kSampleRate),
      signal_([this] { HandOver(); }),
      opener_(wave.closer, GetDirection(), [this] { Ended(); }) {}

// The one place the state changes: each event, what it leads to from each
// state, and what is done on the way (the diagram in the header).
void LinkSupervisor::On(Event event, const std::string &why, Time since) {
  switch (event) {
    case Event::Opened:  // a link in place, its sound convertible unless it is to return
      if (state_ == State::Reopening && inUse_) {
        state_ = State::Returning;
      } else {
        if (state_ != State::Starting) {
          attempts_ = 0;
          wave_.notices.Back(GetDirection(), endpoint_.label);
        }
        state_ = State::Running;
      }
      if (inUse_) StartLink();
      return;
    case Event::Sounded:  // a returning link's first sound, its sound convertible
      state_ = State::Running;
      attempts_ = 0;
      wave_.notices.Back(GetDirection(), endpoint_.label);
      return;
    case Event::Failed:      // an open made no link, or one whose sound cannot be converted
    case Event::Unanswered:  // the first open did not end within the open time
      if (state_ == State::Starting) {
        if (link_) wave_.closer.Close(std::move(link_), GetDirection(), Worker());
        if (!endpoint_.waitForDevice) return On(Event::Closed);
        wave_.notices.Away(GetDirection(), endpoint_.label, why, true);
      }
      state_ = event == Event::Failed ? State::Lost : State::Reopening;  // else the open goes on
      if (state_ == State::Lost) ScheduleRetry();
      return;
    case Event::Lost:  // gone, silent too long, or its sound cannot be converted
      StopLink();
      wave_.closer.Close(std::move(link_), GetDirection(), Worker());
      if (state_ == State::Running) Away(why, since);
      state_ = State::Lost;
      ScheduleRetry();
      return;
    case Event::RetryDue:
      state_ = State::Reopening;
      opener_.Start(endpoint_, wave_.sdl, &client_, Worker());
      return;
    case Event::Closed:
      StopLink();
      if (retry_) CancelOccurrence(retry_);
      retry_ = 0;
      if (link_) wave_.closer.Close(std::move(link_), GetDirection(), Worker());
      opener_.Cancel();
      state_ = State::Closed;
      return;
  }
}

bool LinkSupervisor::Open(MMRESULT *result, std::string *error) {
  opener_.Start(endpoint_, wave_.sdl, &client_, Worker());
  if (!opener_.Wait(std::chrono::steady_clock::now() + wave_.timings.open)) {
    *result = MMSYSERR_ERROR;
    *error = std::string("the ") + What(endpoint_) + " " + endpoint_.label + " did not open within " +
             Seconds(wave_.timings.open) + " (its sound server did not answer)";
    On(Event::Unanswered, *error);
    return state_ != State::Closed;
  }
  LinkOpener::Outcome outcome;
  opener_.Take(&outcome);
  *result = outcome.result;
  if (Place(std::move(outcome), error) && Back(error)) {
    On(Event::Opened);
    return true;
  }
  if (*result == MMSYSERR_NOERROR) *result = MMSYSERR_ERROR;  // its sound cannot be converted
  On(Event::Failed, *error);
  return state_ != State::Closed;
}

void LinkSupervisor::Use(bool on) {
  if (on == inUse_) return;
  inUse_ = on;
  if (!link_) return;
  if (on)
    StartLink();
  else
    link_->Run(false);
}

// Stopped now, closed with the driver: every device of the phone is stopped
// before any is closed.
void LinkSupervisor::Abandon() {
  watch_ = retry_ = 0;  // dropped with the phone's occurrences
  Use(false);
  opener_.Cancel();
}

void LinkSupervisor::Close() {
  if (state_ != State::Closed || link_) On(Event::Closed);
}

void LinkSupervisor::CountAway(uint64_t samples) {
  wave_.losses.Away(GetDirection()).samples.fetch_add(samples, std::memory_order_relaxed);
}

uint64_t LinkSupervisor::AtProgramRate(uint64_t count) const {
  return count * drovane::kSampleRate / static_cast<uint64_t>(rate_);
}

// The link an open made, in place and watched, not running yet; false, with
// why, when the open made none.
bool LinkSupervisor::Place(LinkOpener::Outcome outcome, std::string *error) {
  *error = std::move(outcome.error);
  if (!outcome.link) return false;
  link_ = std::move(outcome.link);
  rate_ = link_->Rate();
  ring_.Resize(static_cast<size_t>(kRingSeconds) * static_cast<size_t>(rate_));
  ScheduleWatch();
  return true;
}

bool LinkSupervisor::Back(std::string *error) { return user_.OnBack(rate_, error); }

// Told once, whatever follows, until the device is back.
void LinkSupervisor::Away(const std::string &why, Time since) {
  user_.OnAway(since);
  wave_.losses.Away(GetDirection()).times.fetch_add(1, std::memory_order_relaxed);
  wave_.notices.Away(GetDirection(), endpoint_.label, why, false);
  attempts_ = 0;
}

// An open that nobody waited for has ended.
void LinkSupervisor::Ended() {
  LinkOpener::Outcome outcome;
  if (!opener_.Take(&outcome)) return;  // taken by Open already
  std::string error;
  if (!Place(std::move(outcome), &error)) return On(Event::Failed, error);
  // A link to return is back with its first sound; any other is back now.
  if (!inUse_ && !Back(&error)) return On(Event::Lost, error, Now());
  On(Event::Opened);
}

// A returning link is back with its first sound; the driver takes what
// goes through a running one.
void LinkSupervisor::HandOver() {
  if (state_ == State::Returning && activity_.Sounded()) {
    std::string error;
    if (!Back(&error)) return On(Event::Lost, error, Now());
    On(Event::Sounded);
  }
  if (state_ == State::Running) user_.OnHandOver();
  if (watch_ && Now() >= watchDue_) {
    CancelOccurrence(watch_);
    Watch();
  }
}

void LinkSupervisor::Watch() {
  watch_ = 0;
  const Time now = Now();
  if (activity_.Moved(now, inUse_) && state_ == State::Returning) {
    std::string error;
    if (!Back(&error)) return On(Event::Lost, error, Now());
    On(Event::Sounded);
  }
  if (std::string why = link_->Gone(); !why.empty()) return On(Event::Lost, why, activity_.MovedAt());
  if (const std::chrono::milliseconds silence = activity_.Silence(now, wave_.timings); silence.count() > 0) {
    const std::string silent = endpoint_.capture ? "no sound came from it for " : "it took no sound for ";
    return On(Event::Lost, silent + Seconds(silence), activity_.MovedAt());
  }
  ScheduleWatch();
}

void LinkSupervisor::StartLink() {
  activity_.Started(Now());
  link_->Run(true);
}

// The watch ends with the link's running.
void LinkSupervisor::StopLink() {
  if (watch_) CancelOccurrence(watch_);
  watch_ = 0;
  if (link_ && inUse_) link_->Run(false);
}

// A look falls due every watch period. While sound goes through, the
// hand-over that follows takes it; only a link that hands nothing over for
// another period wakes the program for it.
void LinkSupervisor::ScheduleWatch() {
  watchDue_ = Now() + wave_.timings.watch;
  watch_ = ScheduleAt(watchDue_ + wave_.timings.watch, [this] { Watch(); });
}

void LinkSupervisor::ScheduleRetry() {
  const auto &pauses = wave_.timings.retry;
  const auto pause = pauses[std::min<size_t>(attempts_++, std::size(pauses) - 1)];
  retry_ = ScheduleAt(Now() + pause, [this] {
    retry_ = 0;
    On(Event::RetryDue);
  });
}

AudioWorker &LinkSupervisor::Worker() { return WorkerOf(endpoint_, wave_.workers); }

}  // namespace platform::wave
