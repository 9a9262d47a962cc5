#include "wave/SoundSink.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/SoundFormat.h"

namespace platform::wave {

WavFileSink::WavFileSink(const std::string &path, std::shared_ptr<WriteStatus> status)
    : path_(path), status_(status ? std::move(status) : std::make_shared<WriteStatus>()) {
  SF_INFO info{};
  info.samplerate = drovane::kSampleRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  file_ = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file_) error_ = "cannot write " + path + ": " + sf_strerror(nullptr);
}

// Closing writes the header's final sizes, so it can fail too. A device or a
// FIFO written to is not ours to remove.
WavFileSink::~WavFileSink() {
  if (!file_) return;
  if (const int code = sf_close(file_); code != 0) Fail(sf_error_number(code));
  struct stat st;
  if (failed_ && stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(path_.c_str());
}

void WavFileSink::Play(const int16_t *samples, size_t count) {
  if (!file_ || failed_) return;
  if (sf_write_short(file_, samples, static_cast<sf_count_t>(count)) != static_cast<sf_count_t>(count))
    Fail(sf_strerror(file_));
}

void WavFileSink::Fail(const std::string &reason) {
  if (!failed_) status_->error = "cannot write " + path_ + ": " + reason;
  failed_ = true;
}

}  // namespace platform::wave
