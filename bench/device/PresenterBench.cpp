// What one full frame costs the window presenter at scale 1 and 4: the copy
// of the screen on the program thread, then the enlarged blit and the window
// update on the presenter's thread, until the frame is shown. Runs its own
// Xvfb. Run: presenter_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <thread>

#include "XvfbServer.h"
#include "device/WindowPresenter.h"
#include "kernel/Platform.h"
#include "phone/Handset.h"
#include "phone/Phone.h"

namespace {

using platform::device::WindowPresenter;

void FillScreen(COLORREF colour) {
  HDC dc = GetDC(nullptr);
  SetBkColor(dc, colour);
  const RECT all{0, 0, platform::kScreenWidth, platform::kScreenHeight};
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
  ReleaseDC(nullptr, dc);
}

void BM_FullFrame(benchmark::State &state) {
  platform::Phone phone(platform::ClockKind::Real);
  phone.SwitchOn();
  std::string error;
  std::unique_ptr<WindowPresenter> presenter = WindowPresenter::Start(static_cast<int>(state.range(0)), &error);
  if (!presenter) {
    state.SkipWithError(error.c_str());
    return;
  }
  unsigned frame = 0;
  for (auto _ : state) {
    FillScreen(++frame % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    const uint64_t before = presenter->FramesShown();
    presenter->Present();
    while (presenter->FramesShown() == before) std::this_thread::yield();
  }
}
BENCHMARK(BM_FullFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char **argv) {
  XvfbServer server("/tmp/drovane-presenter-bench");
  if (server.display().empty()) {
    std::fprintf(stderr, "presenter_bench: %s\n", server.why().c_str());
    return 1;
  }
  setenv("DISPLAY", server.display().c_str(), 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
