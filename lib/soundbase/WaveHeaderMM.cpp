#include "WaveHeaderMM.h"

#include <new>

namespace {

// The buffer follows the object, aligned for any sample type.
constexpr size_t BufferOffset() {
  return (sizeof(WaveHeaderMM) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) *
         alignof(std::max_align_t);
}

}  // namespace

void *WaveHeaderMM::operator new(size_t size, uint32_t extra) {
  static_assert(alignof(WaveHeaderMM) <= alignof(std::max_align_t));
  (void)size;
  return ::operator new(BufferOffset() + extra);
}

void WaveHeaderMM::operator delete(void *p) { ::operator delete(p); }
void WaveHeaderMM::operator delete(void *p, uint32_t) { ::operator delete(p); }

RCPtr<WaveHeaderMM> WaveHeaderMM::Create(int64_t start, int64_t duration, uint32_t size) {
  return RCPtr<WaveHeaderMM>(new (size) WaveHeaderMM(start, duration, size));
}

RCPtr<WaveHeaderMM> WaveHeaderMM::Next(WaveSource &position, double bufferMs) {
  const TWaveFormatEx &format = position.format;
  const uint32_t size = format.TimeToBytes(static_cast<int64_t>(bufferMs * 10000));
  const int64_t samples = format.SampleSizeToSampleCount(size);
  const int64_t duration = format.SamplesToTime(samples);
  const int64_t start = position.Advance(samples);
  return Create(start, duration, size);
}

WaveHeaderMM::WaveHeaderMM(int64_t start, int64_t duration, uint32_t size)
    : header_(), start_(start), duration_(duration) {
  header_.lpData = reinterpret_cast<LPSTR>(this) + BufferOffset();
  header_.dwBufferLength = size;
}

void WaveHeaderMM::GetInfo(int64_t *start, int64_t *duration, const uint8_t **data, uint32_t *bytes) {
  if (start) *start = start_;
  if (duration) *duration = duration_;
  if (data) *data = reinterpret_cast<const uint8_t *>(header_.lpData);
  if (bytes) *bytes = header_.dwBufferLength;
}
