#include "RecordingEnd.h"

#include "base/SoundFormat.h"

void RecordingEnd::OnSample(AV::IMediaSample *sample) {
  uint32_t bytes = 0;
  sample->GetInfo(nullptr, nullptr, nullptr, &bytes);
  delivered_ += bytes / drovane::kBytesPerSample;
  if (recording_ && recording_->ended && delivered_ >= recording_->length) stop_();
}
