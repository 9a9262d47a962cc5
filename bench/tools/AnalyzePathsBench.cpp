// The analyser's capture path (file → WaveInEvent → event loop on the
// virtual clock → pipeline) against its direct path (file → pipeline) over
// the same minute of guitar; and the direct path over that minute recorded
// as 44.1 kHz stereo FLAC, which is decoded, mixed and converted. Items are
// seconds of audio, so items/s is the speed as a multiple of real time; the
// figures of one run give the capture path's and the conversion's cost. On a
// shared machine run them interleaved:
//   analyze_paths_bench --benchmark_repetitions=20
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "CaptureAnalysis.h"
#include "PitchAnalysis.h"
#include "TestRecording.h"
#include "kernel/Platform.h"
#include "wave/SoundFileRecording.h"

namespace {

constexpr double kSeconds = 60;

// The minute at `rate` with `channels`, written once to `path`.
std::string Written(const std::string &path, int rate, int channels) {
  std::string error;
  if (!test_recording::Write(path, kSeconds, &error, rate, channels))
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
  return path;
}

const std::string &Recording() {
  static const std::string path = Written("/tmp/drovane-bench-minute.wav", test_recording::kRate, 1);
  return path;
}

const std::string &StereoFlac() {
  static const std::string path = Written("/tmp/drovane-bench-minute-44100-stereo.flac", 44100, 2);
  return path;
}

// Results are formatted as the tool formats them, and thrown away.
struct Discard {
  Discard() : out(std::fopen("/dev/null", "w")), format(AnalyzeOptions::Format::kCsv, out) {}
  ~Discard() { std::fclose(out); }
  std::FILE *out;
  ResultFormat format;
};

void Direct(benchmark::State &state, const std::string &path) {
  Discard discard;
  for (auto _ : state) {
    std::string error;
    auto source = SoundFileRecording::Open(path, &error);
    if (!source) return state.SkipWithError(error.c_str());
    PitchAnalysis analysis(&discard.format, 440.0, false);
    benchmark::DoNotOptimize(analysis.Run(source.get()).results);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kSeconds));
}

void DirectPath(benchmark::State &state) { Direct(state, Recording()); }
BENCHMARK(DirectPath)->Unit(benchmark::kMillisecond);

void DirectPathFrom44100StereoFlac(benchmark::State &state) { Direct(state, StereoFlac()); }
BENCHMARK(DirectPathFrom44100StereoFlac)->Unit(benchmark::kMillisecond);

void CapturePath(benchmark::State &state) {
  Discard discard;
  for (auto _ : state) {
    CaptureAnalysis analysis(&discard.format, 440.0, false);
    platform::wave::CaptureSource source;
    source.kind = platform::wave::CaptureSource::Kind::File;
    source.path = Recording();
    std::string error;
    if (!analysis.Open(source, &error)) return state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(analysis.Run().results);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kSeconds));
}
BENCHMARK(CapturePath)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
