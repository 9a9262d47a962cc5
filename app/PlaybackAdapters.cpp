#include "PlaybackAdapters.h"

#include <cstdint>

#include "filters/RCVectorMediaSample.h"

namespace {

// The queue is full from this much sound, in at least this many blocks.
constexpr double kFullSeconds = 0.4;
constexpr size_t kFullBlocks = 2;

}  // namespace

void WriteBlockToDevice(rcvector<short> *block, const RCPtr<WaveOutEvent> &device) {
  RCPtr<AV::IMediaSample> sample(new RCVectorMediaSample(block));
  device->WriteSample(sample);
}

bool IsPlaybackQueueFull(const RCPtr<WaveOutEvent> &device) {
  const TWaveFormatEx &format = device->Format();
  const double bytesPerSecond = static_cast<double>(format.nSamplesPerSec) * format.nBlockAlign;
  int64_t queued = 0;  // 100 ns units
  for (const RCPtr<WaveHeaderPlayMM> &buffer : device->Queue()) {
    const double bytes = buffer->Header()->dwBufferLength;
    queued += static_cast<int64_t>(bytes * 1e7 / bytesPerSecond + 0.5);
  }
  return static_cast<double>(queued) * 1e-7 >= kFullSeconds && device->Queue().size() >= kFullBlocks;
}

SynthOutputs BindPlaybackOutputs(const RCPtr<WaveOutEvent> &device) {
  SynthOutputs outputs;
  outputs.output.BindS(&WriteBlockToDevice, device);
  outputs.isFull.BindS(&IsPlaybackQueueFull, device);
  return outputs;
}
