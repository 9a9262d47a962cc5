#include "StrumAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <span>

#include "CandidateSearch.h"
#include "CombMatch.h"
#include "Confidence.h"
#include "Fading.h"
#include "PartialTrack.h"
#include "ResidualSearch.h"
#include "StrumFormat.h"
#include "measure/MidiTypes.h"

namespace Strum {

namespace {

constexpr double kSeparation = 2.5;      // window resolutions between partials told apart
constexpr int kLeastOwnPartials = 2;
constexpr double kExplainedWidth = 0.5;  // resolutions: a peak this near a chosen string's partial is its
constexpr double kLeastShare = 1e-3;     // −30 dB of the loudest string's energy
constexpr double kLeastApartShare = 1e-6;  // −60 dB: a string read from its high partials alone
constexpr int kApartPartials = 12;         // first partials a string read apart from a lower one shows
constexpr double kRefitAgree = 2.0 / 1200;  // octaves a heard string's refit may move it
constexpr double kApartStiffness[] = {0.0, 2e-5, 5e-5, 1e-4, 2e-4};  // B tried for it
constexpr int kApartAnchors = 3;           // its first partials, whose peaks it must meet…
constexpr double kApartReach = 0.4;        // …within this many resolutions…
constexpr double kApartSnr = 4.0;          // …standing 12 dB above the floor
constexpr double kShadowExcess = 4.0;    // shared peaks 6 dB above the louder strings' share
constexpr int kShadowPartials = 4;
constexpr double kShadowReach = 0.5;     // semitones from the target
constexpr int kLeastMissing = 1;         // of its first eight partials, for a pitch tried again
constexpr int kRefits = 2;
constexpr int kShadowPasses = 2;
constexpr int kThudPartials = 3;
constexpr double kDying = 0.1;          // −20 dB from one half of the stretch to the next
constexpr double kAttackShare = 0.9;    // a string heard by its attack alone is a little less sure
constexpr double kCoveredShare = 0.4;   // every partial read lies on another string's: it may be theirs
constexpr double kFarShare = 0.4;       // read far from its target, a pitch that may be another string's
constexpr int kOctaves = 5;             // the lower strings' partials a pitch far off may be made of
constexpr double kOctaveReach = 0.2;    // semitones from another string's reading
constexpr double kRise = 1.5;           // a partial struck again: this much louder after the onset…
constexpr double kNovelty = 0.8;        // …or this far from where its sound before would have gone
constexpr int kStruckPartials = 8;
constexpr int kStruckSettle = static_cast<int>(Samples(0.03));  // after the onset, before the sound struck is read

}  // namespace

StrumAnalyzer::StrumAnalyzer(const Measure::Tuning &tuning, double reference)
    : tuning_(tuning), reference_(reference), ranges_(MakeSearchRanges(tuning)) {
  for (int s = 0; s < Count(); ++s) {
    primary_[s] = s;
    for (int o = s - 1; o >= 0; --o)
      if (tuning.notes[o] == tuning.notes[s]) primary_[s] = o;
  }
}

double StrumAnalyzer::Hertz(double note) const { return FrequencyFromNote(note, reference_); }

double StrumAnalyzer::Separation() const { return kSeparation * spectrum_.Resolution(); }

StrumReading StrumAnalyzer::Analyze(const int16_t *samples, int count, int onset, int stretch,
                                    std::span<const int> attacks) {
  stretch = std::clamp(stretch, 0, std::max(0, count));
  const int16_t *read = samples + stretch;
  const int length = std::clamp(count - stretch, 0, StrumSpectrum::kLongestStretch);
  onset = std::clamp(onset, 0, stretch);
  shadowed_.SetRegion(samples, stretch + length, onset, stretch, attacks);
  spectrum_.Compute(read, length);
  peaks_.Read(spectrum_);
  for (int s = 0; s < Count(); ++s) FindOptions(s);
  ChooseAndRefit();
  if (SearchLeft()) ChooseAndRefit();
  DecideHeard();
  ForgetThuds(read, length);
  struck_ = FindStruck(samples, stretch + length, onset);
  StrumReading reading;
  reading.count = Count();
  for (int s = 0; s < Count(); ++s) reading.strings[s] = Reading(primary_[s]);
  return reading;
}

// A fit whose fundamental left the string's range has found another
// string's sound (or a partial of it), never this string's.
bool StrumAnalyzer::Within(int s, const StringFit &fit) const {
  const double note = NoteFromFrequency(fit.model.Fundamental(), reference_);
  return note >= ranges_[s].lowest && note < ranges_[s].highest;
}

bool StrumAnalyzer::RefineWithin(int s, const HarmonicString &start, const PartialMask &mask, StringFit *fit) const {
  return RefineString(spectrum_, start, mask, Separation(), fit) && Within(s, *fit);
}

void StrumAnalyzer::FindOptions(int s) {
  options_[s].clear();
  guesses_[s].clear();
  if (primary_[s] != s) return;
  StringFit fit;
  for (const Candidate &c :
       FindCandidates(peaks_, spectrum_.Resolution(), Hertz(ranges_[s].lowest), Hertz(ranges_[s].highest))) {
    if (!FitString(spectrum_, peaks_, c.hertz, PartialMask(), Separation(), &fit) || !Within(s, fit)) continue;
    guesses_[s].push_back(fit.model);
    if (StringOption o = MakeOption(fit.model, peaks_, spectrum_.Resolution()); o.Plausible())
      options_[s].push_back(std::move(o));
  }
}

// Each string none chose looked for again in the peaks the chosen strings
// leave; true when that found it a pitch to weigh.
bool StrumAnalyzer::SearchLeft() {
  PartialMask chosen;
  for (int o = 0; o < Count(); ++o)
    if (chosen_[o] >= 0) chosen.Add(fits_[o].model);
  if (chosen.Strings().empty()) return false;
  bool added = false;
  for (int s = 0; s < Count(); ++s) {
    if (primary_[s] != s || chosen_[s] >= 0) continue;
    for (const StringFit &fit : SearchResidual(spectrum_, peaks_, chosen, kExplainedWidth * spectrum_.Resolution(),
                                               Separation(), Hertz(ranges_[s].lowest), Hertz(ranges_[s].highest))) {
      guesses_[s].push_back(fit.model);
      options_[s].push_back(MakeOption(fit.model, peaks_, spectrum_.Resolution()));
      added = true;
    }
  }
  return added;
}

PartialMask StrumAnalyzer::MaskOthers(int s) const {
  PartialMask mask;
  for (int o = 0; o < Count(); ++o)
    if (o != s && chosen_[o] >= 0) mask.Add(fits_[o].model);
  return mask;
}

// The strings' options chosen jointly, then each chosen string refitted to
// the partials no other chosen string claims; a string left with none is
// shadowed and waits for ReadShadowed.
void StrumAnalyzer::ChooseAndRefit() {
  chosen_ = ChooseJointly({options_.data(), tuning_.Strings()}, peaks_);
  for (int s = 0; s < Count(); ++s) {
    fits_[s] = {};
    if (chosen_[s] >= 0) fits_[s].model = options_[s][chosen_[s]].model;
  }
  for (int round = 0; round < kRefits; ++round) {
    for (int s = 0; s < Count(); ++s) {
      if (chosen_[s] < 0) continue;
      StringFit fit;
      if (RefineWithin(s, fits_[s].model, MaskOthers(s), &fit)) fits_[s] = fit;
      else fits_[s] = {fits_[s].model, {}, {}, 0};
    }
  }
}

// Partials of its own enough to say a string sounds.
bool StrumAnalyzer::Enough(const StringFit &fit, double loudest) {
  return fit.Count() >= kLeastOwnPartials && fit.Convincing() && fit.energy >= kLeastShare * loudest;
}

// Partials of its own enough to say a string sounds whose low partials
// lie on other strings': three among its first eight that stiffness moved
// apart from theirs (an in-tune E4's fifth, sixth and seventh beside the
// low E's 20th, 24th and 28th, which stand several hertz sharper), though
// high partials hold little of a string's energy.
bool StrumAnalyzer::EnoughApart(const StringFit &fit, double loudest) {
  return Enough(fit, loudest) || (fit.ShowsItself() && fit.energy >= kLeastApartShare * loudest);
}

void StrumAnalyzer::DecideHeard() {
  double loudest = 0;
  for (int s = 0; s < Count(); ++s) loudest = std::max(loudest, fits_[s].energy);
  for (int s = 0; s < Count(); ++s) {
    heard_[s] = chosen_[s] >= 0 && Enough(fits_[s], loudest);
    share_[s] = 1;
    apart_[s] = false;
  }
  // Highest first: a higher string's sound is its own, while a lower
  // string's "pitch" an octave or a twelfth below it is made of it.
  std::array<int, kMost> order{};
  for (int s = 0; s < Count(); ++s) order[s] = s;
  std::sort(order.begin(), order.begin() + Count(), [&](int a, int b) { return tuning_.notes[a] > tuning_.notes[b]; });
  // A string hidden by a lower one that was itself heard only here is
  // tried again: the lower string's envelopes now tell its attack.
  for (int pass = 0; pass < kShadowPasses; ++pass) {
    bool more = false;
    for (int s : std::span(order.data(), tuning_.Strings()))
      if (!heard_[s] && !options_[s].empty()) ReadShadowed(s, loudest), more = more || heard_[s];
    if (!more) break;
  }
}

// The amplitude string s would give its partial n by its neighbours: the
// larger of the nearest partials read below and above, so that a peak
// counts as another string's only when it clearly exceeds both.
double StrumAnalyzer::PredictedAmplitude(int s, int n) const {
  const auto &a = fits_[s].amplitude;
  double below = 0, above = 0;
  for (int m = std::min(n - 1, kMostPartials); m >= 1 && below == 0; --m) below = a[m];
  for (int m = n + 1; m <= kMostPartials && above == 0; ++m) above = a[m];
  return std::max(below, above);
}

// A string none of whose partials stand alone: heard when partials of its
// own show beside the heard strings' (read by fitting each pair), when its
// attack shows at the partials it shares with them (ShadowedString: an
// in-tune B3 or E4), or when the shared peaks stand well above what the
// heard strings' envelopes give them; or, last, when three of its first
// eight partials stand apart from theirs by its stiffness (EnoughApart);
// read from those partials. Each of its
// pitches within half a semitone of its target is tried, the chosen one
// first. Peaks that a string chosen but not heard explains are that
// string's: a string whose first partials fall on them is not heard (E4/2
// must not take a shadowed E4's sound).
void StrumAnalyzer::ReadShadowed(int s, double loudest) {
  std::vector<int> heardStrings;
  PartialMask mask, all, unheard;
  for (int o = 0; o < Count(); ++o) {
    if (o == s) continue;
    if (heard_[o]) mask.Add(fits_[o].model), all.Add(fits_[o].model), heardStrings.push_back(o);
    else if (chosen_[o] >= 0) unheard.Add(fits_[o].model), all.Add(fits_[o].model);
  }
  if (heardStrings.empty()) return;
  std::vector<int> tried;
  if (chosen_[s] >= 0) tried.push_back(chosen_[s]);
  for (int o = 0; o < static_cast<int>(options_[s].size()); ++o)
    if (o != chosen_[s]) tried.push_back(o);
  auto usable = [&](const StringOption &option) {
    const HarmonicString &guess = option.model;
    return option.missing <= kLeastMissing && NearTarget(s, guess) &&
           !unheard.Covers(guess.Partial(1), Separation()) && !unheard.Covers(guess.Partial(2), Separation());
  };
  StringFit fit;
  for (int o : tried)
    if (usable(options_[s][o]) && RefineWithin(s, options_[s][o].model, all, &fit) && Enough(fit, loudest))
      return Hear(s, fit);
  for (const HarmonicString &guess : guesses_[s])
    if (NearTarget(s, guess) && ByAttack(s, guess, unheard, heardStrings, loudest, &fit))
      return Hear(s, fit, kAttackShare);
  for (int o : tried)
    if (usable(options_[s][o]) && Excessive(s, options_[s][o].model, mask, heardStrings, &fit)) return Hear(s, fit);
  for (int o : tried)
    if (usable(options_[s][o]) && RefineWithin(s, options_[s][o].model, all, &fit) && EnoughApart(fit, loudest))
      return Hear(s, fit);
  for (int o : tried)
    if (usable(options_[s][o]) && ApartFromRefits(s, options_[s][o].model, unheard, heardStrings, loudest, &fit)) {
      for (int h : heardStrings) fits_[h] = refitted_[h];
      Hear(s, fit);
      apart_[s] = true;
      return;
    }
}

// The heard strings read again without the partials `guess` would share
// with them: where the guess sounds, those partials are blends, and a
// lower string's stiffness read from them is the pair's (a low D read at
// B = 0 from D3's harmonic peaks, its own 11th lying 5 Hz sharper than
// that puts it). Each is refined from its fit or, when that reads more,
// from the comb its other partials agree with; a comb that moves the
// string's pitch is another string's and is not taken.
std::array<StringFit, StrumAnalyzer::kMost> StrumAnalyzer::RefitsWithout(const HarmonicString &guess,
                                                                         const std::vector<int> &heardStrings,
                                                                         double loudest) const {
  std::array<StringFit, kMost> refits;
  for (int h : heardStrings) {
    PartialMask mask;
    mask.Add(guess);
    for (int o : heardStrings)
      if (o != h) mask.Add(fits_[o].model);
    refits[h] = fits_[h];
    double most = 0;
    StringFit refit;
    if (RefineWithin(h, fits_[h].model, mask, &refit) && Enough(refit, loudest))
      refits[h] = refit, most = Evidence(refit);
    HarmonicString comb;
    if (MatchComb(peaks_, fits_[h].model.Fundamental(), spectrum_.Resolution(), mask, Separation(), &comb) &&
        RefineWithin(h, comb, mask, &refit) && Enough(refit, loudest) && Evidence(refit) > most &&
        std::abs(std::log2(refit.model.Fundamental() / fits_[h].model.Fundamental())) <= kRefitAgree)
      refits[h] = refit;
  }
  return refits;
}

// Whether string s, whose low partials lie on the heard strings' (D3 on a
// low D's even ones), shows itself where its stiffness moves its partials
// off theirs: the heard strings refitted without its partials, s read
// beside them from the comb its free peaks agree with, or from its pitch
// under a few stiffnesses, whichever reads the most of its first partials;
// heard when three of those are read, not all multiples of one number. If
// so, *fit reads it and refitted_ holds the heard strings' refits.
bool StrumAnalyzer::ApartFromRefits(int s, const HarmonicString &guess, const PartialMask &unheard,
                                    const std::vector<int> &heardStrings, double loudest, StringFit *fit) {
  const std::array<StringFit, kMost> refits = RefitsWithout(guess, heardStrings, loudest);
  PartialMask mask = unheard;
  for (int h : heardStrings) mask.Add(refits[h].model);
  std::vector<HarmonicString> starts;
  HarmonicString comb;
  if (MatchComb(peaks_, guess.Fundamental(), spectrum_.Resolution(), mask, Separation(), &comb)) starts.push_back(comb);
  for (double b : kApartStiffness) starts.push_back({guess.Fundamental() / std::sqrt(1 + b), b});
  // Partials among the first kApartPartials read, the stronger first.
  auto score = [](const StringFit &f) {
    double read = 0;
    for (const PartialMeasure &p : f.partials) read += p.n <= kApartPartials ? 1 + 1e-6 * p.weight : 0;
    return read;
  };
  double best = 0;
  StringFit trial;
  for (const HarmonicString &start : starts)
    if (RefineWithin(s, start, mask, &trial) && score(trial) > best) best = score(trial), *fit = trial;
  if (best == 0 || !fit->ShowsItselfWithin(kApartPartials) || fit->energy < kLeastApartShare * loudest) return false;
  // Its first partials sound, on the heard strings' or beside them: the
  // spectrum has a peak where the fit puts each (a comb of other sounds'
  // peaks up high, fitted with a stiffness no string has, puts them off).
  StrumSpectrum::Peak peak;
  for (int n = 1; n <= kApartAnchors; ++n)
    if (!spectrum_.NearestPeak(fit->model.Partial(n), kApartReach * spectrum_.Resolution(), kApartSnr, &peak))
      return false;
  refitted_ = refits;
  return true;
}

void StrumAnalyzer::Hear(int s, const StringFit &fit, double share) {
  fits_[s] = fit;
  heard_[s] = true;
  share_[s] = share;
}

bool StrumAnalyzer::ByAttack(int s, const HarmonicString &guess, const PartialMask &unheard,
                            const std::vector<int> &heardStrings, double loudest, StringFit *fit) {
  // The strings heard are read again without the partials s would share
  // with them: where s sounds, those partials are blends.
  const std::array<StringFit, kMost> refits = RefitsWithout(guess, heardStrings, loudest);
  std::vector<const StringFit *> sounding;
  for (int h : heardStrings) sounding.push_back(&refits[h]);
  // Where a string not heard may sound, nothing can be told.
  PartialMask unknown = unheard;
  for (int o = 0; o < Count(); ++o)
    if (o != s && !heard_[o])
      for (const StringOption &g : options_[o])
        if (NearTarget(o, g.model)) unknown.Add(g.model);
  if (!shadowed_.Hear(guess, sounding, unknown, fit) || !Within(s, *fit)) return false;
  for (int h : heardStrings) fits_[h] = refits[h];
  return true;
}

// Only near its target can a string be told from the lower string whose
// harmonics it sits on (far off, E4 on D3's octave is that octave).
bool StrumAnalyzer::NearTarget(int s, const HarmonicString &guess) const {
  return std::abs(NoteFromFrequency(guess.Fundamental(), reference_) - tuning_.notes[s]) <= kShadowReach;
}

// Whether the peaks string s would share with the heard strings (`mask`)
// stand well above what those strings' neighbouring partials give them, in
// all and at two partials at least (one strong partial of a heard string,
// a body resonance, is not a string); if so, *fit reads s from them.
bool StrumAnalyzer::Excessive(int s, const HarmonicString &guess, const PartialMask &mask,
                              const std::vector<int> &heardStrings, StringFit *fit) const {
  if (!RefineWithin(s, guess, PartialMask(), fit)) return false;
  double observed = 0, predicted = 0;
  int exceeding = 0;
  for (int n = 1; n <= kShadowPartials; ++n) {
    const std::vector<PartialMask::Hit> hits = mask.HitsNear(fit->model.Partial(n), Separation());
    if (hits.empty()) continue;
    double expected = 0;
    for (const PartialMask::Hit &h : hits) expected += std::pow(PredictedAmplitude(heardStrings[h.string], h.n), 2);
    // The shared peak itself, whether or not the fit kept it.
    StrumSpectrum::Peak peak;
    const bool found = spectrum_.PeakNear(fit->model.Partial(n), 0.5 * spectrum_.Resolution(), &peak);
    const double seen = found ? peak.amplitude * peak.amplitude : 0;
    exceeding += seen > kShadowExcess * expected;
    observed += seen, predicted += expected;
  }
  return exceeding >= kLeastOwnPartials && observed > kShadowExcess * predicted;
}

// A string whose strongest low partial dies within the stretch was muted:
// what was heard is the thud of its being struck.
void StrumAnalyzer::ForgetThuds(const int16_t *samples, int count) {
  for (int s = 0; s < Count(); ++s) {
    if (!heard_[s]) continue;
    // A string read apart has its low partials on a ringing string's: its
    // thud shows at the partials it was read from.
    const int highest = apart_[s] ? kApartPartials : kThudPartials;
    int strongest = 1;
    for (int n = 2; n <= highest; ++n)
      if (fits_[s].amplitude[n] > fits_[s].amplitude[strongest]) strongest = n;
    if (Fading(samples, count, fits_[s].model.Partial(strongest)) < kDying) heard_[s] = false;
  }
}

// Whether a string heard was struck at the onset: at its strongest low
// partial the sound after the onset is louder than before it, or is not
// the sound before going on (a string struck again as loud as it rang).
// With no sound before the onset to tell, it was.
bool StrumAnalyzer::FindStruck(const int16_t *samples, int count, int onset) {
  const int before = (onset - PartialTrack::kFrame) / PartialTrack::kHop;  // the last frame ending by the onset
  const int after = (onset + kStruckSettle + PartialTrack::kHop - 1) / PartialTrack::kHop;
  bool any = false;
  for (int s = 0; s < Count(); ++s) {
    if (!heard_[s]) continue;
    any = true;
    if (before < 1) return true;
    int strongest = 1;
    for (int n = 2; n <= kStruckPartials; ++n)
      if (fits_[s].amplitude[n] > fits_[s].amplitude[strongest]) strongest = n;
    track_.Compute(samples, count, fits_[s].model.Partial(strongest));
    if (after >= track_.Frames()) return true;
    const std::complex<double> last = track_[before], earlier = track_[before - 1], now = track_[after];
    // Its sound before, gone on at the rate it was decaying.
    const double decay = std::abs(earlier) > 0 ? std::min(1.0, std::abs(last) / std::abs(earlier)) : 1.0;
    const std::complex<double> expected = last * std::pow(decay, after - before);
    if (std::abs(now) > kRise * std::abs(last) || std::abs(now - expected) > kNovelty * std::abs(now)) return true;
  }
  return !any;
}

// Whether some partial read of string s lies apart from every other heard
// string's: else what was read of it may be theirs (a string an octave
// above another, in tune or 20 cents off, whose partials all lie on the
// lower one's even ones), and only an attack of its own tells it. Read far
// from its target, its partials must lie apart from every higher string's
// target and the pitches found near it too: a G2 made of G3's and D3's
// partials, read from its second, third, fourth and sixth once a
// microphone took the A2 it stands for, is theirs. (Near its target, a low
// string in an open tuning has every partial the microphone left on its
// octave's and twelfth's.)
bool StrumAnalyzer::HasOwnPartial(int s) const {
  const bool far = !NearTarget(s, fits_[s].model);
  PartialMask others;
  for (int o = 0; o < Count(); ++o) {
    if (o == s) continue;
    if (heard_[o]) {
      others.Add(fits_[o].model);
      continue;
    }
    if (!far || tuning_.notes[o] <= tuning_.notes[s]) continue;
    others.Add({Hertz(tuning_.notes[o]), 0});
    for (const StringOption &option : options_[o])
      if (NearTarget(o, option.model)) others.Add(option.model);
  }
  for (const PartialMeasure &p : fits_[s].partials)
    if (!others.Covers(p.hertz, Separation())) return true;
  return false;
}

// Whether a pitch read far from string s's target is two to five times
// another string's reading, or a pitch near the target of a string not
// surely read: its partials are all that string's (an A3 string's "199 Hz"
// on a G2 read from few partials; a D3's "E3" on the low E's even
// partials, when the low E was read a tone down; an E4's "F#4" on a low
// D's fifth, tenth, ...).
bool StrumAnalyzer::OctaveOfAnother(int s) const {
  const HarmonicString &model = fits_[s].model;
  for (int o = 0; o < Count(); ++o) {
    if (o == s) continue;
    const bool sure = SurelyRead(o);
    const double read = NoteFromFrequency(fits_[o].model.Fundamental(), reference_);
    for (int k = 2; k <= kOctaves; ++k) {
      const HarmonicString below{model.Fundamental() / k, model.b};
      if (sure ? std::abs(NoteFromFrequency(below.Fundamental(), reference_) - read) <= kOctaveReach
               : NearTarget(o, below))
        return true;
    }
  }
  return false;
}

// Whether a reading far from its target may be trusted as far as its own
// partials tell: two of its first ones standing clear, and not all its
// sound at multiples of 2 or 3 of its pitch.
bool StrumAnalyzer::FarButClear(int s) const {
  return NearTarget(s, fits_[s].model) || (StandsClear(fits_[s]) && !AtMultiplesOnly(fits_[s]));
}

// Whether string s is heard and its fit, its partials apart from the
// others' and, far from its target, clear, sure enough for a reading.
bool StrumAnalyzer::SurelyRead(int s) const {
  return heard_[s] && FarButClear(s) && ConfidenceOf(s, 1.0) >= kLeastConfidence;
}

// String s's confidence: its fit's, its share of the sound, less where every
// partial read lies on another string's, times `far` (a pitch far off that
// may be another string's).
double StrumAnalyzer::ConfidenceOf(int s, double far) const {
  const double covered = share_[s] < 1 || HasOwnPartial(s) ? 1.0 : kCoveredShare;
  return covered * far * share_[s] * FitConfidence(fits_[s], spectrum_.Resolution(), apart_[s]);
}

StringReading StrumAnalyzer::Reading(int s) const {
  StringReading r;
  if (!heard_[s]) return r;
  const double far = NearTarget(s, fits_[s].model) || (FarButClear(s) && !OctaveOfAnother(s)) ? 1.0 : kFarShare;
  r.confidence = ConfidenceOf(s, far);
  r.heard = r.confidence >= kLeastConfidence;
  r.unsure = !r.heard;
  r.hertz = fits_[s].model.Fundamental();
  r.note = NoteFromFrequency(r.hertz, reference_);
  r.nearest = static_cast<int>(std::floor(r.note + 0.5));
  r.cents = 100 * (r.note - tuning_.notes[s]);
  r.level = std::sqrt(fits_[s].energy);
  return r;
}

}  // namespace Strum
