#include "wave/CaptureStream.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/SoundFormat.h"

namespace platform::wave {

void CaptureStream::Skip(size_t count) {
  std::vector<int16_t> scratch(std::min<size_t>(count, 4096));
  while (count > 0) {
    const size_t n = std::min(count, scratch.size());
    Read(scratch.data(), n);
    count -= n;
  }
}

void SilenceStream::Read(int16_t *out, size_t count) { std::fill(out, out + count, int16_t(0)); }

void ToneStream::Read(int16_t *out, size_t count) {
  const double scale = std::clamp(amplitude_, 0.0, 1.0) * 32767.0;
  for (size_t i = 0; i < count; ++i, ++index_) {
    // The index is reduced to one period first, so the phase stays exact over hours.
    const double cycles = std::fmod(static_cast<double>(index_) * hz_ / drovane::kSampleRate, 1.0);
    out[i] = static_cast<int16_t>(std::lround(scale * std::sin(2.0 * M_PI * cycles)));
  }
}

}  // namespace platform::wave
