#pragma once

#include <optional>
#include <vector>

#include "filters/IMediaSample.h"
#include "general/Delegate.h"
#include "general/UninitResident.h"
#include "measure/NoteTargets.h"
#include "strum/StrumTracker.h"

// The strum check on the captured sound, beside the pitch pipeline: takes
// the capture device's samples, finds the strums in them and hands each
// strum's reading to one delegate, within a second of the strum, each string
// read against its target (temperament and offset). The
// strings are read against the reference A `getReference` gives when a
// buffer arrives. A new A starts the search afresh over the sound of the
// last moments, so that a strum not yet read is read against it, and what
// was read before is not read again (nor the strings still ringing taken
// for a new strum).
//
// Thread: program thread, inside the capture notification. Lifetime:
// counted; registered with the tear-down root, whose uninit pass unbinds the
// delegates, so a late buffer reads nothing.
class ProcessStrum_H : public virtual CRefCounter {
 public:
  using ReadingDelegate = Delegate<void(const Strum::StrumReading &)>;

  ProcessStrum_H(UninitCaller *root, const Measure::NoteTargets &targets, const Delegate<double()> &getReference,
                 const ReadingDelegate &onReading);
  ProcessStrum_H(const ProcessStrum_H &) = delete;
  ProcessStrum_H &operator=(const ProcessStrum_H &) = delete;

  // Sample input: bound into the capture device's sample delegate.
  void OnSample(AV::IMediaSample *sample);

  // The sound kept for a new A: longer than a strum's wait for its reading
  // and the spread of its attacks, so the strings ringing at the start of
  // what is heard again are read before it ends.
  static constexpr int64_t kReplay =
      Strum::StrumTracker::kEnd + Strum::StrumTracker::kStrumSpread + Strum::Samples(0.1);

 private:
  void Uninit();
  void Keep(const int16_t *samples, size_t count);
  void StartOver(double reference);

  Measure::NoteTargets targets_;
  Delegate<double()> getReference_;
  ReadingDelegate onReading_;
  std::optional<Strum::StrumTracker> tracker_;  // made for reference_
  double reference_ = 0;
  std::vector<int16_t> samples_;
  std::vector<int16_t> recent_;  // ring of the last kReplay samples
  int64_t heard_ = 0;            // samples so far
  std::vector<Strum::StrumReading> readings_;
  UninitResident resident_;
};
