#include "ShadowedString.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

#include "StrumFormat.h"

namespace Strum {

namespace {

constexpr int kPartials = 6;
constexpr int kReferencePartials = 12;
constexpr double kHighest = 2000.0;  // hertz
constexpr double kReach = 21.5;      // hertz: a frame's main lobe
constexpr double kAttackStep = PartialTrack::kHop / 2;
constexpr double kEarly = Samples(0.046);  // an attack may lie a little before the onset found
// A string's partials may swell on their own for tens of ms after its
// attack, while B3 and E4 are struck four strings (80 ms or more, strings
// 20–40 ms apart) from the strings that hide them.
constexpr double kApart = Samples(0.07);
constexpr double kLocal = PartialTrack::kFrame;  // samples either side of an attack weighed for it
constexpr double kDecays[] = {0.0, 1.0, 3.0};  // per second
constexpr double kRatio = 4.0;       // of what the hiding strings leave near the attack, 3/4 explained
constexpr double kNearBefore = Samples(0.1);  // the frames about an attack, weighed for it
constexpr double kNearAfter = Samples(0.2);
// Samples between a partial's own attack and the string's: the onsets
// found within one hop, a partial's own attack within another, and the
// room's early reflections blur it by as much again.
constexpr double kAgree = 2 * PartialTrack::kHop;
constexpr int kLowest = 4;           // partials that count as low
constexpr double kLeastGain = 0.01;  // of the track's energy
constexpr double kWeightCap = 1e4;
// A partial's weight: what the sound explains over what is left, in each
// of the tens of frames it is read from (what is left is spread over
// them, the sound is not), as a peak's height over the floor is weighed.
constexpr double kFrameWeight = 10.0;
constexpr double kDisagree = 0.002;  // 3.5 cents

}  // namespace

void ShadowedString::SetRegion(const int16_t *samples, int count, int onset, int stretch,
                               std::span<const int> attacks) {
  attacks_.clear();
  for (int a : attacks)
    if (a >= 0 && a < stretch) attacks_.push_back(a);
  samples_ = samples;
  count_ = count;
  onset_ = onset;
  stretch_ = stretch;
}

// When a string is struck: the time, on a grid of kAttackStep, at which its
// track changes the most, as what rang before (its sound from an earlier
// strum, or nothing) gives way to what it sounds now. With the strum's
// attacks known, only at one of them: over the whole region a plucked
// partial's decay leaves the change nearly as large at a neighbouring
// string's attack, and a string ringing on from the last strum may change
// most elsewhere.
double ShadowedString::AttackOf(const PartialTrack &track) {
  if (!attacks_.empty()) return AttackAmong(track);
  const std::span<const std::complex<double>> z{&track[0], static_cast<size_t>(track.Frames())};
  trial_.resize(track.Frames());
  before_.resize(track.Frames());
  double best = 0, attack = 0;
  for (double t = std::max(0.0, onset_ - kEarly); t < stretch_; t += kAttackStep) {
    for (int m = 0; m < track.Frames(); ++m) trial_[m] = PartialTrack::After(m, t), before_[m] = 1.0 - trial_[m];
    hidingFit_.Reset(z);
    hidingFit_.Add(before_);
    const double explained = hidingFit_.Energy() - hidingFit_.Residual() + hidingFit_.Explains(trial_);
    if (explained > best) best = explained, attack = t;
  }
  return attack;
}

// Among the strum's attacks (each a step either side, the onsets being
// found to within one), the one where a step from one sound to another
// explains the most beyond one sound going on, in the frames about it: near
// an attack a partial's decay hardly counts, and a string ringing on only
// decays at the others' attacks.
double ShadowedString::AttackAmong(const PartialTrack &track) {
  double best = -1, attack = attacks_.front();
  for (double at : attacks_)
    for (double t : {at - kAttackStep, at, at + kAttackStep}) {
      const int from = std::max(0, static_cast<int>(std::floor((t - kLocal) / PartialTrack::kHop)));
      const int to = std::min(track.Frames(), static_cast<int>(std::ceil((t + kLocal) / PartialTrack::kHop)));
      if (to - from < 2) continue;
      const std::span<const std::complex<double>> z{&track[from], static_cast<size_t>(to - from)};
      trial_.resize(to - from);
      for (int m = from; m < to; ++m) trial_[m - from] = PartialTrack::After(m, t);
      before_.assign(to - from, 1.0);
      hidingFit_.Reset(z);
      hidingFit_.Add(before_);
      const double gain = hidingFit_.Explains(trial_);
      if (gain > best) best = gain, attack = t;
    }
  return attack;
}

// A sound struck within kApart of a string that hides the partial may be
// that string's own: its partials need not start quite as its reference.
bool ShadowedString::Apart(const Shared &s, double attack) const {
  for (int j : s.strings)
    if (std::abs(attack - referenceAttack_[j]) < kApart) return false;
  return true;
}

// A heard string's envelope is read at its loudest partial among the first
// kPartials that no other string's partial comes near, or else LoudestApart.
bool ShadowedString::Reference(int j, const std::vector<const StringFit *> &heard, const HarmonicString &guess,
                               const PartialMask &unheard) {
  if (referenceN_[j] != 0) return referenceN_[j] > 0;
  PartialMask others = unheard;
  others.Add(guess);
  for (size_t o = 0; o < heard.size(); ++o)
    if (static_cast<int>(o) != j) others.Add(heard[o]->model);
  double loudest = 0;
  referenceN_[j] = -1;
  for (int k = 1; k <= kPartials; ++k) {
    const double f = heard[j]->model.Partial(k);
    if (f > kHighest || others.Covers(f, kReach) || heard[j]->amplitude[k] <= loudest) continue;
    loudest = heard[j]->amplitude[k];
    referenceN_[j] = k;
  }
  if (referenceN_[j] > 0) references_[j].Compute(samples_, count_, heard[j]->model.Partial(referenceN_[j]));
  else referenceN_[j] = LoudestApart(heard[j]->model, others, &references_[j]);
  if (referenceN_[j] > 0) referenceAttack_[j] = AttackOf(references_[j]);
  return referenceN_[j] > 0;
}

// When none of a string's first partials was read apart (a low string
// through a small microphone, its fundamental gone): the one of its first
// kReferencePartials that lies apart and sounds loudest after the attacks,
// its track left in *track; −1 when none lies apart.
int ShadowedString::LoudestApart(const HarmonicString &model, const PartialMask &others, PartialTrack *track) {
  int loudestN = -1;
  double loudest = 0;
  for (int k = 1; k <= kReferencePartials; ++k) {
    const double f = model.Partial(k);
    if (f > kHighest || others.Covers(f, kReach)) continue;
    candidate_.Compute(samples_, count_, f);
    double energy = 0;
    for (int m = 0; m < candidate_.Frames(); ++m)
      if (PartialTrack::Middle(m) >= stretch_) energy += std::norm(candidate_[m]);
    if (energy > loudest) loudest = energy, loudestN = k, std::swap(candidate_, *track);
  }
  return loudestN;
}

// The track of partial n and the envelopes of the heard strings' partials
// near it (AddEnvelope). False when a string that hides the partial has no
// reference, or an unheard string lies there too.
bool ShadowedString::Prepare(Shared *shared, int n, const HarmonicString &guess,
                             const std::vector<const StringFit *> &heard, const PartialMask &unheard) {
  const double f = guess.Partial(n);
  if (f > kHighest || unheard.Covers(f, kReach)) return false;
  shared->n = n;
  shared->hiding.clear();
  shared->strings.clear();
  shared->track.Compute(samples_, count_, f);
  for (size_t j = 0; j < heard.size(); ++j) {
    PartialMask one;
    one.Add(heard[j]->model);
    for (const PartialMask::Hit &hit : one.HitsNear(f, kReach)) {
      if (!Reference(static_cast<int>(j), heard, guess, unheard)) return false;
      AddEnvelope(static_cast<int>(j), hit.hertz, shared);
    }
  }
  return shared->track.Frames() > 0;
}

// Envelopes of heard string j's partial at `hertz` in shared's track: its
// sound now as its reference partial shows it, turning at the partial's
// offset from the track's frequency; the same times time (the partial may
// decay at a rate of its own, and lie a little off the model); and what the
// string rang before its attack (an earlier strum's sound, with a balance
// of partials of its own).
void ShadowedString::AddEnvelope(int j, double hertz, Shared *shared) const {
  const PartialTrack &reference = references_[j];
  shared->strings.push_back(j);
  const int frames = reference.Frames();
  const double middle = PartialTrack::Middle(frames / 2);
  std::vector<std::complex<double>> now(frames), slope(frames), before(frames);
  for (int m = 0; m < frames; ++m) {
    const double turn = 2 * std::numbers::pi * (hertz - shared->track.Hertz()) * PartialTrack::Middle(m) / kSampleRate;
    const std::complex<double> e = std::polar(std::abs(reference[m]), turn);
    const double after = PartialTrack::After(m, referenceAttack_[j]);
    const double tau = (PartialTrack::Middle(m) - middle) / middle;
    now[m] = e * after;
    slope[m] = e * tau;
    before[m] = e * (1 - after);
  }
  shared->hiding.push_back(std::move(now));
  shared->hiding.push_back(std::move(slope));
  shared->hiding.push_back(std::move(before));
}

// On the grid of attack steps, frame m holds one of a few shares of a sound
// struck at step k: PartialTrack::After(m, k·kAttackStep).
constexpr int kStepsPerHop = PartialTrack::kHop / static_cast<int>(kAttackStep);
constexpr int kStepsPerFrame = PartialTrack::kFrame / static_cast<int>(kAttackStep);
const std::array<double, kStepsPerFrame + 1> kShares = [] {
  std::array<double, kStepsPerFrame + 1> shares;
  for (int j = 0; j <= kStepsPerFrame; ++j) shares[j] = PartialTrack::After(0, j * kAttackStep);
  return shares;
}();

// The time, within the attacks, at which a sound struck explains the most
// of what the hiding strings leave at all the partials together; and each
// partial's own such time.
double ShadowedString::FindAttack(int used) {
  double best = 0, attack = 0;
  std::vector<double> gains(static_cast<size_t>(stretch_ / kAttackStep) + 1, 0.0);
  for (int i = 0; i < used; ++i) {
    const Shared &s = shared_[i];
    hidingFit_.Reset({&s.track[0], static_cast<size_t>(s.track.Frames())});
    for (const auto &e : s.hiding) hidingFit_.Add(e);
    const int frames = s.track.Frames();
    trial_.resize(frames);
    turns_.resize(frames);
    for (int m = 0; m < frames; ++m) turns_[m] = Turn(s, PartialTrack::Middle(m));
    shared_[i].own = -kSampleRate;
    double most = 0;
    for (size_t k = 0; k < gains.size(); ++k) {
      const double t = k * kAttackStep;
      if (t < onset_ - kEarly || !Apart(s, t)) continue;
      for (int m = 0; m < frames; ++m)
        trial_[m] = kShares[std::clamp(static_cast<int>(k) - kStepsPerHop * m, 0, kStepsPerFrame)] * turns_[m];
      const double gain = hidingFit_.Explains(trial_);
      gains[k] += gain;
      if (gain > most) most = gain, shared_[i].own = t;
    }
  }
  for (size_t k = 0; k < gains.size(); ++k)
    if (gains[k] > best) best = gains[k], attack = k * kAttackStep;
  return attack;
}

// The turn of a sound at the frequency read at shared's partial.
std::complex<double> ShadowedString::Turn(const Shared &s, double middle) {
  return std::polar(1.0, 2 * std::numbers::pi * s.offset * middle / kSampleRate);
}

// The sound struck at `attack` at one partial, read from the frames before
// the attack and after its first kSettle: the decay and frequency that
// explain the most beside the hiding envelopes. `near`: from the frames
// about the attack only, where the hiding strings' envelopes, taken from
// other partials, still fit theirs (their own beating and decay part them
// further on, and leave there more than an attack adds).
ShadowedString::Reading ShadowedString::ReadAfter(const Shared &s, double attack, double settle, bool near) {
  kept_.clear();
  keptFrames_.clear();
  keptTimes_.clear();
  keptShare_.clear();
  keptHiding_.resize(s.hiding.size());
  for (auto &e : keptHiding_) e.clear();
  for (int m = 0; m < s.track.Frames(); ++m) {
    const double from = m * PartialTrack::kHop, to = from + PartialTrack::kFrame;
    if (settle > 0 && to > attack && from < attack + settle) continue;
    if (near && (to < attack - kNearBefore || from > attack + kNearAfter)) continue;
    kept_.push_back(s.track[m]);
    keptTimes_.push_back(std::max(0.0, PartialTrack::Middle(m) - attack) / kSampleRate);
    keptFrames_.push_back(m);
    keptShare_.push_back(PartialTrack::After(m, attack));
    for (size_t j = 0; j < s.hiding.size(); ++j) keptHiding_[j].push_back(s.hiding[j][m]);
  }
  Reading r;
  hidingFit_.Reset(kept_);
  for (const auto &e : keptHiding_) hidingFit_.Add(e);
  r.energy = hidingFit_.Energy();
  const double left = hidingFit_.Residual();
  if (!(r.energy > 0)) return r;
  trial_.resize(kept_.size());
  double bestDelta = 0;
  auto tryDelta = [&](double decay, double delta) {
    // e^(a·t) frame by frame: one exponential, then a factor per hop.
    const std::complex<double> a(-decay, 2 * std::numbers::pi * delta);
    const std::complex<double> hop = std::exp(a * (PartialTrack::kHop / kSampleRate));
    std::complex<double> value = 1;
    int last = -1;
    for (size_t k = 0; k < kept_.size(); ++k) {
      if (keptTimes_[k] > 0 && last < 0) value = std::exp(a * keptTimes_[k]);
      else if (keptTimes_[k] > 0) for (int m = last; m < keptFrames_[k]; ++m) value *= hop;
      if (keptTimes_[k] > 0) last = keptFrames_[k];
      trial_[k] = keptShare_[k] * value;
    }
    std::complex<double> c;
    const double gain = hidingFit_.Explains(trial_, &c);
    if (gain > r.gain) r.gain = gain, r.amplitude = c, bestDelta = delta;
    return gain;
  };
  // Sought within a hertz and 5 cents of the track: on a grid, then halving.
  const double reach = 1.0 + 0.003 * s.track.Hertz();
  constexpr int kTrials = 12;
  for (double decay : kDecays) {
    double centre = 0, most = -1;
    for (int k = -kTrials; k <= kTrials; ++k) {
      const double g = tryDelta(decay, k * reach / kTrials);
      if (g > most) most = g, centre = k * reach / kTrials;
    }
    for (double step = 0.5 * reach / kTrials; step > 1e-4; step *= 0.5) {
      double next = centre;
      for (double d : {centre - step, centre + step}) {
        const double g = tryDelta(decay, d);
        if (g > most) most = g, next = d;
      }
      centre = next;
    }
  }
  r.hertz = s.track.Hertz() + bestDelta;
  r.left = (left - r.gain) / r.energy;
  r.gain /= r.energy;
  return r;
}

bool ShadowedString::Hear(const HarmonicString &guess, const std::vector<const StringFit *> &heard,
                          const PartialMask &unheard, StringFit *fit) {
  // Without the attacks nothing tells a hidden string.
  if (stretch_ <= onset_) return false;
  references_.resize(heard.size());
  referenceN_.assign(heard.size(), 0);
  referenceAttack_.assign(heard.size(), 0);
  shared_.resize(kPartials);
  int used = 0;
  for (int n = 1; n <= kPartials; ++n)
    if (Prepare(&shared_[used], n, guess, heard, unheard)) ++used;
  if (used == 0) return false;
  for (int i = 0; i < used; ++i) shared_[i].offset = 0;
  double attack = FindAttack(used);
  // Found again with each partial turning at the frequency read after it:
  // the guess may lie a few hertz off a higher partial.
  for (int i = 0; i < used; ++i) shared_[i].offset = ReadAfter(shared_[i], attack, 0).hertz - shared_[i].track.Hertz();
  attack = FindAttack(used);
  // A partial shows the string when a sound struck apart from the hiding
  // strings' attacks explains nearly all they leave, and that partial alone
  // would place the attack there too (a hiding string's partial that swells
  // on its own does so at a time of its own); its frequency is read once
  // the attack has settled.
  *fit = {guess, {}, {}, 0};
  int lowest = 0;
  for (int i = 0; i < used; ++i) {
    const Shared &s = shared_[i];
    const Reading near = ReadAfter(s, attack, 0, true);
    if (!Apart(s, attack) || std::abs(s.own - attack) > kAgree) continue;
    if (near.gain < kLeastGain || near.gain < (kRatio - 1) * near.left) continue;
    const Reading r = ReadAfter(s, attack, kSettle);
    lowest += s.n <= kLowest;
    fit->partials.push_back({s.n, r.hertz, std::min(kFrameWeight * r.gain / std::max(r.left, 1e-12), kWeightCap)});
    fit->amplitude[s.n] = std::abs(r.amplitude);
    fit->energy += std::norm(r.amplitude);
  }
  if (lowest < 2) return false;
  return Agree(guess.b, fit);
}

// The partials read must be one string's: those that lie off the fit of
// the rest further than kDisagree are another sound's, and at least two
// low ones must be left.
bool ShadowedString::Agree(double priorB, StringFit *fit) {
  for (;;) {
    if (!FitHarmonicString(fit->partials, priorB, &fit->model)) return false;
    auto worst = std::max_element(fit->partials.begin(), fit->partials.end(), [&](const auto &a, const auto &b) {
      return std::abs(a.hertz - fit->model.Partial(a.n)) / a.n < std::abs(b.hertz - fit->model.Partial(b.n)) / b.n;
    });
    const double off = std::abs(worst->hertz - fit->model.Partial(worst->n));
    if (off <= kDisagree * worst->hertz) break;
    fit->amplitude[worst->n] = 0;
    fit->partials.erase(worst);
  }
  const int low = static_cast<int>(std::count_if(fit->partials.begin(), fit->partials.end(),
                                                 [](const PartialMeasure &p) { return p.n <= kLowest; }));
  fit->energy = 0;
  for (const PartialMeasure &p : fit->partials) fit->energy += fit->amplitude[p.n] * fit->amplitude[p.n];
  return low >= 2;
}

}  // namespace Strum
