#include "SoundFileSource.h"

#include <samplerate.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

namespace {

constexpr size_t kChunkFrames = 4096;

int16_t ToSample(double normalised) {
  const double v = std::floor(normalised * 32768.0 + 0.5);
  return static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
}

// A reason the file cannot be read at all, in the system's words; empty when
// it can be opened.
std::string Unreadable(const std::string &path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return "is a directory";
  std::ifstream probe(path, std::ios::binary);
  if (!probe) return std::strerror(errno);
  if (st.st_size == 0) return "the file is empty";
  return "";
}

}  // namespace

std::unique_ptr<SoundFileSource> SoundFileSource::Open(const std::string &path, std::string *error) {
  if (const std::string why = Unreadable(path); !why.empty()) {
    *error = why;
    return nullptr;
  }
  SF_INFO info{};
  SNDFILE *file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) {
    *error = std::string("not a sound file libsndfile can read (") + sf_strerror(nullptr) + ")";
    return nullptr;
  }
  if (info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0) {
    sf_close(file);
    *error = "the file holds no audio";
    return nullptr;
  }
  const bool pcm16 = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16;
  const bool passThrough = pcm16 && info.channels == 1 && info.samplerate == kRate;
  std::unique_ptr<SoundFileSource> source(new SoundFileSource(file, info.samplerate, info.channels, passThrough));
  if (info.samplerate != kRate) {
    int code = 0;
    source->resampler_ = src_new(SRC_SINC_BEST_QUALITY, 1, &code);
    if (!source->resampler_) {
      *error = std::string("cannot convert the sample rate: ") + src_strerror(code);
      return nullptr;
    }
  }
  return source;
}

SoundFileSource::SoundFileSource(SNDFILE *file, int rate, int channels, bool passThrough)
    : file_(file), rate_(rate), channels_(channels), passThrough_(passThrough) {}

SoundFileSource::~SoundFileSource() {
  if (resampler_) src_delete(resampler_);
  sf_close(file_);
}

size_t SoundFileSource::Read(int16_t *out, size_t max) {
  if (passThrough_) return static_cast<size_t>(sf_read_short(file_, out, static_cast<sf_count_t>(max)));
  return resampler_ ? ReadResampled(out, max) : ReadConverted(out, max);
}

bool SoundFileSource::FillMono() {
  if (endOfFile_) return false;
  frames_.resize(kChunkFrames * channels_);
  const sf_count_t got = sf_readf_double(file_, frames_.data(), kChunkFrames);
  if (got <= 0) {
    endOfFile_ = true;
    if (sf_error(file_) != SF_ERR_NO_ERROR) error_ = sf_strerror(file_);
    return false;
  }
  mono_.resize(static_cast<size_t>(got));
  for (sf_count_t i = 0; i < got; ++i) {
    double sum = 0;
    for (int c = 0; c < channels_; ++c) sum += frames_[i * channels_ + c];
    mono_[i] = static_cast<float>(sum / channels_);
  }
  monoUsed_ = 0;
  return true;
}

size_t SoundFileSource::ReadConverted(int16_t *out, size_t max) {
  size_t n = 0;
  while (n < max) {
    if (monoUsed_ == mono_.size() && !FillMono()) break;
    while (n < max && monoUsed_ < mono_.size()) out[n++] = ToSample(mono_[monoUsed_++]);
  }
  return n;
}

size_t SoundFileSource::ReadResampled(int16_t *out, size_t max) {
  size_t n = 0;
  resampled_.resize(kChunkFrames);
  while (n < max) {
    if (monoUsed_ == mono_.size()) FillMono();
    SRC_DATA d{};
    d.data_in = mono_.data() + monoUsed_;
    d.input_frames = static_cast<long>(mono_.size() - monoUsed_);
    d.data_out = resampled_.data();
    d.output_frames = static_cast<long>(std::min(max - n, resampled_.size()));
    d.end_of_input = endOfFile_ ? 1 : 0;
    d.src_ratio = static_cast<double>(kRate) / rate_;
    if (const int code = src_process(resampler_, &d); code != 0) {
      error_ = src_strerror(code);
      break;
    }
    monoUsed_ += static_cast<size_t>(d.input_frames_used);
    for (long i = 0; i < d.output_frames_gen; ++i) out[n++] = ToSample(resampled_[i]);
    if (d.output_frames_gen == 0 && endOfFile_ && monoUsed_ == mono_.size()) break;
  }
  return n;
}
