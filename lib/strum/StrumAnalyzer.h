#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "JointChoice.h"
#include "PartialTrack.h"
#include "SearchRanges.h"
#include "ShadowedString.h"
#include "StringFit.h"
#include "StrumReading.h"
#include "StrumSpectrum.h"
#include "measure/Tuning.h"

namespace Strum {

// Reads all the strings of one strum at once, 4 to 9 of them. Each string
// is looked for near its own note, whatever its place in the tuning (a
// ukulele's high G is string 1): the strings are told apart by pitch alone.
//
// Each string is a stiff string's harmonic series with its own f0 and
// inharmonicity B. The method is joint multiple-F0 estimation by harmonic
// summation with estimation and cancellation and spectral smoothness
// (Klapuri, "Multiple fundamental frequency estimation based on
// harmonicity and spectral smoothness", IEEE Trans. Speech and Audio
// Processing 11(6), 2003), made exact by fitting each string's partial
// frequencies. The targets are known, so what is asked of each string is
// where exactly it lies and whether it sounds at all; a fit of partial
// frequencies, unlike a fit of the waveform, is not biased by the partials'
// decay (a decaying sinusoid's windowed magnitude still peaks at its
// frequency) and is cheap enough to read strums hundreds of times faster
// than they sound.
// 1. Candidates per string by harmonic summation within its search range
//    (CandidateSearch); for each, the (f0, B) comb the peaks agree with
//    (CombMatch), refined by weighted least squares on its partials'
//    frequencies (StringFit, HarmonicFit).
// 2. One candidate or none per string, chosen jointly so that together they
//    explain the most spectral peaks, a shared peak counting once, each
//    chosen string sounding its fundamental and with one of its first three
//    partials to itself (JointChoice): a muted string's "pitch" made of other strings'
//    partials, or an octave of a lower string, adds nothing and stays out;
//    a pitch made of two higher strings' partials (drop D's "E2" on B3 and
//    E4) is left by replacing one string's pitch and choosing the rest again.
//    A string none chose is looked for again in the peaks the chosen
//    strings leave (SearchResidual): a low string whose fundamental the
//    microphone took and whose next partials lie beside other strings'
//    fits their comb when searched alone; then the choice is made again.
// 3. Each chosen string refitted with the other chosen strings' partials
//    masked: a partial within the window's main lobe of another string's is
//    read by fitting the two together (PairFit) when they are at least 0.7
//    resolutions apart, and left out of both fits when closer, so a shared
//    partial (E2's fourth is E4's first) is explained by the strings whose
//    other partials support them.
// 4. A string is heard when at least two partials of its own stand out, one
//    of its first three among them, with at least −30 dB of the loudest
//    string's energy. A string none of whose partials stand alone (B3 on
//    E2's 3rd, 6th, ...) is tried again, highest string first: heard when
//    its partials show beside the heard strings' in pair fits; when, struck
//    at a time of its own, it adds at its partials a sound the hiding
//    strings' envelopes do not explain (ShadowedString: the in-tune B3 and
//    E4, whose every partial is another string's); or when the shared peaks
//    stand well above what the heard strings' neighbouring partials give
//    them at two partials at least (spectral smoothness); or, last, when
//    three of its first eight partials stand apart from theirs, moved off
//    the common harmonic positions by the strings' different stiffness; or,
//    an octave string (drop D's D3, open E's B3), when the heard strings
//    read again without its partials, their stiffness now their own, leave
//    three of its first twelve beside theirs.
// 5. A string whose strongest low partial dies within the stretch was
//    muted: what was heard is its thud (Fading).
// 6. Each string read carries a confidence from its fit (Confidence),
//    less when every partial read lies on another string's and no attack
//    of its own was found, and less for a pitch far from its target (more
//    than half a semitone) unless two of its first partials stand clear,
//    its sound does not lie at multiples of 2 or 3 of it, and it is no
//    multiple of another string's pitch; below kLeastConfidence it is
//    "not sure" and gives no number.
//
// Not thread-safe. The spectrum's buffers are allocated at construction;
// reading a strum allocates only small working lists.
class StrumAnalyzer {
 public:
  explicit StrumAnalyzer(const Measure::Tuning &tuning, double reference = 440.0);

  const Measure::Tuning &GetTuning() const { return tuning_; }
  double GetReference() const { return reference_; }

  // Reads the strings of the strum in samples[0…count): its onset at
  // sample `onset`, the stretch read from sample `stretch` on, after the
  // strum's attacks (at most StrumSpectrum::kLongestStretch of it). With
  // onset and stretch 0 the samples are the stretch alone, and a string
  // hidden by others' partials cannot be told by its attack. `attacks`: the
  // samples where the strum's strings were found struck, if known. The
  // reading's onset is left 0 for the caller.
  StrumReading Analyze(const int16_t *samples, int count, int onset = 0, int stretch = 0,
                       std::span<const int> attacks = {});

  // Whether the strum last read struck a string it heard, rather than
  // finding strings ringing on from before its onset (a decay, or a
  // strum's tail, is no strum); true when there was nothing before it.
  bool Struck() const { return struck_; }

 private:
  static constexpr size_t kMost = Measure::Tuning::kMostStrings;

  int Count() const { return static_cast<int>(tuning_.Strings()); }
  double Hertz(double note) const;
  double Separation() const;
  bool Within(int s, const StringFit &fit) const;
  bool RefineWithin(int s, const HarmonicString &start, const PartialMask &mask, StringFit *fit) const;
  void FindOptions(int s);
  PartialMask MaskOthers(int s) const;
  void ChooseAndRefit();
  bool SearchLeft();
  static bool Enough(const StringFit &fit, double loudest);
  static bool EnoughApart(const StringFit &fit, double loudest);
  void DecideHeard();
  void ReadShadowed(int s, double loudest);
  void Hear(int s, const StringFit &fit, double share = 1);
  bool FindStruck(const int16_t *samples, int count, int onset);
  bool ByAttack(int s, const HarmonicString &guess, const PartialMask &unheard, const std::vector<int> &heardStrings,
                double loudest, StringFit *fit);
  std::array<StringFit, kMost> RefitsWithout(const HarmonicString &guess, const std::vector<int> &heardStrings,
                                             double loudest) const;
  bool ApartFromRefits(int s, const HarmonicString &guess, const PartialMask &unheard,
                       const std::vector<int> &heardStrings, double loudest, StringFit *fit);
  bool NearTarget(int s, const HarmonicString &guess) const;
  bool Excessive(int s, const HarmonicString &guess, const PartialMask &mask, const std::vector<int> &heardStrings,
                 StringFit *fit) const;
  void ForgetThuds(const int16_t *samples, int count);
  double PredictedAmplitude(int s, int n) const;
  bool HasOwnPartial(int s) const;
  bool OctaveOfAnother(int s) const;
  bool SurelyRead(int s) const;
  double ConfidenceOf(int s, double far) const;
  bool FarButClear(int s) const;
  StringReading Reading(int s) const;

  Measure::Tuning tuning_;
  double reference_;
  std::array<SearchRange, kMost> ranges_;
  std::array<int, kMost> primary_{};  // the first string tuned to the same note
  StrumSpectrum spectrum_;
  PeakList peaks_;
  std::array<std::vector<StringOption>, kMost> options_;
  std::array<std::vector<HarmonicString>, kMost> guesses_;  // every pitch fitted within each string's range
  JointChoice chosen_{};  // index into options_, or −1
  std::array<StringFit, kMost> fits_;
  std::array<StringFit, kMost> refitted_;  // the heard strings, read apart from a string hidden by them
  std::array<bool, kMost> heard_{};
  std::array<double, kMost> share_{};  // of the fit's confidence the way it was heard keeps
  std::array<bool, kMost> apart_{};    // read from partials stiffness moved off a lower string's
  bool struck_ = false;
  ShadowedString shadowed_;
  PartialTrack track_;
};

}  // namespace Strum
