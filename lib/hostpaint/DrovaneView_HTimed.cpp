// The view's timed behaviour: scale zoom (DS_), string highlight (HN_) and
// automatic calibration.
#include <cstring>

#include "DrovaneView_H.h"
#include "general/CheckSites.h"
#include "win/kernel.h"
#include "measure/Calibration.h"

namespace {

constexpr double kScale[] = {0.5, 0.04};  // scale ends by zoom index
constexpr int kZoomSteps = 15;
constexpr unsigned kInTuneWait = 150, kOutOfTuneWait = 3000, kZoomTick = 50;
constexpr unsigned kHighlightWait = 150, kHighlightTime = 1000;
constexpr double kNearString = 0.5;  // semitones
constexpr unsigned kFrameTime = 17;  // the strobe's frames: under 60 a second

}  // namespace

void DrovaneView_H::Restart(const ViewTimer &timer, unsigned int period, bool repeat) {
  timer.stop(true);
  timer.start(period, repeat, 0);
}

// The strobe moves with each reading, and between readings at the pace of
// its frames; a note no longer heard stops it, grey, in one last repaint.
void DrovaneView_H::FollowStrobe() {
  strobePanel_.SetReading(gauge_.valid ? pitch_ : 0, targets_.Target(note_), GetTickCount());
  if (strobePanel_.Heard() && !framing_) {
    framing_ = true;
    Restart(bindings_.frameTimer, kFrameTime, true);
  } else if (!strobePanel_.Heard() && framing_) {
    framing_ = false;
    bindings_.frameTimer.stop(true);
  }
}

// A frame repaints the bands only where they stand elsewhere than last
// painted: near the target they move a pixel in a fraction of a second or
// in many seconds, and a frame of the same pixels is work for nothing.
void DrovaneView_H::OnFrameTimer() {
  if (!framing_) return;
  const int shift = strobePanel_.Shift(GetTickCount());
  if (shift == bandsShift_) return;
  bandsShift_ = shift;
  bindings_.repaintRect(strobePanel_.BandsRect());
}

std::wstring DrovaneView_H::StrobeShown() const {
  return strobePanel_.Shown(bindings_.getReference(), note_, targets_.Target(note_));
}

void DrovaneView_H::TrackInTune() {
  const double zone = (gauge_.upperOk - gauge_.lowerOk) / 2;
  const double off = Deviation();
  const bool inTune = -zone <= off && off <= zone;
  if (inTune && zoomTarget_ == 0) {
    zoomTarget_ = 1;
    Restart(bindings_.inTuneTimer, kInTuneWait, false);
  } else if (!inTune && zoomTarget_ == 1) {
    zoomTarget_ = 0;
    Restart(bindings_.inTuneTimer, kOutOfTuneWait, false);
  }
}

void DrovaneView_H::OnInTuneTimer() {
  zoomFrom_ = gauge_.maximum;
  zoomStep_ = 0;
  zoomIndex_ = zoomTarget_;
  if (zoomIndex_ == 1) gauge_.LoadFineTicks();
  Restart(bindings_.zoomTimer, kZoomTick, true);
  zoomPhase_ = kZoomTransiting;
}

void DrovaneView_H::OnZoomTimer() {
  if (zoomPhase_ == kZoomTransiting) DS_On_Transit_Transit();
}

void DrovaneView_H::DS_On_Transit_Transit() {
  if (!Check(zoomPhase_ == kZoomTransiting, CheckSites::kZoomStepWhileIdle)) return;
  const double target = kScale[zoomIndex_];
  double r = zoomFrom_ + (target - zoomFrom_) * zoomStep_ * (1.0 / kZoomSteps);
  zoomStep_ += 1;
  if (zoomStep_ >= kZoomSteps) {
    r = target;
    if (zoomIndex_ != 1) gauge_.LoadCoarseTicks();  // the fine marks stay until the last step
    bindings_.zoomTimer.stop(true);
    zoomPhase_ = kZoomIdle;
  }
  gauge_.maximum = r;
  gauge_.minimum = -r;
}

void DrovaneView_H::FindHighlight() {
  int candidate = -1;
  for (int i = 0; i < panel_.strings && candidate < 0; ++i) {
    const double off = pitch_ - targets_.Target(panel_.notes[i]);
    if (-kNearString <= off && off <= kNearString) candidate = i;
  }
  if (highlightPending_ && candidate != highlightIndex_) {
    bindings_.highlightOnTimer.stop(true);
    highlightPending_ = false;
  }
  if (candidate >= 0 && !highlightPending_ && gauge_.valid) {
    highlightIndex_ = candidate;
    highlightPending_ = true;
    bindings_.highlightOnTimer.start(kHighlightWait, false, 0);
  }
}

void DrovaneView_H::HN_Do_Highlight_Start() {
  if (!Check(highlightPending_, CheckSites::kHighlightNotPending)) return;
  bool before[GuitarPanel::kMostStrings];
  std::memcpy(before, panel_.highlight, sizeof before);
  bindings_.highlightOffTimer.stop(true);
  ClearHighlights();
  bindings_.highlightOnTimer.stop(true);
  highlightPending_ = false;
  panel_.highlight[highlightIndex_] = true;
  bindings_.highlightOffTimer.start(kHighlightTime, false, 0);
  bindings_.noteSelected(panel_.notes[highlightIndex_]);
  if (std::memcmp(before, panel_.highlight, sizeof before) != 0) bindings_.repaint();
}

void DrovaneView_H::OnHighlightOffTimer() {
  bindings_.highlightOffTimer.stop(true);
  bool any = false;
  for (bool flag : panel_.highlight) any = any || flag;
  ClearHighlights();
  if (any) bindings_.repaint();
}

void DrovaneView_H::ClearHighlights() {
  for (bool &flag : panel_.highlight) flag = false;
}

void DrovaneView_H::StartCalibration() {
  TunerDetectPitch::Bindings calls;
  calls.onStable.Bind(this, &DrovaneView_H::OnCalibrationStable);
  calls.onUpdate.Bind(this, &DrovaneView_H::OnCalibrationUpdate);
  UninitCaller *root = static_cast<UninitCaller *>(resident_);
  detector_ =
      MakeRC<UninitPtr<TunerDetectPitch>>(root, MakeRC<TunerDetectPitch>(root, calls),
                                          MakeDelegate<void(TunerDetectPitch *)>(this, &DrovaneView_H::DropDetector));
}

// The detector reports 0 until it has heard enough; that is no pitch yet,
// not the note 0, so it leaves the selection and the last pitch alone.
void DrovaneView_H::OnCalibrationUpdate(double pitch, double) {
  gauge_.valid = false;
  if (pitch == 0) return;
  pitch_ = pitch;
  SelectNote(targets_.Nearest(pitch));
}

void DrovaneView_H::OnCalibrationStable(double pitch, double reference) {
  pitch_ = pitch;
  gauge_.valid = true;
  bindings_.setReference(CalibratedReference(pitch, reference, targets_.Target(targets_.Nearest(pitch))));
  detector_.Reset();
}

// Tear-down of the detector while calibrating: the view stops calibrating.
void DrovaneView_H::DropDetector(TunerDetectPitch *detector) {
  if (detector_ && detector_->get() == detector) detector_.Reset();
}
