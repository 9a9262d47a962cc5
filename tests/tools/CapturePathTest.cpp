// The analyser's capture path (file or demo played into a WaveInEvent,
// serviced by the event loop on the virtual clock) against its direct path
// (the recording handed straight to the pipeline): the same results, line
// for line, whatever the recording's length, rate or channels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CaptureAnalysis.h"
#include "PitchAnalysis.h"
#include "ToolRun.h"
#include "kernel/Platform.h"
#include "wave/DemoRecording.h"
#include "wave/SoundFileRecording.h"

namespace {

using platform::wave::CaptureSource;

struct Outcome {
  std::string text;  // the results as printed
  AnalysisSummary summary;
  std::string openError;
};

// Collects what a ResultFormat prints.
class Printed {
 public:
  Printed() : out_(open_memstream(&data_, &size_)), format_(AnalyzeOptions::Format::kCsv, out_) {}
  ~Printed() {
    if (out_) std::fclose(out_);
    std::free(data_);
  }
  ResultFormat *Format() { return &format_; }
  std::string Text() {
    std::fflush(out_);
    return std::string(data_, size_);
  }

 private:
  char *data_ = nullptr;
  size_t size_ = 0;
  std::FILE *out_;
  ResultFormat format_;
};

Outcome Direct(Recording *source) {
  Printed printed;
  PitchAnalysis analysis(printed.Format(), 440.0, true);
  Outcome o;
  o.summary = analysis.Run(source);
  o.text = printed.Text();
  return o;
}

Outcome DirectFile(const std::string &path) {
  Outcome o;
  const std::unique_ptr<SoundFileRecording> source = SoundFileRecording::Open(path, &o.openError);
  return source ? Direct(source.get()) : o;
}

Outcome Captured(CaptureSource::Kind kind, const std::string &path = "") {
  Printed printed;
  Outcome o;
  {
    CaptureAnalysis analysis(printed.Format(), 440.0, true);
    CaptureSource source;
    source.kind = kind;
    source.path = path;
    if (analysis.Open(source, &o.openError)) o.summary = analysis.Run();
  }
  o.text = printed.Text();
  return o;
}

// Names the first line that differs rather than printing both outputs whole.
void ExpectSameLines(const std::string &direct, const std::string &captured, const std::string &what) {
  const std::vector<std::string> a = Lines(direct), b = Lines(captured);
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (a[i] != b[i]) {
      ADD_FAILURE() << what << ": line " << i + 1 << " differs:\n  direct:  " << a[i] << "\n  capture: " << b[i];
      return;
    }
  EXPECT_EQ(b.size(), a.size()) << what << ": lines printed";
}

void ExpectSame(const Outcome &direct, const Outcome &captured, const std::string &what) {
  EXPECT_EQ(captured.openError, direct.openError) << what;
  ExpectSameLines(direct.text, captured.text, what);
  EXPECT_EQ(captured.summary.samples, direct.summary.samples) << what;
  EXPECT_EQ(captured.summary.results, direct.summary.results) << what;
  EXPECT_EQ(captured.summary.error, direct.summary.error) << what;
  EXPECT_EQ(captured.summary.stableFound, direct.summary.stableFound) << what;
  EXPECT_EQ(captured.summary.stablePitch, direct.summary.stablePitch) << what;
  EXPECT_EQ(captured.summary.calibrated, direct.summary.calibrated) << what;
}

// Plucks of A2 and its octave, one every half second, a little off pitch:
// results that change from block to block, so a shifted or lost block shows.
std::vector<short> Plucks(size_t count, int channels = 1, int rate = 22050) {
  std::vector<short> v(count * channels);
  for (size_t i = 0; i < count; ++i) {
    const double t = std::fmod(static_cast<double>(i) / rate, 0.5);
    const double f = 110.3 * (1 + static_cast<double>(i / (rate / 2) % 2));
    for (int c = 0; c < channels; ++c) {
      const double s = std::sin(2 * M_PI * f * t) + 0.4 * std::sin(4 * M_PI * f * t + c);
      v[i * channels + c] = static_cast<short>(std::lround(8000 * std::exp(-2 * t) * s));
    }
  }
  return v;
}

TEST(CapturePath, TheDemoGivesTheDirectPathsResults) {
  DemoRecording demo;
  const Outcome direct = Direct(&demo);
  const Outcome captured = Captured(CaptureSource::Kind::Demo);
  ExpectSame(direct, captured, "demo");
  EXPECT_EQ(captured.summary.samples, DemoRecording::TotalSamples());
  EXPECT_EQ(captured.summary.results, DemoRecording::TotalSamples() / 1000 - 16);
  EXPECT_TRUE(captured.summary.stableFound);
}

// Around the first result (17000 samples), a block (1000), a capture buffer
// (2205) and a recording that ends exactly on a buffer's end (9 × 2205).
TEST(CapturePath, AwkwardLengthsGiveTheDirectPathsResults) {
  for (size_t length : {size_t{1}, size_t{999}, size_t{1000}, size_t{2205}, size_t{17000}, size_t{17999},
                        size_t{18000}, size_t{19845}, size_t{66150 + 1}}) {
    const std::string path = WriteSound("awkward-" + std::to_string(length) + ".wav", Plucks(length), 22050, 1);
    const Outcome captured = Captured(CaptureSource::Kind::File, path);
    ExpectSame(DirectFile(path), captured, std::to_string(length) + " samples");
    EXPECT_EQ(captured.summary.samples, length);
    EXPECT_EQ(captured.summary.results, length < 17000 ? 0 : length / 1000 - 16) << length;
  }
}

TEST(CapturePath, AnEmptyFileIsRefusedWithTheSameMessage) {
  const std::string path = WriteSound("awkward-0.wav", {}, 22050, 1);
  const Outcome direct = DirectFile(path), captured = Captured(CaptureSource::Kind::File, path);
  EXPECT_FALSE(direct.openError.empty());
  ExpectSame(direct, captured, "empty file");
  EXPECT_TRUE(captured.text.empty());
}

TEST(CapturePath, ConvertedRateAndMixedChannelsGiveTheDirectPathsResults) {
  const std::string rate = WriteSound("plucks-44100.wav", Plucks(44100 * 3 + 17, 1, 44100), 44100, 1);
  const Outcome fromRate = Captured(CaptureSource::Kind::File, rate);
  ExpectSame(DirectFile(rate), fromRate, "44100 Hz");
  EXPECT_GT(fromRate.summary.results, 40u);

  const std::string stereo = WriteSound("plucks-stereo.wav", Plucks(22050 * 2 + 333, 2), 22050, 2);
  const Outcome fromStereo = Captured(CaptureSource::Kind::File, stereo);
  ExpectSame(DirectFile(stereo), fromStereo, "stereo");
  EXPECT_EQ(fromStereo.summary.results, (22050u * 2 + 333) / 1000 - 16);
}

// The silence that completes the last buffer is measured, but never printed.
TEST(CapturePath, NoResultReachesPastTheRecordingsEnd) {
  const std::string path = WriteSound("end.wav", Plucks(30500), 22050, 1);
  const Outcome captured = Captured(CaptureSource::Kind::File, path);
  ASSERT_EQ(captured.summary.results, 14u);
  const size_t last = captured.text.rfind('\n', captured.text.size() - 2);
  EXPECT_EQ(captured.text.substr(last + 1, 11), ",1.3151927,") << "block 29, ending at 30000";
}

TEST(CapturePath, AMissingFileIsRefusedWithTheSameMessage) {
  const std::string path = OutputPath("no-such-recording.wav");
  const Outcome direct = DirectFile(path), captured = Captured(CaptureSource::Kind::File, path);
  EXPECT_NE(captured.openError.find("No such file"), std::string::npos) << captured.openError;
  ExpectSame(direct, captured, "missing file");
}

}  // namespace
