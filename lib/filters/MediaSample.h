#pragma once

#include <cstdint>
#include <vector>

#include "IMediaSample.h"

namespace AV {

// A sample that owns its bytes. The creator fills the buffer returned by the
// constructor, then hands the sample on through an RCPtr.
class MediaSample : public IMediaSample {
 public:
  MediaSample(int64_t start, int64_t duration, uint32_t length, uint8_t **data);

  void GetInfo(int64_t *start, int64_t *duration, const uint8_t **data, uint32_t *bytes) override;
  uint8_t GetFlags() override { return flags_; }

 private:
  uint8_t flags_ = 0;
  int64_t start_;
  int64_t duration_;
  uint32_t length_;
  std::vector<uint8_t> data_;
};

}  // namespace AV
