// The cost of painting the tuner view: the view alone into a kept bitmap,
// and the window's whole paint path (an off-screen bitmap and DC made for the
// paint, the view painted into it, copied to the screen, both deleted).
// Args: scale of the 240 x 270 client area, and the display: 0 as start-up
// leaves it (gauge and short text), 1 with everything shown.
//   view_paint_bench [benchmark options] [--png FILE [SCALE [DISPLAY]]]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "gdi/GdiHost.h"
#include "hostpaint/DrovaneView_H.h"
#include "app/resources/GuitarResource.h"
#include "phone/Phone.h"

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(0x400000);
const int kStrings[] = {40, 45, 50, 55, 59, 64};

double Reference() { return 440.0; }

// A view as start-up sets it up, hearing a G a fifth of a semitone sharp.
class Scene {
 public:
  Scene(int scale, bool everything) : w_(240 * scale), h_(270 * scale) {
    RegisterGuitarBitmap(kModule);
    view_ = MakeRC<DrovaneView_H>(&root_, kModule);
    ViewBindings bindings;
    bindings.getReference.BindS(&Reference);
    view_->SetBindings(bindings);
    view_->SetStringNotes(kStrings);
    view_->SetStringSelect(55);
    view_->SetOptions({everything, everything, false, everything});
    view_->SetClientSize(w_, h_);
    view_->SetPitch(55.2);
    screen_ = CreateCompatibleDC(nullptr);
    screenBitmap_ = CreateCompatibleBitmap(screen_, w_, h_);
    oldScreen_ = SelectObject(screen_, screenBitmap_);
  }
  ~Scene() {
    SelectObject(screen_, oldScreen_);
    DeleteObject(screenBitmap_);
    DeleteDC(screen_);
    view_.Reset();
  }

  void PaintView(HDC dc) { view_->Paint(dc, w_, h_, RECT{0, 0, w_, h_}); }
  // What the window does on WM_PAINT.
  void PaintWindow() {
    HDC memory = CreateCompatibleDC(screen_);
    HBITMAP bitmap = CreateCompatibleBitmap(screen_, w_, h_);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PaintView(memory);
    BitBlt(screen_, 0, 0, w_, h_, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
  }
  HDC screen() const { return screen_; }

 private:
  int w_, h_;
  UninitCaller root_;
  RCPtr<DrovaneView_H> view_;
  HDC screen_;
  HBITMAP screenBitmap_;
  HGDIOBJ oldScreen_;
};

void BM_ViewPaint(benchmark::State &state) {
  Scene scene(static_cast<int>(state.range(0)), state.range(1) != 0);
  scene.PaintView(scene.screen());  // glyph caches warm, as after the first paint
  for (auto _ : state) {
    scene.PaintView(scene.screen());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ViewPaint)->ArgsProduct({{1, 8}, {0, 1}})->Unit(benchmark::kMicrosecond);

void BM_WindowPaint(benchmark::State &state) {
  Scene scene(static_cast<int>(state.range(0)), state.range(1) != 0);
  scene.PaintWindow();
  for (auto _ : state) {
    scene.PaintWindow();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WindowPaint)->ArgsProduct({{1, 8}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  std::optional<platform::Phone> phone(std::in_place, platform::ClockKind::Virtual);
  if (argc >= 3 && std::strcmp(argv[1], "--png") == 0) {
    bool ok;
    {
      Scene scene(argc >= 4 ? std::atoi(argv[3]) : 1, argc >= 5 && std::atoi(argv[4]) != 0);
      scene.PaintWindow();
      ok = GdiWritePng(scene.screen(), argv[2]);
    }
    phone.reset();
    GdiShutdown();
    if (!ok) std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return ok ? 0 : 1;
  }
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  phone.reset();
  GdiShutdown();
  return 0;
}
