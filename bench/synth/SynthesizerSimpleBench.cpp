// Render16m throughput in samples per second, in the player's 4096-sample
// blocks. Real time needs 22050 samples per second.
#include <benchmark/benchmark.h>

#include <vector>

#include "synth/SynthesizerSimple.h"

namespace {

void Render(benchmark::State &state, bool square) {
  SynthesizerSimple synth;
  synth.sampleRate = 22050.0f;
  synth.frequency = 82.40689f;
  synth.level = 1.0f;
  synth.square = square ? 1 : 0;
  const int block = static_cast<int>(state.range(0));
  std::vector<short> out(block);
  for (auto _ : state) {
    // Stay within the sounding part of the envelope, as a real tone does.
    if (synth.envelopePos >= 259.0f) synth.envelopePos = 0.0f;
    synth.Render16m(out.data(), block);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * block);
}

void BM_Render16mSquare(benchmark::State &state) { Render(state, true); }
void BM_Render16mSine(benchmark::State &state) { Render(state, false); }

BENCHMARK(BM_Render16mSquare)->Arg(4096);
BENCHMARK(BM_Render16mSine)->Arg(4096);

}  // namespace
