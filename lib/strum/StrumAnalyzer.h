#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "JointChoice.h"
#include "SearchRanges.h"
#include "StringFit.h"
#include "StrumReading.h"
#include "StrumSpectrum.h"
#include "measure/Tuning.h"

namespace Strum {

// Reads all six strings of one strum at once.
//
// Each string is a stiff string's harmonic series with its own f0 and
// inharmonicity B. The method is joint multiple-F0 estimation after Klapuri
// ("Multiple fundamental frequency estimation based on harmonicity and
// spectral smoothness", IEEE Trans. Speech and Audio Processing 11(6),
// 2003), with the targets known:
// 1. Candidates per string by harmonic summation within its search range
//    (CandidateSearch), each refined to its own f0 and B (StringFit).
// 2. One candidate or none per string, chosen jointly so that together they
//    explain the most spectral peaks, a shared peak counting once
//    (JointChoice): a muted string's "pitch" made of other strings'
//    partials adds nothing and stays out.
// 3. Each chosen string refitted by weighted least squares to the partials
//    no other chosen string can claim: a shared partial (E2's fourth is
//    E4's first) is left out of both fits, so it is explained by the
//    strings whose other partials support them. The fit reads the
//    partials' frequencies rather than the waveform, so the partials'
//    decay leaves it unbiased (a decaying sinusoid's windowed magnitude
//    still peaks at its frequency).
// 4. A string is heard when at least two partials of its own stand out and
//    carry enough energy. A string whose low partials all fall on louder
//    strings' (B3 on E2's 3rd, 6th, ...) is heard when its partials show
//    beside theirs in a joint fit of the two (PairFit), or when the shared
//    peaks stand well above what the louder strings' neighbouring partials
//    give them (spectral smoothness).
// 5. A string whose strongest low partial dies within the stretch was
//    muted, and is not heard (Fading).
//
// Not thread-safe; allocates only for the peak and candidate lists.
class StrumAnalyzer {
 public:
  explicit StrumAnalyzer(const Measure::Tuning &tuning, double reference = 440.0);

  const Measure::Tuning &GetTuning() const { return tuning_; }
  double GetReference() const { return reference_; }

  // Reads the strings from `count` samples taken after the strum's attacks
  // (at most StrumSpectrum::kLongestStretch are used). The reading's onset
  // is left 0 for the caller.
  StrumReading Analyze(const int16_t *samples, int count);

 private:
  double Hertz(double note) const;
  double Separation() const;
  bool Within(int s, const StringFit &fit) const;
  bool RefineWithin(int s, const HarmonicString &start, const PartialMask &mask, StringFit *fit) const;
  void FindOptions(int s);
  PartialMask MaskOthers(int s) const;
  void RefitChosen();
  static bool Enough(const StringFit &fit, double loudest);
  void DecideHeard();
  void ReadShadowed(int s, double loudest);
  bool Excessive(int s, const HarmonicString &guess, const PartialMask &mask, const std::vector<int> &heardStrings,
                 StringFit *fit) const;
  void ForgetThuds(const int16_t *samples, int count);
  double PredictedAmplitude(int s, int n) const;
  StringReading Reading(int s) const;

  Measure::Tuning tuning_;
  double reference_;
  std::array<SearchRange, 6> ranges_;
  std::array<int, 6> primary_;  // the first string tuned to the same note
  StrumSpectrum spectrum_;
  PeakList peaks_;
  std::array<std::vector<StringOption>, 6> options_;
  std::array<int, 6> chosen_{};  // index into options_, or −1
  std::array<StringFit, 6> fits_;
  std::array<bool, 6> heard_{};
};

}  // namespace Strum
