#include "WaveHeaderPlayMM.h"

WaveHeaderPlayMM::WaveHeaderPlayMM(RCPtr<AV::IMediaSample> sample) : header_(), sample_(std::move(sample)) {
  AV::IMediaSample *s = sample_.CheckedGet();
  if (!s) return;
  const uint8_t *data = nullptr;
  uint32_t bytes = 0;
  s->GetInfo(nullptr, nullptr, &data, &bytes);
  // The device only reads a playback buffer.
  header_.lpData = const_cast<LPSTR>(reinterpret_cast<const char *>(data));
  header_.dwBufferLength = bytes;
}
