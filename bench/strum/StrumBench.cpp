// Speed of the strum check: one strum read from its stretch, and a stream
// of strums 2.5 s apart tracked in capture buffers, the strings detuned by
// up to 40 cents or in tune (where B3 and E4 are told by their attacks);
// and strums of the string model (material/), clean and through a room's
// microphone. The "realtime" counter is seconds of sound per second of
// work; "strum_to_result_s" the median time from a strum's first attack to
// its reading.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>

#include "SyntheticStrum.h"
#include "Take.h"
#include "strum/StrumTracker.h"

namespace {

synthetic::Recording MakeStrums(double detune) {
  std::vector<synthetic::Strike> strikes;
  for (int k = 0; k < 8; ++k) {
    synthetic::StrumSettings settings;
    settings.detune = detune;
    settings.muted = k % 3;
    settings.upStroke = k % 2;
    strikes.push_back({0.5 + 2.5 * k, 300u + k, settings});
  }
  return synthetic::MakeRecording(strikes, 20.5);
}

// The strums detuned by up to `cents` (40 or 0).
const synthetic::Recording &Strums(int cents = 40) {
  static const synthetic::Recording detuned = MakeStrums(40), inTune = MakeStrums(0);
  return cents == 0 ? inTune : detuned;
}

void AnalyzeOneStrum(benchmark::State &state) {
  const synthetic::Recording &recording = Strums();
  Strum::StrumAnalyzer analyzer{Measure::Tuning{}};
  size_t k = 0;
  for (auto _ : state) {
    const synthetic::Strum &strum = recording.strums[k++ % recording.strums.size()];
    benchmark::DoNotOptimize(analyzer.Analyze(recording.samples.data() + strum.onset + Strum::StrumTracker::kLead,
                                              Strum::StrumTracker::kStretch));
  }
}
BENCHMARK(AnalyzeOneStrum)->Unit(benchmark::kMillisecond);

// Tracks `samples` in capture buffers while the benchmark runs, and counts
// its speed, the strums found and the median time from strum to result.
void Track(benchmark::State &state, const std::vector<int16_t> &samples) {
  std::vector<Strum::StrumReading> readings;
  for (auto _ : state) {
    Strum::StrumTracker tracker{Measure::Tuning{}};
    readings.clear();
    for (size_t at = 0; at < samples.size(); at += 2205)
      tracker.Feed(samples.data() + at, std::min<size_t>(2205, samples.size() - at), &readings);
    benchmark::DoNotOptimize(readings.data());
  }
  std::vector<double> latencies;
  for (const Strum::StrumReading &r : readings) latencies.push_back((r.ready - r.onset) / 22050.0);
  std::sort(latencies.begin(), latencies.end());
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(samples.size()) / 22050 * state.iterations(),
                                                  benchmark::Counter::kIsRate);
  state.counters["strums"] = static_cast<double>(readings.size());
  state.counters["strum_to_result_s"] = latencies.empty() ? 0 : latencies[latencies.size() / 2];
}

void TrackStrums(benchmark::State &state) { Track(state, Strums(static_cast<int>(state.range(0))).samples); }
BENCHMARK(TrackStrums)->Arg(40)->Arg(0)->ArgName("cents")->Unit(benchmark::kMillisecond);

// Eight down-strums of the string model, half in tune, through the room's
// microphone (1) or clean (0).
const material::Take &ModelStrums(bool room) {
  static const auto make = [](bool withRoom) {
    material::StrumPlan plan;
    plan.strums = 8;
    plan.detune = 30;
    material::Take take;
    std::string error;
    const std::optional<material::RoomSettings> room =
        withRoom ? std::optional(material::TuningRoom()) : std::nullopt;
    material::MakeTake({}, material::MakeStrums(plan, 7), room, "", &take, &error);
    return take;
  };
  static const material::Take clean = make(false), roomed = make(true);
  return room ? roomed : clean;
}

void TrackModelStrums(benchmark::State &state) { Track(state, ModelStrums(state.range(0) != 0).heard); }
BENCHMARK(TrackModelStrums)->Arg(0)->Arg(1)->ArgName("room")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
