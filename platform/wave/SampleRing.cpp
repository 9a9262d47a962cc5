#include "wave/SampleRing.h"

#include <algorithm>
#include <cstring>

namespace platform::wave {

namespace {
constexpr size_t kBytes = sizeof(int16_t);  // of one sample in the ring
}  // namespace

SampleRing::SampleRing(size_t capacity) : data_(capacity) {}

// The acquire loads pair with the other side's release stores: the samples
// a count announces are in place before it is seen, and a slot is reused
// only after its sample was copied out.
size_t SampleRing::Write(const void *samples, size_t count) {
  const size_t w = written_.load(std::memory_order_relaxed);
  const size_t r = read_.load(std::memory_order_acquire);
  const size_t n = std::min(count, data_.size() - (w - r));
  const size_t at = w % data_.size();
  const size_t first = std::min(n, data_.size() - at);
  std::memcpy(data_.data() + at, samples, kBytes * first);
  std::memcpy(data_.data(), static_cast<const char *>(samples) + kBytes * first, kBytes * (n - first));
  written_.store(w + n, std::memory_order_release);
  return n;
}

size_t SampleRing::Read(void *samples, size_t count) {
  const size_t r = read_.load(std::memory_order_relaxed);
  const size_t w = written_.load(std::memory_order_acquire);
  const size_t n = std::min(count, w - r);
  const size_t at = r % data_.size();
  const size_t first = std::min(n, data_.size() - at);
  std::memcpy(samples, data_.data() + at, kBytes * first);
  std::memcpy(static_cast<char *>(samples) + kBytes * first, data_.data(), kBytes * (n - first));
  read_.store(r + n, std::memory_order_release);
  return n;
}

size_t SampleRing::Readable() const {
  return written_.load(std::memory_order_acquire) - read_.load(std::memory_order_relaxed);
}

void SampleRing::Clear() { read_.store(written_.load()); }

void SampleRing::Resize(size_t capacity) {
  Clear();
  if (capacity != data_.size()) data_.assign(capacity, 0);
}

}  // namespace platform::wave
