#include "wave/ConvertedInput.h"

#include <cmath>
#include <cstring>

#include "base/SoundFormat.h"
#include "wave/SampleFloat.h"

namespace platform::wave {

bool ConvertedInput::Begin(int rate, std::string *error) {
  converter_.reset();
  inAt_ = inEnd_ = madeAt_ = madeEnd_ = 0;
  if (rate == drovane::kSampleRate) return true;
  converter_ = RateConverter::Create(rate, drovane::kSampleRate, error);
  if (!converter_) return false;
  raw_.resize(kFloatChunk);
  in_.resize(kFloatChunk);
  made_.resize(static_cast<size_t>(std::ceil(kFloatChunk * double(drovane::kSampleRate) / rate)) + 256);
  return true;
}

size_t ConvertedInput::Read(SampleRing &ring, void *out, size_t count) {
  if (!converter_) return ring.Read(out, count);
  char *to = static_cast<char *>(out);
  size_t done = 0;
  while (done < count) {
    if (madeAt_ == madeEnd_ && !Convert(ring)) break;
    const size_t n = std::min(count - done, madeEnd_ - madeAt_);
    for (size_t i = 0; i < n; ++i) {
      const int16_t sample = SampleOf(made_[madeAt_ + i]);
      std::memcpy(to + drovane::kBytesPerSample * (done + i), &sample, sizeof sample);
    }
    madeAt_ += n;
    done += n;
  }
  return done;
}

// The converter may take a chunk in without giving anything out yet.
bool ConvertedInput::Convert(SampleRing &ring) {
  if (inAt_ == inEnd_) {
    const size_t n = ring.Read(raw_.data(), raw_.size());
    if (n == 0) return false;
    for (size_t i = 0; i < n; ++i) in_[i] = FloatOf(raw_[i]);
    inAt_ = 0;
    inEnd_ = n;
  }
  size_t used = 0, made = 0;
  std::string error;
  if (!converter_->Process(in_.data() + inAt_, inEnd_ - inAt_, &used, made_.data(), made_.size(), &made, &error)) {
    inAt_ = inEnd_;  // a chunk soxr refused is lost, never a stall
    return true;
  }
  inAt_ += used;
  madeAt_ = 0;
  madeEnd_ = made;
  return used > 0 || made > 0;
}

}  // namespace platform::wave
