#include "Fifo2.h"

#include <cstring>

#include "general/CheckSites.h"

void Fifo2::Append(AV::IMediaSample *sample) {
  uint32_t bytes = 0;
  sample->GetInfo(nullptr, nullptr, nullptr, &bytes);
  queue_.emplace_back(sample);
  available_ += static_cast<int32_t>(bytes);
}

void Fifo2::ReadNextBytes(void *destination, uint32_t count) {
  if (!Check(count <= static_cast<uint32_t>(available_), CheckSites::kFifoReadPastEnd)) return;
  uint8_t *out = static_cast<uint8_t *>(destination);
  while (count != 0) {
    const uint8_t *data = nullptr;
    uint32_t length = 0;
    queue_.front()->GetData(&data, &length);
    const uint32_t n = count < length - headOffset_ ? count : length - headOffset_;
    if (n != 0) std::memcpy(out, data + headOffset_, n);  // an empty sample may have no buffer
    out += n;
    count -= n;
    available_ -= static_cast<int32_t>(n);
    headOffset_ += n;
    if (headOffset_ == length) {
      headOffset_ = 0;
      queue_.pop_front();
    }
  }
}

void Fifo2::Clear() {
  headOffset_ = 0;
  available_ = 0;
  queue_.clear();
}
