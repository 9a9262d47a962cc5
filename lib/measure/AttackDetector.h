#pragma once

#include <array>
#include <cstdint>

namespace Measure {

// Finds a string's attack in a stream of hops: a short stretch (a chunk of
// kChunk samples) kRise times as strong as the strongest chunk of the two
// hops before it (a period of A0 and more: a low string's chunks rise and
// fall with its wave), and loud enough to be a note. A pluck's energy arrives within a few
// milliseconds, so the chunk places the attack to within a chunk; after one
// attack the next kQuiet hops find none (the attack's own rise).
class AttackDetector {
 public:
  static constexpr int kChunk = 63;
  static constexpr int kChunks = 7;  // the hop: 441 samples, 20 ms
  static constexpr int kHop = kChunk * kChunks;
  static constexpr double kRise = 4.0;
  static constexpr double kLeast = 200.0 * 200.0;  // mean square of a chunk: a level of 200
  static constexpr int kQuiet = 4;

  // One hop of kHop samples; true when an attack begins in it.
  bool Hop(const int16_t *x);
  // Samples from the last attack's chunk to the end of its hop.
  int SinceAttack() const { return since_; }
  void Reset();

 private:
  static constexpr int kBefore = 2 * kChunks;
  std::array<double, kBefore> before_{};  // the last two hops' chunks, mean squares
  int quiet_ = 0;
  int since_ = 0;
};

}  // namespace Measure
