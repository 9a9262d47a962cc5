#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "wave/CaptureStream.h"
#include "wave/Recording.h"

namespace platform::wave {

// What a recording turned out to hold, filled in as it is played.
struct RecordingStatus {
  bool opened = false;  // a device opened it (a failed open ends it at once, with its error)
  bool ended = false;   // read to its end (or failed)
  uint64_t length = 0;  // samples of the recording, once ended
  std::string error;    // why reading failed; empty if it did not
  uint64_t nonFinite = 0;  // samples that were not numbers, heard as silence
};

// A recording (sound file or demo) played into the microphone: its samples,
// then silence for ever. A buffer that holds the end is completed with silence.
class RecordingStream : public CaptureStream {
 public:
  RecordingStream(std::unique_ptr<Recording> recording, std::shared_ptr<RecordingStatus> status);

  void Read(int16_t *out, size_t count) override;

 private:
  std::unique_ptr<Recording> recording_;
  std::shared_ptr<RecordingStatus> status_;
  uint64_t read_ = 0;
};

}  // namespace platform::wave
