#include "wave/ConvertedOutput.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "base/SoundFormat.h"
#include "wave/SampleFloat.h"

namespace platform::wave {

namespace {
constexpr uint64_t kRate = drovane::kSampleRate;
}  // namespace

bool ConvertedOutput::Begin(int rate, uint64_t from, std::string *error) {
  rate_ = rate;
  from_ = from;
  taken_ = real_ = madeTotal_ = 0;
  madeAt_ = madeEnd_ = 0;
  converter_.reset();
  in_.resize(kFloatChunk);
  made_.resize(kFloatChunk);
  if (rate == drovane::kSampleRate) return true;
  converter_ = RateConverter::Create(drovane::kSampleRate, rate, error);
  if (!converter_) return false;
  made_.resize(static_cast<size_t>(std::ceil(kFloatChunk * double(rate) / drovane::kSampleRate)) + 256);
  return true;
}

size_t ConvertedOutput::Write(SampleRing &ring, const void *in, size_t count) {
  const char *from = static_cast<const char *>(in);
  size_t took = 0;
  while (took < count && Flush(ring)) {
    const size_t used = Convert(from + drovane::kBytesPerSample * took, std::min(count - took, kFloatChunk));
    if (used == 0) break;
    took += used;
  }
  Flush(ring);
  real_ = taken_;
  return took;
}

size_t ConvertedOutput::Drain(SampleRing &ring) {
  if (!converter_) return 0;
  static const int16_t silence[64] = {};
  size_t padded = 0;
  while (madeTotal_ < RingPosition(from_ + real_) && Flush(ring)) {
    const size_t used = Convert(silence, std::size(silence));
    if (used == 0) break;
    padded += used;
  }
  Flush(ring);
  return padded;
}

uint64_t ConvertedOutput::RingPosition(uint64_t p) const {
  if (p <= from_) return 0;
  const auto rate = static_cast<uint64_t>(rate_);
  return ((p - from_) * rate + kRate - 1) / kRate;
}

uint64_t ConvertedOutput::StreamPosition(uint64_t ring) const {
  return from_ + ring * kRate / static_cast<uint64_t>(rate_);
}

// What was made and the ring had no room for goes first.
bool ConvertedOutput::Flush(SampleRing &ring) {
  if (madeAt_ < madeEnd_) madeAt_ += ring.Write(made_.data() + madeAt_, madeEnd_ - madeAt_);
  return madeAt_ == madeEnd_;
}

// Up to a chunk of `in` as floats into the converter, what it made into
// made_ (at 22050 Hz, the floats themselves); returns the samples it used.
size_t ConvertedOutput::Convert(const void *in, size_t count) {
  const char *from = static_cast<const char *>(in);
  for (size_t i = 0; i < count; ++i) {
    int16_t sample;
    std::memcpy(&sample, from + drovane::kBytesPerSample * i, sizeof sample);
    in_[i] = FloatOf(sample);
  }
  size_t used = count, made = count;
  std::string error;
  if (!converter_) {
    std::copy_n(in_.data(), count, made_.data());
  } else if (!converter_->Process(in_.data(), count, &used, made_.data(), made_.size(), &made, &error)) {
    taken_ += count;  // a chunk soxr refused is lost, never a stall
    return count;
  }
  madeAt_ = 0;
  madeEnd_ = made;
  madeTotal_ += made;
  taken_ += used;
  return used;
}

}  // namespace platform::wave
