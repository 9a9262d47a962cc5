#pragma once

#include <cstdint>

#include "general/CRefCounter.h"

namespace AV {

// A block of bytes. Shared through RCPtr; never changed once handed on.
class IDataSample : public virtual CRefCounter {
 public:
  virtual void GetData(const uint8_t **data, uint32_t *bytes) = 0;
};

// A block of bytes with its place in time (100 ns units). Every out-argument
// of GetInfo may be null and is then skipped.
class IMediaSample : public IDataSample {
 public:
  void GetData(const uint8_t **data, uint32_t *bytes) final { GetInfo(nullptr, nullptr, data, bytes); }
  virtual void GetInfo(int64_t *start, int64_t *duration, const uint8_t **data, uint32_t *bytes) = 0;
  virtual uint8_t GetFlags() = 0;
};

}  // namespace AV
