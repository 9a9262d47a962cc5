// Speed of the pitch measurement: MainTone3::Process alone and the whole
// guitar measurer, both per second of audio (22 blocks of 1000 samples),
// with the phone's refinement and with the precise one; and the fine
// measurer per second of audio, and the real transform it takes.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "measure/GuitarFactory.h"
#include "measure/MainTone3.h"
#include "measure/MeasurerGuitar3.h"
#include "measure/MeasurerPrecise.h"
#include "measure/RealFft.h"

namespace {

// Ten seconds of plucked notes with pauses: full analyses, second looks,
// tracking and silence all take their share.
const std::vector<int16_t> &Recording() {
  static const std::vector<int16_t> audio = [] {
    std::vector<int16_t> a(220500);
    const double notes[] = {82.41, 110.0, 146.83, 196.0, 246.94};
    for (size_t i = 0; i < a.size(); ++i) {
      const size_t note = i / 44100;
      const double t = static_cast<double>(i % 44100);
      const double env = t < 35000 ? std::exp(-t / 22050.0) : 0;
      const double hz = notes[note % 5];
      double v = 0;
      for (int h = 1; h <= 6; ++h) v += std::sin(2 * M_PI * h * hz * t / 22050) / h;
      a[i] = static_cast<int16_t>(12000 * env * v);
    }
    return a;
  }();
  return audio;
}

void MainTone3Process(benchmark::State &state, Measure::Refinement refinement) {
  const std::vector<int16_t> &audio = Recording();
  MainTone3 tone;
  tone.SetRefinement(refinement);
  std::vector<double> notes;
  int16_t level;
  size_t at = 0, pitched = 0, produced = 0;
  for (auto _ : state) {
    for (int b = 0; b < 22; ++b) {
      if (at + 1000 > audio.size()) at = 0;
      tone.Process(audio.data() + at, &notes, &level);
      at += 1000;
    }
    for (double n : notes) pitched += n != 0;
    produced += notes.size();
    notes.clear();
    benchmark::DoNotOptimize(level);
  }
  state.counters["pitched"] = produced ? static_cast<double>(pitched) / produced : 0;
  state.SetLabel("per second of audio");
}
BENCHMARK_CAPTURE(MainTone3Process, phone, Measure::Refinement::kPhone)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MainTone3Process, precise, Measure::Refinement::kPrecise)->Unit(benchmark::kMicrosecond);

// A second of audio through a measurer the factory made: `blocks` blocks of
// `hop` samples.
void Blocks(benchmark::State &state, const RCPtr<Measure3::GuitarFactory> &factory, size_t hop, int blocks) {
  const std::vector<int16_t> &audio = Recording();
  RCPtr<IFilter> filter;
  factory->CreateMeasurer(&filter, nullptr);
  auto *m = static_cast<Measure::MeasurerBase *>(filter.get());
  std::vector<Measure::Result> results(4);
  size_t at = 0;
  for (auto _ : state) {
    for (int b = 0; b < blocks; ++b) {
      if (at + hop > audio.size()) at = 0;
      m->ProcessBlock(audio.data() + at);
      m->GetResults(results.data());
      at += hop;
    }
    benchmark::DoNotOptimize(results.data());
  }
  state.SetLabel("per second of audio");
}

void MeasurerGuitar3Blocks(benchmark::State &state, Measure::Refinement refinement) {
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  factory->KeepGuitarMeasurer();
  factory->SetRefinement(refinement);
  Blocks(state, factory, 1000, 22);
}
BENCHMARK_CAPTURE(MeasurerGuitar3Blocks, phone, Measure::Refinement::kPhone)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MeasurerGuitar3Blocks, precise, Measure::Refinement::kPrecise)->Unit(benchmark::kMicrosecond);

// The fine measurer, 50 hops of 441 samples a second.
void MeasurerPreciseHops(benchmark::State &state) {
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  factory->SetRefinement(Measure::Refinement::kPrecise);
  Blocks(state, factory, Measure3::MeasurerPrecise::kHop, 50);
}
BENCHMARK(MeasurerPreciseHops)->Unit(benchmark::kMicrosecond);

// One real transform of the sizes the fine measurer takes: its period
// search's (2048) and its partials' (8192).
void RealTransform(benchmark::State &state) {
  const int size = static_cast<int>(state.range(0));
  Measure::RealFft fft(size);
  std::vector<double> in(size);
  for (int t = 0; t < size; ++t) in[t] = Recording()[t];
  std::vector<std::complex<double>> out(size / 2 + 1);
  for (auto _ : state) {
    fft.Transform(in.data(), out.data());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(RealTransform)->Arg(2048)->Arg(8192)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
