#pragma once

#include <cstdint>

#include "general/CRefCounter.h"

// Read side of a byte FIFO.
class IFifoRead : public virtual CRefCounter {
 public:
  // Copies the next `count` bytes to `destination`; asking for more than is
  // available copies nothing and records a failed check.
  virtual void ReadNextBytes(void *destination, uint32_t count) = 0;
  virtual int32_t GetAvailable() = 0;
};
