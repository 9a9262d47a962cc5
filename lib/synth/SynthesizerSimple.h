#pragma once

#include <cstdint>

#include "general/CRefCounter.h"

// Renders the reference tone: a plucked note of `frequency` Hz as 16-bit mono
// samples, block by block, for as long as the 3 s envelope lasts (silence
// after). Oscillator phase and envelope position carry over from block to
// block, so consecutive blocks join without clicks.
//
// The owner sets the fields directly; all are zero after construction.
// Counted (virtual CRefCounter) for sharing through RCPtr, and equally usable
// as a plain member that is never counted. Single-threaded; no timing of its
// own. The arithmetic is fixed to the last bit: each float operation is
// rounded on its own, so the library is built without FMA contraction.
class SynthesizerSimple : public virtual CRefCounter {
 public:
  // Writes exactly `count` samples to `out` (which must hold them), advancing
  // `phase` and `envelopePos`. With `level` outside [0, 1] records the check
  // "SynthesizerSimple::Render16m" and writes nothing, changing no field.
  // `level` is only validated; it does not scale the samples.
  void Render16m(short *out, int count);

  float sampleRate = 0.0f;   // output samples per second
  float frequency = 0.0f;    // tone frequency in Hz
  float level = 0.0f;        // must lie in [0, 1]
  std::uint8_t active = 0;   // 1 while the owner wants a tone
  std::uint8_t square = 0;   // 1 square waveform, 0 sine
  float phase = 0.0f;        // oscillator phase in radians
  std::int32_t lastSample = 0;
  float envelopePos = 0.0f;  // fractional index into the envelope table
};
