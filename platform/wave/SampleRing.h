#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::wave {

// A lock-free ring of samples (floats, full scale ±1) between exactly one
// producer thread and one consumer thread: how live sound crosses between a
// sound server's audio thread (SDL's, JACK's) and the program thread, in
// either direction, at the device's rate. Write and Read take no lock, do not
// allocate and never wait: a full ring takes fewer samples than offered, an
// empty one gives fewer than asked, and the caller counts the shortfall.
// Samples come out in the order they went in, none twice. 16-bit samples go
// in and come out as they are (each is a float exactly).
//
// The ring is created, resized and destroyed while neither side runs.
class SampleRing {
 public:
  explicit SampleRing(size_t capacity);

  // Producer: copies up to `count` samples in; returns how many fitted.
  size_t Write(const float *samples, size_t count);
  size_t Write(const int16_t *samples, size_t count);
  // Consumer: copies up to `count` samples out, oldest first; returns how
  // many. 16-bit ones are rounded and clipped.
  size_t Read(float *samples, size_t count);
  size_t Read(int16_t *samples, size_t count);
  // How many are waiting to be read, for either side: the other side may
  // have moved on since (the producer written more, the consumer read more).
  size_t Readable() const;
  // Empties it; only while neither side runs (a paused audio device).
  void Clear();
  // Empties it and makes room for `capacity` samples; only while neither side runs.
  void Resize(size_t capacity);

 private:
  template <bool kIn, class Sample>
  size_t Move(Sample *samples, size_t count);

  std::vector<float> data_;
  // Totals ever written and read: equal when empty, a capacity apart when
  // full. Each is stored by one side only, on its own cache line.
  alignas(64) std::atomic<size_t> written_{0};
  alignas(64) std::atomic<size_t> read_{0};
  static_assert(std::atomic<size_t>::is_always_lock_free);
};

}  // namespace platform::wave
