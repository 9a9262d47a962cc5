#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "OnsetDetector.h"
#include "StrumAnalyzer.h"
#include "StrumFormat.h"

namespace Strum {

// Finds the strums in a stream of sound and reads each: an onset starts a
// strum unless it follows the last one within kStrumSpread (the strings of
// one strum are struck up to 200 ms apart; those later attacks belong to
// it), or follows the last attack of a strum within kChain (a slow strum
// goes on string by string), or comes within kEcho of a strum and is far
// weaker than its attacks (kWeakest: partials beating, a body's or a
// sampled instrument's own swell, not a string struck); the strum is read
// from the stretch that starts kLead after its onset (when every string's
// attack is over and a muted string's thud has died), or kSettle after its
// last attack found if that is later, and ends kEnd
// after the onset, or just before the next strum if that comes sooner; a
// strum followed closely by the next (0.3 s) is read on the last kShortest
// before it, from kSettle after its onset at the earliest. The attacks,
// from kBefore before the onset, go with it: they tell a string whose
// partials are all other strings', and whether anything was struck at all.
// A strum is reported when a string was heard in it and one it heard was
// struck at its onset (StrumAnalyzer::Struck): one string struck alone is
// a strum of one string, while an onset found in a decay, where every
// string only rings on, is none.
//
// Feed it blocks of any size as they arrive: a strum's reading comes with
// the block that completes its stretch, kEnd (0.86 s) after the onset.
// Finish reads a strum the stream ended during. The history is allocated at
// construction; each reading allocates small working lists.
class StrumTracker {
 public:
  static constexpr int64_t kLead = Samples(0.25);     // a strum's strings are struck within 0.2 s
  static constexpr int64_t kEnd = Samples(0.863);     // a reading within a second of the strum
  static constexpr int64_t kStretch = kEnd - kLead;   // the longest stretch read, 0.61 s
  static constexpr int64_t kBefore = Samples(0.186);  // the attacks are read with what rang before
  static constexpr int64_t kShortest = Samples(0.15);  // less is no reading
  static constexpr int64_t kStrumSpread = Samples(0.25);
  static constexpr int64_t kGuard = Samples(0.02);    // before the next strum
  static constexpr int64_t kSettle = Samples(0.05);   // a muted string's thud has died
  static constexpr int64_t kChain = Samples(0.11);
  static constexpr int64_t kEcho = Samples(1.5);
  static constexpr double kWeakest = 0.3;

  explicit StrumTracker(const Measure::Tuning &tuning, double reference = 440.0);

  // Appends the readings this block completes to *readings.
  void Feed(const int16_t *samples, size_t count, std::vector<StrumReading> *readings);
  // Reads a strum still waiting for its stretch with what there is.
  void Finish(std::vector<StrumReading> *readings);

  int64_t Position() const { return position_; }

 private:
  void Store(const int16_t *samples, size_t count);
  void Read(int64_t end, std::vector<StrumReading> *readings);

  StrumAnalyzer analyzer_;
  OnsetDetector onsets_;
  std::vector<int16_t> history_;  // ring of the last samples, enough for one stretch
  std::vector<int16_t> stretch_;
  std::vector<OnsetDetector::Onset> found_;
  std::optional<int64_t> pending_;  // onset of the strum waiting for its stretch
  int64_t lastAttack_ = 0;          // of the pending strum
  double strongest_ = 0;            // flux of the last strum's strongest attack
  int64_t lastStrum_ = -kStrumSpread;
  int64_t position_ = 0;
};

// Every strum of a recording, in order.
std::vector<StrumReading> FindStrums(const Measure::Tuning &tuning, const int16_t *samples, size_t count,
                                     double reference = 440.0);

}  // namespace Strum
