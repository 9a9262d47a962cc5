#include "wave/RecordingStream.h"

#include <algorithm>

namespace platform::wave {

RecordingStream::RecordingStream(std::unique_ptr<Recording> recording, std::shared_ptr<RecordingStatus> status)
    : recording_(std::move(recording)), status_(status ? std::move(status) : std::make_shared<RecordingStatus>()) {
  status_->opened = true;
}

void RecordingStream::Read(int16_t *out, size_t count) {
  size_t done = 0;
  while (done < count && !status_->ended) {
    const size_t n = recording_->Read(out + done, count - done);
    done += n;
    read_ += n;
    if (n == 0) {
      status_->ended = true;
      status_->length = read_;
      status_->error = recording_->Error();
      status_->nonFinite = recording_->NonFiniteSamples();
    }
  }
  std::fill(out + done, out + count, int16_t(0));
}

}  // namespace platform::wave
