#include "wave/ConvertedInput.h"

#include <cmath>
#include <cstring>

#include "base/SoundFormat.h"
#include "wave/SampleFloat.h"

namespace platform::wave {

bool ConvertedInput::Begin(int rate, std::string *error) {
  converter_.reset();
  inAt_ = inEnd_ = madeAt_ = madeEnd_ = 0;
  in_.resize(kFloatChunk);
  if (rate == drovane::kSampleRate) {
    made_.resize(kFloatChunk);
    return true;
  }
  converter_ = RateConverter::Create(rate, drovane::kSampleRate, error);
  if (!converter_) return false;
  made_.resize(static_cast<size_t>(std::ceil(kFloatChunk * double(drovane::kSampleRate) / rate)) + 256);
  return true;
}

size_t ConvertedInput::Read(SampleRing &ring, void *out, size_t count) {
  char *to = static_cast<char *>(out);
  size_t done = 0;
  while (done < count) {
    if (madeAt_ == madeEnd_ && !Make(ring)) break;
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
bool ConvertedInput::Make(SampleRing &ring) {
  madeAt_ = madeEnd_ = 0;
  if (!converter_) {
    madeEnd_ = ring.Read(made_.data(), made_.size());
    return madeEnd_ > 0;
  }
  if (inAt_ == inEnd_) {
    inAt_ = 0;
    inEnd_ = ring.Read(in_.data(), in_.size());
    if (inEnd_ == 0) return false;
  }
  size_t used = 0, made = 0;
  std::string error;
  if (!converter_->Process(in_.data() + inAt_, inEnd_ - inAt_, &used, made_.data(), made_.size(), &made, &error)) {
    inAt_ = inEnd_;  // a chunk soxr refused is lost, never a stall
    return true;
  }
  inAt_ += used;
  madeEnd_ = made;
  return used > 0 || made > 0;
}

}  // namespace platform::wave
