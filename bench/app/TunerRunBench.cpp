// The whole tuner in this process, headless on the virtual clock over the
// built-in demo: a minute of tuning (a paint per result), and the time from
// the start of the program to its first frame on the screen.
#include <benchmark/benchmark.h>

#include <chrono>

#include "e2e/InProcessTuner.h"
#include "phone/Handset.h"

namespace {

using Clock = std::chrono::steady_clock;

platform::wave::CaptureSource Demo() {
  platform::wave::CaptureSource source;
  source.kind = platform::wave::CaptureSource::Kind::Demo;
  return source;
}

// 60 s of the demo: about 1320 results, each painted. The counter says how
// many times faster than real time the tuner ran (by wall time).
void BM_DemoMinute(benchmark::State &state) {
  for (auto _ : state) {
    tuner::InProcessTuner tuner(Demo());
    benchmark::DoNotOptimize(tuner.Run(60.0));
  }
  state.counters["x_realtime"] =
      benchmark::Counter(60.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DemoMinute)->UseRealTime()->Unit(benchmark::kMillisecond);

// Whether the main window's own paint has drawn its texts on the screen.
bool WindowPainted() {
  for (const platform::handset::ScreenText &t : platform::handset::ScreenTexts())
    if (t.source == "Drovane" && !t.text.empty()) return true;
  return false;
}

// From start-up's first step to the first time the program goes idle with
// its window painted on the screen (the frame a presenter would show).
void BM_StartToFirstFrame(benchmark::State &state) {
  for (auto _ : state) {
    tuner::InProcessTuner tuner(Demo());
    Clock::time_point start, shown;
    tuner.OnIdle([&] {
      if (shown != Clock::time_point() || !WindowPainted()) return;
      shown = Clock::now();
      platform::handset::RequestClose();
    });
    start = Clock::now();
    tuner.Run(10.0);
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
}
BENCHMARK(BM_StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
