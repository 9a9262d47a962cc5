#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::wave {

// A lock-free ring of 16-bit samples between exactly one producer thread and
// one consumer thread: how live sound crosses between SDL's audio thread and
// the program thread, in either direction. Write and Read take no lock, do
// not allocate and never wait: a full ring takes fewer samples than offered,
// an empty one gives fewer than asked, and the caller counts the shortfall.
// Samples come out in the order they went in, none twice.
//
// Buffers are untyped so that a wave buffer's bytes (of any alignment) can
// be read or written directly. The ring is created, and destroyed, while
// neither side runs.
class SampleRing {
 public:
  explicit SampleRing(size_t capacity);

  // Producer: copies up to `count` samples in; returns how many fitted.
  size_t Write(const void *samples, size_t count);
  // Consumer: copies up to `count` samples out, oldest first; returns how many.
  size_t Read(void *samples, size_t count);
  // Consumer: how many are waiting to be read.
  size_t Readable() const;
  // Empties it; only while neither side runs (a paused audio device).
  void Clear();
  // Empties it and makes room for `capacity` samples; only while neither side runs.
  void Resize(size_t capacity);

 private:
  std::vector<int16_t> data_;
  // Totals ever written and read: equal when empty, a capacity apart when
  // full. Each is stored by one side only, on its own cache line.
  alignas(64) std::atomic<size_t> written_{0};
  alignas(64) std::atomic<size_t> read_{0};
  static_assert(std::atomic<size_t>::is_always_lock_free);
};

}  // namespace platform::wave
