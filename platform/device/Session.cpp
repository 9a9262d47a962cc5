#include "device/Session.h"

#include "base/CommandLine.h"
#include "base/SoundFormat.h"
#include "device/Seconds.h"
#include "kernel/Platform.h"
#include "phone/Handset.h"
#include "wave/WaveDevices.h"

namespace platform::device {

namespace {

// A run with nothing else to end it.
constexpr double kDefaultSeconds = 10;
// How long a headless run goes on after its recording or script.
constexpr double kAfterSeconds = 1;

double SecondsOf(uint64_t samples) { return static_cast<double>(samples) / drovane::kSampleRate; }

// What live sound the run lost, when it lost any: a player who heard a gap
// learns why, and a long run can be checked for overruns.
void SayLosses(const Console &console) {
  const wave::LiveLosses l = wave::LiveLossCounts();
  if (!l.overruns && !l.underruns && !l.captureLosses && !l.playbackLosses) return;
  char text[256];
  std::snprintf(text, sizeof text,
                "live audio: overruns: %llu (%.3f s of sound lost), underruns: %llu (%.3f s of silence played), "
                "devices lost: %llu (%.1f s without them)",
                static_cast<unsigned long long>(l.overruns), SecondsOf(l.overrunSamples),
                static_cast<unsigned long long>(l.underruns), SecondsOf(l.underrunSamples),
                static_cast<unsigned long long>(l.captureLosses + l.playbackLosses),
                SecondsOf(l.captureAwaySamples + l.playbackAwaySamples));
  console.Say(text);
}

}  // namespace

Session::Session(const Console &console, const DeviceOptions &options, std::unique_ptr<WindowPresenter> presenter,
                 AudioStatus audio)
    : console_(console),
      options_(options),
      presenter_(std::move(presenter)),
      audio_(std::move(audio)),
      shots_(console, options.screenshot, !options.defaultScreenshot),
      watchdog_(console) {
  if (options.traceText) trace_ = std::make_unique<TextTrace>();
}

void Session::Start(std::vector<ScriptAction> script) {
  handset::SetLastWindowHook([this] { shots_.TakeLast(); });
  const double scriptEnd = script.empty() ? kDefaultSeconds : script.back().seconds + kAfterSeconds;
  script_.emplace(std::move(script), shots_, [this] { Quit(); });
  script_->Schedule();
  const bool headless = !presenter_;
  if (options_.duration) {
    QuitAt(*options_.duration);
  } else if (headless && !audio_.recording) {
    QuitAt(scriptEnd);
  }
  endsWithRecording_ = headless && !options_.duration;
}

void Session::QuitAt(double seconds) {
  platform::ScheduleAt(Seconds(seconds), [this] { Quit(); });
}

// The screen as last shown, before the program closes its window.
void Session::Quit() {
  if (watchdog_.Quitting()) return;
  shots_.TakeLast();
  watchdog_.Quit();
}

void Session::Fail(const std::string &message) {
  if (!message.empty()) console_.Say(message);
  failed_ = true;
  Quit();
}

// The recording's status is filled in as the device hears it: the idle
// moment after its last sample is the first to see it ended.
void Session::WatchRecording() {
  if (!audio_.recording || !audio_.recording->ended) return;
  const std::shared_ptr<const wave::RecordingStatus> recording = std::move(audio_.recording);
  if (recording->error.empty()) {
    if (endsWithRecording_) QuitAt(static_cast<double>(recording->length) / drovane::kSampleRate + kAfterSeconds);
    return;
  }
  // An open that failed was said by the wave layer; a read that failed is said here.
  Fail(recording->opened ? "cannot read " + cli::Quoted(options_.capture->path) + ": " + recording->error : "");
}

// A failed open of the WAV sink was said by the wave layer; stdout's failure
// is said as the device ends.
void Session::WatchOutputs() {
  if (audio_.written && !audio_.written->error.empty()) {
    const std::shared_ptr<const wave::WriteStatus> written = std::move(audio_.written);
    Fail(written->opened ? written->error : "");
  }
  if (trace_ && !trace_->Look(platform::Now())) {
    trace_.reset();
    Fail("");
  }
  if (shots_.Failed() && !failed_) Fail("");
}

void Session::Idle() {
  if (presenter_) presenter_->Present();
  shots_.TakePending();
  WatchOutputs();
  WatchRecording();
}

// The window, and SDL with it, goes once the live devices have closed (or
// have been left to close on their own: see WindowPresenter).
bool Session::Finish() {
  handset::SetLastWindowHook(nullptr);
  platform::SetIdleHook(nullptr);
  Idle();
  shots_.TakeLast();
  wave::SettleLiveAudio();
  SayLosses(console_);
  presenter_.reset();
  return !failed_ && !shots_.Failed();
}

}  // namespace platform::device
