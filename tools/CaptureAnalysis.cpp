#include "CaptureAnalysis.h"

#include "StopLoop.h"
#include "app/DeviceWiring.h"
#include "kernel/Platform.h"

CaptureAnalysis::CaptureAnalysis(ResultFormat *format, double reference, bool calibrate,
                                 Measure::Refinement refinement, const Measure::StringNotes &strings)
    : printer_(format, &summary_),
      reference_(reference),
      calibrate_(calibrate),
      refinement_(refinement),
      strings_(strings) {}

// Start-up's order: the newest references go first, the root last. The
// watch goes first: its action reaches the loop, and a signal during the
// tear-down then ends the tool at once.
CaptureAnalysis::~CaptureAnalysis() {
  stops_.reset();
  push_.Reset();
  end_.Reset();
  loop_.Reset();
  device_.Reset();
  side_ = ResultPrinter::Side();
  root_.reset();
}

bool CaptureAnalysis::Open(const platform::wave::CaptureSource &source, std::string *error) {
  live_ = platform::wave::IsLive(source);
  phone_.emplace(live_ ? platform::ClockKind::Real : platform::ClockKind::Virtual);
  platform::wave::CaptureSource selected = source;
  if (!live_ && !selected.status) selected.status = std::make_shared<platform::wave::RecordingStatus>();
  recording_ = selected.status;
  platform::wave::SelectCapture(selected);
  printer_.SetRecording(recording_.get());

  root_ = std::make_unique<UninitCaller>();
  side_ = printer_.Build(root_.get(), reference_, calibrate_, refinement_, strings_);
  device_ = CreateCaptureDevice(root_.get());
  loop_ = MakeRC<EventLoop>();
  end_ = MakeRC<RecordingEnd>(recording_.get(), MakeDelegate<void()>(loop_.get(), &EventLoop::Stop));

  WaveInHandlers handlers;
  handlers.sample.Bind(side_.pipeline, &ProcessMeasure_H::OnSample);
  handlers.sample.AddBind(end_, &RecordingEnd::OnSample);
  if (live_ && pushWith_) {
    push_ = MakeRC<ResultPush>(pushWith_, MakeDelegate<void()>(loop_.get(), &EventLoop::Stop));
    handlers.sample.AddBind(push_, &ResultPush::OnSample);
  }
  // Before the open: the sound library then leaves the signals to us.
  if (live_) stops_.emplace(StopLoop(loop_.get()));
  OpenCapture(*device_, handlers, TWaveFormatEx::Default());
  if (device_->State() != WaveState::kOpen) {
    *error = platform::wave::LastOpenError();
    if (error->empty()) *error = "the audio capture device could not be opened";
    return false;
  }
  AddCaptureToLoop(*loop_, root_.get(), device_);
  device_->ResetPosition();
  return true;
}

AnalysisSummary CaptureAnalysis::Run() {
  if (!push_ || push_->Push()) {  // the heading, before anything is heard
    device_->Start();
    if (device_->State() == WaveState::kRunning) loop_->Run();
  }
  Finish();
  return summary_;
}

void CaptureAnalysis::Finish() {
  if (live_) {
    summary_.outputLost = push_ && push_->Lost();
    summary_.samples = end_->Delivered();
    const platform::wave::LiveLosses losses = platform::wave::LiveLossCounts();
    summary_.overruns = losses.overruns;
    summary_.overrunSamples = losses.overrunSamples;
    summary_.losses = losses.captureLosses;
    summary_.awaySamples = losses.captureAwaySamples;
    if (!platform::StopSignals::Caught() && !summary_.outputLost)
      summary_.error = "the audio capture device stopped delivering sound";
    return;
  }
  summary_.samples = recording_->length;
  summary_.nonFinite = recording_->nonFinite;
  if (!recording_->error.empty())
    summary_.error = recording_->error;
  else if (!recording_->ended || end_->Delivered() < recording_->length)
    summary_.error = "the capture device stopped before the end of the recording";
}
