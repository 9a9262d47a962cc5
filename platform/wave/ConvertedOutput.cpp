#include "wave/ConvertedOutput.h"

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
  outAt_ = outEnd_ = 0;
  converter_.reset();
  if (rate == drovane::kSampleRate) return true;
  converter_ = RateConverter::Create(drovane::kSampleRate, rate, error);
  if (!converter_) return false;
  in_.resize(kFloatChunk);
  made_.resize(static_cast<size_t>(std::ceil(kFloatChunk * double(rate) / drovane::kSampleRate)) + 256);
  out_.resize(made_.size());
  return true;
}

size_t ConvertedOutput::Write(SampleRing &ring, const void *in, size_t count) {
  if (!converter_) {
    const size_t n = ring.Write(in, count);
    real_ = taken_ += n;
    return n;
  }
  const char *from = static_cast<const char *>(in);
  size_t took = 0;
  while (took < count && Flush(ring)) {
    const size_t used = Convert(from + drovane::kBytesPerSample * took, std::min(count - took, kFloatChunk));
    if (used == 0) break;
    took += used;
  }
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

// What the converter made and the ring had no room for goes first.
bool ConvertedOutput::Flush(SampleRing &ring) {
  if (outAt_ < outEnd_) outAt_ += ring.Write(out_.data() + outAt_, outEnd_ - outAt_);
  return outAt_ == outEnd_;
}

size_t ConvertedOutput::Convert(const void *in, size_t count) {
  const char *from = static_cast<const char *>(in);
  for (size_t i = 0; i < count; ++i) {
    int16_t sample;
    std::memcpy(&sample, from + drovane::kBytesPerSample * i, sizeof sample);
    in_[i] = FloatOf(sample);
  }
  size_t used = 0, made = 0;
  std::string error;
  if (!converter_->Process(in_.data(), count, &used, made_.data(), made_.size(), &made, &error)) {
    taken_ += count;  // a chunk soxr refused is lost, never a stall
    return count;
  }
  for (size_t j = 0; j < made; ++j) out_[j] = SampleOf(made_[j]);
  outAt_ = 0;
  outEnd_ = made;
  madeTotal_ += made;
  taken_ += used;
  return used;
}

}  // namespace platform::wave
