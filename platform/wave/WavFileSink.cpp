#include "wave/WavFileSink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "base/CommandLine.h"
#include "base/OutputFile.h"
#include "base/SoundFormat.h"

namespace platform::wave {

namespace {

constexpr size_t kHeaderBytes = 44;
constexpr uint32_t kUnknownSize = 0xFFFFFFFF;
// The most samples the header's 32-bit sizes can count (27 hours).
constexpr uint64_t kMostSamples = (kUnknownSize - (kHeaderBytes - 8)) / drovane::kBytesPerSample;

using Header = std::array<unsigned char, kHeaderBytes>;

void Put(Header &h, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) h[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// RIFF WAVE, PCM, one channel of 16 bits at the program's rate; its sizes
// for `samples`, or the unknown size of a stream.
Header HeaderFor(std::optional<uint64_t> samples) {
  Header h{};
  const uint32_t data = samples ? static_cast<uint32_t>(*samples * drovane::kBytesPerSample) : kUnknownSize;
  std::memcpy(&h[0], "RIFF", 4);
  Put(h, 4, samples ? data + kHeaderBytes - 8 : kUnknownSize, 4);
  std::memcpy(&h[8], "WAVEfmt ", 8);
  Put(h, 16, 16, 4);  // the size of the format chunk
  Put(h, 20, 1, 2);   // PCM
  Put(h, 22, 1, 2);   // channels
  Put(h, 24, drovane::kSampleRate, 4);
  Put(h, 28, drovane::kSampleRate * drovane::kBytesPerSample, 4);
  Put(h, 32, drovane::kBytesPerSample, 2);
  Put(h, 34, 16, 2);
  std::memcpy(&h[36], "data", 4);
  Put(h, 40, data, 4);
  return h;
}

bool IsRegular(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

// The length is unknown until the end, and a process killed outright leaves
// a header that readers take to the end of the file.
WavFileSink::WavFileSink(const std::string &path, std::shared_ptr<WriteStatus> status)
    : path_(path), status_(status ? std::move(status) : std::make_shared<WriteStatus>()) {
  std::string why;
  fd_ = drovane::OpenForWriting(path, &why);
  if (fd_ >= 0) {
    rewindable_ = IsRegular(fd_);
    const Header h = HeaderFor(std::nullopt);
    size_t written;
    if (drovane::WriteAll(fd_, h.data(), h.size(), &written, &why)) {
      status_->opened = true;
      return;
    }
    close(fd_);
    fd_ = -1;
    drovane::RemoveUnfinished(path);
  }
  error_ = "cannot write " + cli::Quoted(path) + ": " + why;
  status_->error = error_;
}

// A sample cut in half by a failed write is cut off.
WavFileSink::~WavFileSink() {
  if (fd_ < 0) return;
  std::string why;
  if (rewindable_) {
    const Header h = HeaderFor(samples_);
    if (ftruncate(fd_, static_cast<off_t>(kHeaderBytes + samples_ * drovane::kBytesPerSample)) != 0 ||
        pwrite(fd_, h.data(), h.size(), 0) != static_cast<ssize_t>(h.size()))
      why = drovane::WhyNot(errno);
  }
  if (close(fd_) != 0 && why.empty()) why = drovane::WhyNot(errno);
  if (!why.empty() && !failed_) status_->error = "cannot finish " + cli::Quoted(path_) + ": " + why;
}

// Little-endian whatever the machine, through a scratch block.
void WavFileSink::Play(const int16_t *samples, size_t count) {
  unsigned char bytes[2048];
  for (size_t done = 0; fd_ >= 0 && !failed_ && done < count;) {
    const size_t k = std::min<size_t>({count - done, sizeof bytes / 2, kMostSamples - samples_});
    if (k == 0) return Fail("a WAV file holds at most 27 hours of sound");
    for (size_t i = 0; i < k; ++i) {
      const auto v = static_cast<uint16_t>(samples[done + i]);
      bytes[2 * i] = static_cast<unsigned char>(v);
      bytes[2 * i + 1] = static_cast<unsigned char>(v >> 8);
    }
    size_t written;
    std::string why;
    const bool whole = drovane::WriteAll(fd_, bytes, 2 * k, &written, &why);
    samples_ += written / 2;
    done += k;
    if (!whole) Fail(why);
  }
}

void WavFileSink::Fail(const std::string &reason) {
  failed_ = true;
  char kept[96];
  std::snprintf(kept, sizeof kept, "; it keeps the first %.2f s (%llu samples) played",
                static_cast<double>(samples_) / drovane::kSampleRate, static_cast<unsigned long long>(samples_));
  status_->error = "cannot write " + cli::Quoted(path_) + ": " + reason + (rewindable_ ? kept : "");
}

}  // namespace platform::wave
