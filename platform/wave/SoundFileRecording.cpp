#include "SoundFileRecording.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "base/SoundFormat.h"

namespace {

constexpr size_t kChunkFrames = 4096;

// floor(x + 0.5), clipped. Inside the range the floor is the truncation,
// less one where that rounded up (below zero); cheaper than std::floor.
int16_t ToSample(double normalised) {
  const double v = normalised * 32768.0 + 0.5;
  if (!(v < 32767.0)) return 32767;
  if (v < -32768.0) return -32768;
  const int truncated = static_cast<int>(v);
  return static_cast<int16_t>(truncated - (truncated > v));
}

// The sum of a frame's values with those that are not numbers taken as
// silence, counted in `nonFinite`.
double FiniteSum(const double *frame, int channels, uint64_t *nonFinite) {
  double sum = 0;
  for (int c = 0; c < channels; ++c) {
    if (std::isfinite(frame[c]))
      sum += frame[c];
    else
      ++*nonFinite;
  }
  return sum;
}

// The input's descriptor, opened once: a FIFO or a pipe cannot be read
// twice. Only a regular file can be told empty before reading it. -1, with
// the reason in the system's words, when it cannot be read at all.
int OpenInput(const std::string &path, std::string *error) {
  const int fd = path == "-" ? fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0) : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0) {
    *error = std::strerror(errno);
  } else if (S_ISDIR(st.st_mode)) {
    *error = "is a directory";
  } else if (S_ISREG(st.st_mode) && st.st_size == 0) {
    *error = "the file is empty";
  } else {
    return fd;
  }
  if (fd >= 0) close(fd);
  return -1;
}

// libsndfile on `fd`, which it closes even when it fails; null with the
// reason in `error`.
SNDFILE *OpenSoundFile(int fd, SF_INFO *info, std::string *error) {
  const bool pipe = lseek(fd, 0, SEEK_CUR) < 0;
  SNDFILE *file = sf_open_fd(fd, SFM_READ, info, SF_TRUE);
  if (file) return file;
  // libsndfile's words for a header with a zero rate or channel count.
  const std::string why = sf_strerror(nullptr);
  const bool invalid = why.find("SF_INFO struct incomplete") != std::string::npos;
  *error = "not a sound file libsndfile can read (" +
           (invalid ? "its header gives an invalid sample rate, channel count or length" : why) + ")";
  if (pipe) *error += "; some formats, FLAC among them, can be read from a file but not from a pipe";
  return nullptr;
}

// Why an opened file cannot be heard; empty if it can.
std::string Unusable(const SF_INFO &info) {
  const std::string rate = "sample rate " + std::to_string(info.samplerate) + " Hz is not supported";
  if (info.samplerate < SoundFileRecording::kMinRate)
    return rate + " (at least " + std::to_string(SoundFileRecording::kMinRate) + " Hz)";
  if (info.samplerate > SoundFileRecording::kMaxRate)
    return rate + " (at most " + std::to_string(SoundFileRecording::kMaxRate) + " Hz)";
  if (info.frames <= 0 || info.channels <= 0) return "the file holds no audio";
  return "";
}

}  // namespace

std::unique_ptr<SoundFileRecording> SoundFileRecording::Open(const std::string &path, std::string *error) {
  const int fd = OpenInput(path, error);
  if (fd < 0) return nullptr;
  SF_INFO info{};
  SNDFILE *file = OpenSoundFile(fd, &info, error);
  if (!file) return nullptr;
  *error = Unusable(info);
  if (!error->empty()) {
    sf_close(file);
    return nullptr;
  }
  const bool pcm16 = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16;
  const bool passThrough = pcm16 && info.channels == 1 && info.samplerate == drovane::kSampleRate;
  std::unique_ptr<SoundFileRecording> recording(new SoundFileRecording(file, info.samplerate, info.channels, passThrough));
  if (info.samplerate != drovane::kSampleRate) {
    recording->converter_ = RateConverter::Create(info.samplerate, drovane::kSampleRate, error);
    if (!recording->converter_) return nullptr;
  }
  return recording;
}

SoundFileRecording::SoundFileRecording(SNDFILE *file, int rate, int channels, bool passThrough)
    : file_(file), rate_(rate), channels_(channels), passThrough_(passThrough) {}

SoundFileRecording::~SoundFileRecording() { sf_close(file_); }

size_t SoundFileRecording::Read(int16_t *out, size_t max) {
  if (passThrough_) return static_cast<size_t>(sf_read_short(file_, out, static_cast<sf_count_t>(max)));
  return converter_ ? ReadResampled(out, max) : ReadConverted(out, max);
}

bool SoundFileRecording::FillMono() {
  if (endOfFile_) return false;
  frames_.resize(kChunkFrames * channels_);
  const sf_count_t got = sf_readf_double(file_, frames_.data(), kChunkFrames);
  if (got <= 0) {
    endOfFile_ = true;
    if (sf_error(file_) != SF_ERR_NO_ERROR) error_ = sf_strerror(file_);
    return false;
  }
  mono_.resize(static_cast<size_t>(got));
  // Multiplying by 1/channels is the division, to the bit, for 1, 2, 4, 8.
  const bool exactInverse = (channels_ & (channels_ - 1)) == 0;
  const double inverse = 1.0 / channels_;
  for (sf_count_t i = 0; i < got; ++i) {
    const double *frame = &frames_[i * channels_];
    double sum = 0;
    for (int c = 0; c < channels_; ++c) sum += frame[c];
    if (!std::isfinite(sum)) sum = FiniteSum(frame, channels_, &nonFinite_);
    mono_[i] = static_cast<float>(exactInverse ? sum * inverse : sum / channels_);
  }
  monoUsed_ = 0;
  return true;
}

size_t SoundFileRecording::ReadConverted(int16_t *out, size_t max) {
  size_t n = 0;
  while (n < max) {
    if (monoUsed_ == mono_.size() && !FillMono()) break;
    while (n < max && monoUsed_ < mono_.size()) out[n++] = ToSample(mono_[monoUsed_++]);
  }
  return n;
}

size_t SoundFileRecording::ReadResampled(int16_t *out, size_t max) {
  size_t n = 0;
  resampled_.resize(kChunkFrames);
  while (n < max) {
    if (monoUsed_ == mono_.size()) FillMono();
    const bool ended = endOfFile_ && monoUsed_ == mono_.size();
    size_t used = 0, made = 0;
    if (!converter_->Process(ended ? nullptr : mono_.data() + monoUsed_, mono_.size() - monoUsed_, &used,
                             resampled_.data(), std::min(max - n, resampled_.size()), &made, &error_))
      break;
    monoUsed_ += used;
    for (size_t i = 0; i < made; ++i) out[n++] = ToSample(resampled_[i]);
    if (made == 0 && ended) break;
  }
  return n;
}
