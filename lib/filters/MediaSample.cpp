#include "MediaSample.h"

namespace AV {

MediaSample::MediaSample(int64_t start, int64_t duration, uint32_t length, uint8_t **data)
    : start_(start), duration_(duration), length_(length), data_(length) {
  if (data) *data = data_.data();
}

void MediaSample::GetInfo(int64_t *start, int64_t *duration, const uint8_t **data, uint32_t *bytes) {
  if (start) *start = start_;
  if (duration) *duration = duration_;
  if (data) *data = data_.data();
  if (bytes) *bytes = length_;
}

}  // namespace AV
