#include "wave/LiveDriver.h"

#include <cstdio>
#include <iterator>
#include <mutex>

#include "base/SoundFormat.h"
#include "wave/AudioWorker.h"
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

}  // namespace

// What an open on the audio worker leaves for the program thread. The
// driver cancels it when it goes first; the worker then closes the link.
struct LiveDriver::Opening {
  std::mutex mutex;
  bool cancelled = false;
  bool done = false;
  std::unique_ptr<LiveLink> link;
  MMRESULT result = MMSYSERR_NOERROR;
  std::string error;
  uint64_t ticket = 0;
};

LiveDriver::LiveDriver(LiveEndpoint endpoint, WaveAudio &wave, LossCounter *losses)
    : ring_(kRingSeconds * drovane::kSampleRate),
      signal_([this] { HandOver(); }),
      losses_(losses),
      endpoint_(std::move(endpoint)),
      wave_(wave),
      opened_([this] { Opened(); }) {}

LiveDriver::~LiveDriver() {
  Stop();
  if (retry_) CancelOccurrence(retry_);
  CancelOpening();
}

bool LiveDriver::Open(MMRESULT *result, std::string *error) {
  Post();
  const bool ran =
      WorkerOf(endpoint_, wave_.workers).WaitFor(opening_->ticket, std::chrono::steady_clock::now() + wave_.timings.open);
  if (ran && Take(result, error)) return true;
  if (!ran) {
    *result = MMSYSERR_ERROR;
    *error = std::string("the ") + (endpoint_.capture ? "audio capture device" : "audio output device") + " " +
             endpoint_.label + " did not open within " + Seconds(wave_.timings.open) +
             " (its sound server did not answer)";
  }
  if (!endpoint_.waitForDevice) {
    CancelOpening();
    return false;
  }
  wave_.notices.Away(GetDirection(), endpoint_.label, *error, true);
  away_ = true;
  if (ran) ScheduleRetry();  // else the open goes on, and Opened takes it
  return true;
}

void LiveDriver::OnAbandoned() {
  PacedDriver::OnAbandoned();
  watch_ = retry_ = 0;  // dropped with the phone's occurrences
  if (link_ && running_) link_->Run(false);
  running_ = false;
  CancelOpening();
}

void LiveDriver::Stop() {
  if (!link_) return;
  Halt();
  wave_.closer.Close(std::move(link_), GetDirection(), WorkerOf(endpoint_, wave_.workers));
}

void LiveDriver::RunLink(bool on) {
  if (on == running_) return;
  running_ = on;
  if (!link_) return;
  if (on)
    Start();
  else
    link_->Run(false);
}

void LiveDriver::CountAway(uint64_t samples) {
  wave_.losses.Away(GetDirection()).samples.fetch_add(samples, std::memory_order_relaxed);
}

uint64_t LiveDriver::AtProgramRate(uint64_t count) const {
  return count * drovane::kSampleRate / static_cast<uint64_t>(rate_);
}

void LiveDriver::Returned() {
  std::string why;
  returning_ = false;
  if (!OnBack(&why)) return Lose(why, Now());
  attempts_ = 0;
  away_ = false;
  wave_.notices.Back(GetDirection(), endpoint_.label);
}

// The open runs on the audio worker; the signal brings its outcome back.
// The link it made is closed there when the driver has gone meanwhile.
void LiveDriver::Post() {
  auto opening = std::make_shared<Opening>();
  opening_ = opening;
  DriverSignal *signal = &opened_;
  LinkClient *client = this;
  opening->ticket =
      WorkerOf(endpoint_, wave_.workers).Post([opening, signal, client, endpoint = endpoint_, sdl = wave_.sdl] {
        MMRESULT result = MMSYSERR_NOERROR;
        std::string error;
        std::unique_ptr<LiveLink> link = OpenLink(endpoint, sdl, client, &result, &error);
        std::lock_guard lock(opening->mutex);
        if (opening->cancelled) return;
        opening->link = std::move(link);
        opening->result = result;
        opening->error = std::move(error);
        opening->done = true;
        signal->Raise();  // under the lock: the driver is there until it cancels
      });
}

bool LiveDriver::OpenDone() {
  std::lock_guard lock(opening_->mutex);
  return opening_->done;
}

// The open's outcome, once it is done: the link taken into place, running
// if in use, or false with why not. A link opened while away is back only
// once its sound has come.
bool LiveDriver::Take(MMRESULT *result, std::string *error) {
  std::unique_ptr<LiveLink> link;
  {
    std::lock_guard lock(opening_->mutex);
    link = std::move(opening_->link);
    *result = opening_->result;
    *error = opening_->error;
  }
  opening_.reset();
  if (!link) return false;
  link_ = std::move(link);
  rate_ = link_->Rate();
  ring_.Resize(static_cast<size_t>(kRingSeconds) * static_cast<size_t>(rate_));
  ScheduleWatch();
  returning_ = away_ && running_;
  if (away_ && !running_) {
    Returned();  // nothing to go through it yet
  } else if (!away_ && !OnBack(error)) {
    *result = MMSYSERR_ERROR;
    Stop();
    return false;
  }
  if (link_ && running_) Start();
  return link_ != nullptr;
}

void LiveDriver::Opened() {
  if (!opening_ || !OpenDone()) return;  // taken by Open already
  MMRESULT result;
  std::string error;
  if (!Take(&result, &error) && !retry_) ScheduleRetry();
}

void LiveDriver::Start() {
  started_ = seen_ = exchanged_.load(std::memory_order_relaxed);
  greet_.store(true, std::memory_order_relaxed);
  link_->Run(true);
  movedAt_ = startedAt_ = Now();
}

void LiveDriver::Halt() {
  if (watch_) CancelOccurrence(watch_);
  watch_ = 0;
  if (running_) link_->Run(false);
}

// Lost when the backend says so, or, while running, when no sound went
// through for the stall time since the last (the start time since the link
// started).
void LiveDriver::Watch() {
  watch_ = 0;
  const uint64_t exchanged = exchanged_.load(std::memory_order_relaxed);
  const Time now = Now();
  if (!running_) movedAt_ = now;  // not expected to move
  if (exchanged != seen_) {
    seen_ = exchanged;
    movedAt_ = now;
    if (returning_) Returned();
    if (!link_) return;  // its sound could not be converted
  }
  if (std::string why = link_->Gone(); !why.empty()) return Lose(why, movedAt_);
  // A server may take its first sound and then pause while it settles (a
  // PulseAudio null sink asks for more only two seconds on): the start time
  // holds until the link has sounded and run that long.
  const bool settled = seen_ != started_ && now - startedAt_ >= wave_.timings.start;
  const std::chrono::milliseconds limit = settled ? wave_.timings.stall : wave_.timings.start;
  if (now - movedAt_ >= limit) {
    const std::string silent = endpoint_.capture ? "no sound came from it for " : "it took no sound for ";
    return Lose(silent + Seconds(limit), movedAt_);
  }
  ScheduleWatch();
}

// Told once: a link opened again that is lost before its first sound is
// closed and tried again quietly.
void LiveDriver::Lose(const std::string &why, Time since) {
  Halt();
  wave_.closer.Close(std::move(link_), GetDirection(), WorkerOf(endpoint_, wave_.workers));
  if (!away_) {
    OnAway(since);
    wave_.losses.Away(GetDirection()).times.fetch_add(1, std::memory_order_relaxed);
    wave_.notices.Away(GetDirection(), endpoint_.label, why, false);
    away_ = true;
    attempts_ = 0;
  }
  returning_ = false;
  ScheduleRetry();
}

void LiveDriver::ScheduleWatch() {
  watch_ = ScheduleAt(Now() + wave_.timings.watch, [this] { Watch(); });
}

void LiveDriver::ScheduleRetry() {
  const auto &pauses = wave_.timings.retry;
  const auto pause = pauses[std::min<size_t>(attempts_++, std::size(pauses) - 1)];
  retry_ = ScheduleAt(Now() + pause, [this] {
    retry_ = 0;
    Post();
  });
}

void LiveDriver::CancelOpening() {
  if (!opening_) return;
  std::unique_ptr<LiveLink> link;
  {
    std::lock_guard lock(opening_->mutex);
    opening_->cancelled = true;
    link = std::move(opening_->link);
  }
  if (link) wave_.closer.Close(std::move(link), GetDirection(), WorkerOf(endpoint_, wave_.workers));
  opening_.reset();
}

}  // namespace platform::wave
