#include "RCVectorMediaSample.h"

void RCVectorMediaSample::GetInfo(int64_t *start, int64_t *duration, const uint8_t **data, uint32_t *bytes) {
  if (start) *start = start_;
  if (duration) *duration = duration_;
  if (!data && !bytes) return;
  rcvector<short> *v = samples_.CheckedGet();
  if (data) *data = v ? reinterpret_cast<const uint8_t *>(v->data()) : nullptr;
  if (bytes) *bytes = v ? static_cast<uint32_t>(sizeof(short) * v->size()) : 0;
}
