#include "AttackDetector.h"

#include <algorithm>

namespace Measure {
namespace {

double MeanSquare(const int16_t *x, int count) {
  int64_t s = 0;
  for (int i = 0; i < count; ++i) s += int64_t{x[i]} * x[i];
  return static_cast<double>(s) / count;
}

}  // namespace

void AttackDetector::Reset() {
  before_.fill(0);
  quiet_ = 0;
  since_ = 0;
}

bool AttackDetector::Hop(const int16_t *x) {
  // The chunks before each: the last two hops', then this one's.
  std::array<double, kBefore + kChunks> e{};
  std::copy(before_.begin(), before_.end(), e.begin());
  for (int c = 0; c < kChunks; ++c) e[kBefore + c] = MeanSquare(x + c * kChunk, kChunk);
  int found = -1;
  if (quiet_ > 0) {
    --quiet_;
  } else {
    for (int c = 0; c < kChunks && found < 0; ++c) {
      const double earlier = *std::max_element(e.begin() + c, e.begin() + kBefore + c);
      const double now = e[kBefore + c];
      if (now >= kLeast && now > kRise * earlier) found = c;
    }
  }
  std::copy(e.begin() + kChunks, e.end(), before_.begin());
  if (found < 0) return false;
  quiet_ = kQuiet;
  since_ = (kChunks - found) * kChunk;
  return true;
}

}  // namespace Measure
