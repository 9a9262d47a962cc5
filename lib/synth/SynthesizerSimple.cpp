#include "SynthesizerSimple.h"

#include <cfloat>
#include <cmath>

#include "PluckEnvelope.h"
#include "general/CheckSites.h"

// The samples must come out bit for bit the same on every build: floats must
// be rounded to float after every operation and no math shortcuts taken.
static_assert(FLT_EVAL_METHOD == 0, "float expressions must be evaluated in float (use SSE)");
#ifdef __FAST_MATH__
#error "the tone's arithmetic must not be built with -ffast-math"
#endif

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr float kTwoPiFloat = 6.2831855f;  // the float nearest 2π, taken off at each wrap

// Linear interpolation in the table, truncated toward zero. Positions outside
// the table (negative or NaN from a careless owner, or past the end) are
// silent instead of reading beside it.
int EnvelopeAt(float t) {
  if (!(t >= 0.0f) || t >= static_cast<float>(kPluckEnvelopeSize - 1)) return 0;
  const int i = static_cast<int>(t);
  const float a = static_cast<float>(kPluckEnvelope[i]);
  const float b = static_cast<float>(kPluckEnvelope[i + 1]);
  return static_cast<int>((b - a) * (t - static_cast<float>(i)) + a);
}

// A phase gone non-finite (zero sample rate) gives silence, not an undefined
// conversion.
int SineSample(int e, float phase) {
  const double s = std::floor(e * std::sin(static_cast<double>(phase)) + 0.5);
  return std::isfinite(s) ? static_cast<int>(s) : 0;
}

}  // namespace

void SynthesizerSimple::Render16m(short *out, int count) {
  const float envelopeStep = static_cast<float>((261.0 / sampleRate) * (1.0 / 3.0));
  if (!Check(!(level < 0.0f || level > 1.0f), CheckSites::kLevelOutOfRange)) return;
  const float phaseStep = static_cast<float>(frequency * kTwoPi / sampleRate);

  // Work on locals: stores to `out` cannot then force the state back to memory.
  float pos = envelopePos;
  float ph = phase;
  int s = lastSample;
  for (int n = 0; n < count; ++n) {
    const int e = EnvelopeAt(pos);
    if (square)
      s = static_cast<double>(ph) >= kPi ? e : -e;
    else
      s = SineSample(e, ph);
    pos += envelopeStep;
    ph += phaseStep;
    if (static_cast<double>(ph) >= kTwoPi) ph -= kTwoPiFloat;
    out[n] = static_cast<short>(s);
  }
  envelopePos = pos;
  phase = ph;
  lastSample = s;
}
