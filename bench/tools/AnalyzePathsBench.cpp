// The analyser's capture path (file → WaveInEvent → event loop on the
// virtual clock → pipeline) against its direct path (file → pipeline) over
// the same minute of guitar. Items are seconds of audio, so items/s is the
// speed as a multiple of real time; the two figures of one run give the
// capture path's cost. On a shared machine run them interleaved:
//   analyze_paths_bench --benchmark_repetitions=20
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "CaptureAnalysis.h"
#include "PitchAnalysis.h"
#include "TestRecording.h"
#include "kernel/Platform.h"
#include "wave/SoundFileSource.h"

namespace {

constexpr double kSeconds = 60;

const std::string &Recording() {
  static const std::string path = [] {
    const std::string p = "/tmp/drovane-bench-minute.wav";
    std::string error;
    if (!test_recording::Write(p, kSeconds, &error)) std::fprintf(stderr, "%s: %s\n", p.c_str(), error.c_str());
    return p;
  }();
  return path;
}

// Results are formatted as the tool formats them, and thrown away.
struct Discard {
  Discard() : out(std::fopen("/dev/null", "w")), format(AnalyzeOptions::Format::kCsv, out) {}
  ~Discard() { std::fclose(out); }
  std::FILE *out;
  ResultFormat format;
};

void DirectPath(benchmark::State &state) {
  Discard discard;
  for (auto _ : state) {
    std::string error;
    auto source = SoundFileSource::Open(Recording(), &error);
    if (!source) return state.SkipWithError(error.c_str());
    PitchAnalysis analysis(&discard.format, 440.0, false);
    benchmark::DoNotOptimize(analysis.Run(source.get()).results);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kSeconds));
}
BENCHMARK(DirectPath)->Unit(benchmark::kMillisecond);

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
