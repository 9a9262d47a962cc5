#include "wave/SampleRing.h"

#include <algorithm>
#include <type_traits>

#include "wave/SampleFloat.h"

namespace platform::wave {

namespace {

template <class Sample>
float AsFloat(Sample s) {
  if constexpr (std::is_same_v<Sample, float>)
    return s;
  else
    return FloatOf(s);
}

template <class Sample>
Sample As(float s) {
  if constexpr (std::is_same_v<Sample, float>)
    return s;
  else
    return SampleOf(s);
}

}  // namespace

SampleRing::SampleRing(size_t capacity) : data_(capacity) {}

// The acquire loads pair with the other side's release stores: the samples
// a count announces are in place before it is seen, and a slot is reused
// only after its sample was copied out.
template <class Sample>
size_t SampleRing::Put(const Sample *samples, size_t count) {
  const size_t w = written_.load(std::memory_order_relaxed);
  const size_t r = read_.load(std::memory_order_acquire);
  const size_t n = std::min(count, data_.size() - (w - r));
  const size_t at = w % data_.size();
  const size_t first = std::min(n, data_.size() - at);
  std::transform(samples, samples + first, data_.data() + at, AsFloat<Sample>);
  std::transform(samples + first, samples + n, data_.data(), AsFloat<Sample>);
  written_.store(w + n, std::memory_order_release);
  return n;
}

template <class Sample>
size_t SampleRing::Take(Sample *samples, size_t count) {
  const size_t r = read_.load(std::memory_order_relaxed);
  const size_t w = written_.load(std::memory_order_acquire);
  const size_t n = std::min(count, w - r);
  const size_t at = r % data_.size();
  const size_t first = std::min(n, data_.size() - at);
  std::transform(data_.data() + at, data_.data() + at + first, samples, As<Sample>);
  std::transform(data_.data(), data_.data() + n - first, samples + first, As<Sample>);
  read_.store(r + n, std::memory_order_release);
  return n;
}

size_t SampleRing::Write(const float *samples, size_t count) { return Put(samples, count); }
size_t SampleRing::Write(const int16_t *samples, size_t count) { return Put(samples, count); }
size_t SampleRing::Read(float *samples, size_t count) { return Take(samples, count); }
size_t SampleRing::Read(int16_t *samples, size_t count) { return Take(samples, count); }

size_t SampleRing::Readable() const {
  return written_.load(std::memory_order_acquire) - read_.load(std::memory_order_relaxed);
}

void SampleRing::Clear() { read_.store(written_.load()); }

void SampleRing::Resize(size_t capacity) {
  Clear();
  if (capacity != data_.size()) data_.assign(capacity, 0);
}

}  // namespace platform::wave
