#include "TunerDetectPitch.h"

#include "MidiTypes.h"

namespace {

constexpr size_t kKept = 15;
constexpr double kSpread = 0.3;  // semitones around the mean
constexpr uint32_t kStableUpdates = 15;

}  // namespace

TunerDetectPitch::TunerDetectPitch(UninitCaller *root, const Bindings &bindings)
    : bindings_(bindings), resident_(root, this, MakeDelegate<void()>(this, &TunerDetectPitch::Uninit)) {}

void TunerDetectPitch::Uninit() {
  bindings_.onStable.Clear();
  bindings_.onUpdate.Clear();
  bindings_.mayReport.Clear();
}

void TunerDetectPitch::OnPitch(double pitch, double reference) {
  if (pitch == 0) {
    if (!history_.empty()) history_.erase(history_.begin());
  } else {
    history_.push_back(FrequencyFromNote(pitch, reference));
  }
  if (history_.size() <= kKept) {
    bindings_.onUpdate(0, reference);
    return;
  }
  history_.erase(history_.begin(), history_.end() - kKept);
  double low = 0, high = 0, sum = 0;
  for (size_t i = 0; i < history_.size(); ++i) {
    const double note = NoteFromFrequency(history_[i], reference);
    if (i == 0 || note < low) low = note;
    if (i == 0 || note > high) high = note;
    sum += note;
  }
  const double mean = sum / kKept;
  bindings_.onUpdate(mean, reference);
  if (!(mean - low < kSpread && high - mean < kSpread)) return;
  ++stableCount_;
  if (bindings_.mayReport.IsBound() && !bindings_.mayReport()) return;
  if (stableCount_ > kStableUpdates) {
    stableCount_ = 0;
    bindings_.onStable(mean, reference);
  }
}
