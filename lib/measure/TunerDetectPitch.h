#pragma once

#include <cstdint>
#include <vector>

#include "general/Delegate.h"
#include "general/UninitResident.h"

// Finds a stable played pitch for automatic calibration. Fed every result,
// it keeps the frequencies of the last non-zero pitches and reports the mean
// note of the last 15 after every result (0 while it has fewer than 16), and
// reports that mean as stable on every 16th update whose 15 notes all lie
// within 0.3 semitone of it. Frequencies are converted with the reference of
// each call, so a changed reference shifts the means. Single-threaded; the
// tear-down empties its delegates.
class TunerDetectPitch : public virtual CRefCounter {
 public:
  struct Bindings {
    Delegate<void(double, double)> onStable;  // (pitch, reference) when stable
    Delegate<void(double, double)> onUpdate;  // (pitch, reference) after every result
    Delegate<bool()> mayReport;               // asked before a stable report; unbound: yes
  };

  TunerDetectPitch(UninitCaller *root, const Bindings &bindings);

  // One result: its note (0 = no pitch) and the reference it was measured at.
  void OnPitch(double pitch, double reference);

  size_t HistorySize() const { return history_.size(); }
  uint32_t StableCount() const { return stableCount_; }

 private:
  void Uninit();

  std::vector<double> history_;
  uint32_t stableCount_ = 0;
  Bindings bindings_;
  UninitResident resident_;
};
