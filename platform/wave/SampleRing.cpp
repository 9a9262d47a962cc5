#include "wave/SampleRing.h"

#include <algorithm>
#include <type_traits>

#include "wave/SampleFloat.h"

namespace platform::wave {

SampleRing::SampleRing(size_t capacity) : data_(capacity) {}

// Either side's copy: the producer's into the ring, the consumer's out of
// it. The acquire load pairs with the other side's release store: the
// samples a count announces are in place before it is seen, and a slot is
// reused only after its sample was copied out.
template <bool kIn, class Sample>
size_t SampleRing::Move(Sample *samples, size_t count) {
  std::atomic<size_t> &mine = kIn ? written_ : read_;
  const size_t own = mine.load(std::memory_order_relaxed);
  const size_t other = (kIn ? read_ : written_).load(std::memory_order_acquire);
  const size_t n = std::min(count, kIn ? data_.size() - (own - other) : other - own);
  const size_t at = own % data_.size();
  const size_t first = std::min(n, data_.size() - at);
  // `k` samples between ring slot `slot` on and samples[from] on, as floats
  // in the ring and as the caller's samples out of it.
  using Outside = std::remove_const_t<Sample>;
  auto copy = [&](size_t slot, size_t from, size_t k) {
    if constexpr (kIn && std::is_same_v<Outside, float>)
      std::copy_n(samples + from, k, data_.data() + slot);
    else if constexpr (kIn)
      std::transform(samples + from, samples + from + k, data_.data() + slot, FloatOf);
    else if constexpr (std::is_same_v<Outside, float>)
      std::copy_n(data_.data() + slot, k, samples + from);
    else
      std::transform(data_.data() + slot, data_.data() + slot + k, samples + from, SampleOf);
  };
  copy(at, 0, first);
  copy(0, first, n - first);  // what wraps round
  mine.store(own + n, std::memory_order_release);
  return n;
}

size_t SampleRing::Write(const float *samples, size_t count) { return Move<true>(samples, count); }
size_t SampleRing::Write(const int16_t *samples, size_t count) { return Move<true>(samples, count); }
size_t SampleRing::Read(float *samples, size_t count) { return Move<false>(samples, count); }
size_t SampleRing::Read(int16_t *samples, size_t count) { return Move<false>(samples, count); }

size_t SampleRing::Readable() const {
  const size_t read = read_.load(std::memory_order_acquire);
  return written_.load(std::memory_order_acquire) - read;
}

void SampleRing::Clear() { read_.store(written_.load()); }

void SampleRing::Resize(size_t capacity) {
  Clear();
  if (capacity != data_.size()) data_.assign(capacity, 0);
}

}  // namespace platform::wave
