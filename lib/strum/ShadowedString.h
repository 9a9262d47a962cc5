#pragma once

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

#include "HidingFit.h"
#include "PartialMask.h"
#include "PartialTrack.h"
#include "StringFit.h"
#include "StrumFormat.h"

namespace Strum {

// Hears a string none of whose partials stand apart from other strings' in
// the stretch (B3 on E2's third, sixth, ...; E4 on E2's fourth and A2's
// third, when the guitar is in tune) by its attack: struck at its own
// time, it adds at its partials a sound that the strings hiding them do
// not explain.
//
// Each partial's track through the strum (PartialTrack) is fitted by the
// envelopes of the strings that hide it, each taken from that string's
// clearest partial that lies apart from every other string's (a higher one,
// by its sound, when none of the first six read does: a low string whose
// fundamental the microphone lost) and turned to the hidden partial's
// frequency, each starting at that string's attack (the one of the strum's
// onsets, when they are known, where that partial changes most), plus one
// sound struck at a time common to all the partials. A partial shows the
// string when, in the frames about the attack, that sound explains most of
// what the hiding strings leave, and the partial alone would place the
// attack at the same time; two of the first four must show it, and those
// that do must agree on one string's pitch. Its frequency is read from the
// frames after the attack's first kSettle, past its pitch drift.
//
// Not thread-safe; working lists grow to their largest size and stay.
class ShadowedString {
 public:
  static constexpr double kSettle = Samples(0.1);

  // The region holds the strum's attacks and the stretch after them, which
  // starts at sample `stretch`; `attacks`, the onsets found in it, if known.
  void SetRegion(const int16_t *samples, int count, int onset, int stretch, std::span<const int> attacks = {});

  // Whether the string near `guess` sounds beside the strings heard; if so,
  // *fit reads it from the partials where it does.
  bool Hear(const HarmonicString &guess, const std::vector<const StringFit *> &heard, const PartialMask &unheard,
            StringFit *fit);

 private:
  struct Shared {
    int n = 0;
    double offset = 0;  // hertz from the track's frequency to the sound read
    double own = 0;     // the attack this partial alone shows
    PartialTrack track;
    std::vector<std::vector<std::complex<double>>> hiding;  // three envelopes per hiding partial
    std::vector<int> strings;                               // the strings hiding it
  };
  struct Reading {
    double hertz = 0;
    double gain = 0, left = 0;  // shares of the track's energy: explained by the sound, left by all
    double energy = 0;
    std::complex<double> amplitude;
  };

  bool Reference(int j, const std::vector<const StringFit *> &heard, const HarmonicString &guess,
                 const PartialMask &unheard);
  int LoudestApart(const HarmonicString &model, const PartialMask &others, PartialTrack *track);
  bool Prepare(Shared *shared, int n, const HarmonicString &guess, const std::vector<const StringFit *> &heard,
               const PartialMask &unheard);
  void AddEnvelope(int j, double hertz, Shared *shared) const;
  double FindAttack(int used);
  static std::complex<double> Turn(const Shared &s, double middle);
  double AttackOf(const PartialTrack &track);
  double AttackAmong(const PartialTrack &track);
  bool Apart(const Shared &shared, double attack) const;
  static bool Agree(double priorB, StringFit *fit);
  Reading ReadAfter(const Shared &shared, double attack, double settle, bool near = false);

  const int16_t *samples_ = nullptr;
  int count_ = 0, onset_ = 0, stretch_ = 0;
  std::vector<Shared> shared_;
  std::vector<PartialTrack> references_;
  PartialTrack candidate_;  // a reference tried
  std::vector<int> referenceN_;  // 0: not chosen yet; −1: none lies apart
  std::vector<double> referenceAttack_;
  std::vector<double> attacks_;
  HidingFit hidingFit_;
  std::vector<std::complex<double>> trial_, turns_, kept_, before_;
  std::vector<std::vector<std::complex<double>>> keptHiding_;
  std::vector<double> keptTimes_, keptShare_;
  std::vector<int> keptFrames_;
};

}  // namespace Strum
