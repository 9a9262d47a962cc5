#include "InProcessTuner.h"

#include "app/RunApplication.h"
#include "app/resources/AppResources.h"
#include "gdi/GdiHost.h"
#include "phone/Handset.h"

namespace tuner {

const HINSTANCE InProcessTuner::kModule = reinterpret_cast<HINSTANCE>(0x400000);

namespace {

platform::Time Seconds(double s) {
  return platform::Time(static_cast<long long>(s * 1e9));
}

}  // namespace

InProcessTuner::InProcessTuner(const platform::wave::CaptureSource &capture,
                               const platform::wave::PlaybackSink &playback)
    : phone_(std::in_place, platform::ClockKind::Virtual) {
  phone_->SwitchOn();
  platform::wave::SelectCapture(capture);
  platform::wave::SelectPlayback(playback);
  RegisterAppResources(kModule);
}

InProcessTuner::~InProcessTuner() {
  phone_.reset();
  GdiShutdown();
}

void InProcessTuner::At(double seconds, std::function<void()> action) {
  platform::ScheduleAt(Seconds(seconds), std::move(action));
}

void InProcessTuner::Key(double seconds, UINT key) {
  At(seconds, [key] {
    platform::handset::KeyDown(key);
    platform::handset::KeyUp(key);
  });
}

void InProcessTuner::Tap(double seconds, int x, int y) {
  At(seconds, [x, y] {
    platform::handset::StylusDown(x, y);
    platform::handset::StylusUp(x, y);
  });
}

void InProcessTuner::OnIdle(std::function<void()> hook) { platform::SetIdleHook(std::move(hook)); }

int InProcessTuner::Run(double closeAt) {
  At(closeAt, [] { platform::handset::RequestClose(); });
  return RunApplication(kModule);
}

platform::wave::CaptureSource ToneCapture(double hertz) {
  platform::wave::CaptureSource source;
  source.kind = platform::wave::CaptureSource::Kind::Tone;
  source.toneHz = hertz;
  return source;
}

}  // namespace tuner
