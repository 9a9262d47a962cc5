#pragma once

#include <cstdint>
#include <deque>

#include "IFifoRead.h"
#include "IMediaSample.h"
#include "general/RCPtr.h"

// Turns media samples of any size into a byte stream read in blocks of any
// size. Samples are queued by reference and their bytes copied only when read;
// a sample is dropped as soon as it is read to its end. Single-threaded.
class Fifo2 : public IFifoRead {
 public:
  // Queues the sample at the back.
  void Append(AV::IMediaSample *sample);

  void ReadNextBytes(void *destination, uint32_t count) override;
  int32_t GetAvailable() override { return available_; }

  // Drops every queued sample.
  void Clear();

  uint32_t HeadOffset() const { return headOffset_; }
  size_t QueuedSamples() const { return queue_.size(); }

 private:
  uint32_t headOffset_ = 0;
  int32_t available_ = 0;
  std::deque<RCPtr<AV::IMediaSample>> queue_;
};
