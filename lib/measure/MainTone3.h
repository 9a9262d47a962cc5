#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "AmdfTable.h"
#include "Refinement.h"
#include "general/CRefCounter.h"

// Finds the fundamental period of a plucked string in 16-bit mono audio at
// 22050 samples/s and reports it as fractional MIDI notes, one per hop of
// 1000 samples. A full analysis (level gate, coarse difference table, period
// choice, a second look 1000 samples later on a jump, refinement) runs every
// 10th hop while a period is held and every 5th while none is; the hops
// between only refine the held period. Single-threaded; owned by its measurer.
class MainTone3 : public virtual CRefCounter {
 public:
  // The guitar measurer's parameters; this estimator is built for them only.
  static constexpr int kHop = 1000;
  static constexpr int kIntervalPitched = 10;
  static constexpr int kIntervalUnpitched = 5;
  static constexpr int kGateWithPrevious = 150;
  static constexpr int kGateWithout = 400;

  MainTone3();

  // Empties the buffer, forgets every period, levels back to 1, reference
  // back to 440 Hz.
  void Reset();

  // Consumes exactly kHop samples and appends zero or more notes (0 = no
  // pitch) to `notes`; stores the level of the last full analysis in `level`.
  void Process(const int16_t *samples, std::vector<double> *notes, int16_t *level);

  // Hertz of note 69; read and written directly by the owner. Applies from
  // the next note on.
  double referenceFrequency = 440.0;

  // The phone's refinement unless set otherwise; Reset keeps it.
  void SetRefinement(Measure::Refinement r) { refinement_ = r; }

  // Inspection, for the owner's tests and tools.
  double HeldPeriod() const { return heldPeriod_; }
  double HeldWholePeriod() const { return heldWholePeriod_; }
  int16_t Level() const { return level_; }
  int16_t EarlierLevel() const { return earlierLevel_; }
  uint32_t HopCounter() const { return hopCounter_; }
  size_t Buffered() const { return buffer_.size(); }

 private:
  double NoteOfPeriod(double period) const;
  double Refine(const int16_t *x, int period) const;
  void FullAnalysis(const int16_t *x);
  int LookFor(const int16_t *x, int16_t level, bool hadPrevious, double previousNote);
  double SecondLook(const int16_t *x, double prev, double fresh, int period1, int16_t level1);

  std::vector<int16_t> buffer_;
  uint32_t hopCounter_ = 0;
  double heldWholePeriod_ = 0;
  double heldPeriod_ = 0;
  int16_t level_ = 1;
  int16_t earlierLevel_ = 1;
  Amdf::Table table_ = {};
  Measure::Refinement refinement_ = Measure::Refinement::kPhone;
};
