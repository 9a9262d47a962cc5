#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "OnsetDetector.h"
#include "StrumAnalyzer.h"
#include "StrumFormat.h"
#include "StruckStrings.h"

namespace Strum {

// Finds the strums in a stream of sound and reads each. Each onset is
// weighed once the sound after it is in (StruckStrings): a string that
// rises again at its own partials, having been struck in the strum before
// at an attack of its own, starts a new strum (strums 0.3 s apart are two);
// a string marked only where it rose a little beside a louder one (the
// first string's attack leaking into it, or a sympathetic ring) was not
// struck there, and its own attack later in the strum is no strike again.
// Otherwise an onset within kStrumSpread of the strum's first or kChain of
// its last attack is one of its strings (struck up to 0.2 s apart), and so
// is one within kLongChain of it when the strum would leave too little to
// read if cut there, and one within kArpeggioGap of the last attack while
// the strum is younger than kArpeggioSpread: a slow arpeggio, string by
// string, is one strum, dated at its first string (cut into parts, the
// first had too little to read and its strings went unread); an onset far
// weaker than the strum's attacks (kWeakest), within kEcho of it, is no
// string struck unless it strikes one again (partials beating, the room's
// reverberation, a sampled instrument's own swell, the strum's tail); any
// other onset starts a strum. The strum is read from the stretch that
// starts kLead after its onset (when every string's attack is over and a
// muted string's thud has died), or kSettle after its last attack found if
// that is later and leaves kReadable (an arpeggio's last strings are then
// inside the stretch: a stretch that short reads the others worse), and
// ends kEnd after the onset, or just before the next strum, or an onset
// not yet weighed, if that comes sooner; a strum followed closely by the
// next (0.3 s) is read on the last kShortest before it, from kSettle after
// its onset at the earliest. The attacks,
// from kBefore before the onset, go with it: they tell a string whose
// partials are all other strings', and whether anything was struck at all.
// A strum is reported when a string was heard in it and it struck one
// again, or one it heard was struck at its onset (StrumAnalyzer::Struck):
// one string struck alone is a strum of one string, while an onset found
// in a decay, where every string only rings on, is none.
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
  static constexpr int64_t kLongChain = Samples(0.2);  // an arpeggio's strings, when the strum has yet no stretch
  static constexpr int64_t kArpeggioGap = Samples(0.17);    // a string every 60 to 150 ms…
  static constexpr int64_t kArpeggioSpread = Samples(0.7);  // …six of them
  static constexpr int64_t kArpeggioStep = Samples(0.055);  // an arpeggio's strings, apart on average
  static constexpr int64_t kReadable = Samples(0.25);  // stretch kept whole, though the last attacks fall in it
  static constexpr double kPeriods = 15;                // or this many of the lowest string's, if longer
  static constexpr int64_t kEcho = Samples(1.5);
  static constexpr int64_t kSameAttack = Samples(0.12);  // a string rising at two onsets this near: one attack
  static constexpr int64_t kAgain = Samples(0.2);  // a strum's string struck again: the next strum
  static constexpr double kWeakest = 0.3;
  static constexpr double kMarked = 0.05;  // −13 dB of the loudest: a string's own attack, not another's leaking in
  static constexpr double kLouder = 10;  // a string struck again: at most 10 dB louder than it was struck

  explicit StrumTracker(const Measure::Tuning &tuning, double reference = 440.0);

  // Appends the readings this block completes to *readings.
  void Feed(const int16_t *samples, size_t count, std::vector<StrumReading> *readings);
  // Reads a strum still waiting for its stretch with what there is.
  void Finish(std::vector<StrumReading> *readings);

  int64_t Position() const { return position_; }

 private:
  static constexpr size_t kMost = Measure::Tuning::kMostStrings;
  static constexpr size_t kMostAttacks = 32;  // of one strum, weighed for its strength

  int Strings() const { return static_cast<int>(analyzer_.GetTuning().Strings()); }
  double Loudest() const;
  bool StrikesAgain(const OnsetDetector::Onset &found);
  void Store(const int16_t *samples, size_t count);
  void Weigh(const OnsetDetector::Onset &found, std::vector<StrumReading> *readings);
  void CompareAround(int64_t onset);
  void ReadDue(std::vector<StrumReading> *readings);
  bool ReadStretch(int64_t onset, int64_t start, int64_t end, StrumReading *reading);
  void Read(int64_t end, std::vector<StrumReading> *readings);

  StrumAnalyzer analyzer_;
  OnsetDetector onsets_;
  StruckStrings struck_;
  std::vector<int16_t> history_;  // ring of the last samples, enough for one stretch
  std::vector<int16_t> stretch_;
  std::vector<OnsetDetector::Onset> found_, waiting_;  // onsets found, and those the sound after is not in for
  std::optional<int64_t> pending_;  // onset of the strum waiting for its stretch
  int64_t lastAttack_ = 0;          // of the last strum
  bool again_ = false;              // it struck again a string of the strum before
  double strongest_ = 0;            // flux of the last strum's strongest attack
  std::vector<double> fluxes_, sorted_;  // of its attacks
  std::vector<int64_t> attacksAt_;      // where they were found
  std::vector<int> attackOffsets_;       // from the first sample given the analyser
  int64_t readable_;
  int attacks_ = 0;                      // those not far weaker than its strongest
  int64_t lastStrum_ = -kEcho;
  std::array<int64_t, kMost> struckAt_{};  // the attack each string of the last strum rose at; −1: none
  std::array<double, kMost> struckEnergy_{};  // and its own partials' energy after that attack
  std::array<double, kMost> struckShare_{};   // that energy over the loudest string's then
  int64_t position_ = 0;
};

// Every strum of a recording, in order.
std::vector<StrumReading> FindStrums(const Measure::Tuning &tuning, const int16_t *samples, size_t count,
                                     double reference = 440.0);

}  // namespace Strum
