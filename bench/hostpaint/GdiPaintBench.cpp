// The cost of one paint of the tuner's window: fill the client area, draw a
// gauge's marks and needle with 4-pixel pens, a few texts, and stretch the
// guitar picture onto the panel. Arg: scale factor of the 240 x 270 area.
//   gdi_paint_bench [benchmark options] [--png FILE [SCALE]]
// --png writes one painted frame instead of timing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "gdi/GdiHost.h"
#include "general/RCPtr.h"
#include "hostpaint/FontSpec.h"
#include "hostpaint/GdiFontSelect.h"
#include "hostpaint/GdiObjSelect.h"
#include "hostpaint/PictureFile.h"
#include "app/resources/GuitarResource.h"
#include "phone/Phone.h"

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(0x400000);

class Scene {
 public:
  explicit Scene(int scale) : s_(scale), w_(240 * scale), h_(270 * scale) {
    RegisterGuitarBitmap(kModule);
    picture_ = MakeRC<PictureFile>(kModule, L"Guitar.bmp");
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, w_, h_);
    old_ = SelectObject(dc_, bitmap_);
    marks_.Attach(CreatePen(PS_SOLID, 4 * s_, RGB(202, 66, 0)));
    needle_.Attach(CreatePen(PS_SOLID, 4 * s_, RGB(255, 128, 64)));
    bars_.Attach(CreateSolidBrush(RGB(166, 166, 166)));
    word_.Create(L"Verdana", 20 * s_, true);
    word_.backColor = 0xF5F5F5;
    word_.textColor = 0;
    word_.textAlign = TA_RIGHT;
    tick_.Create(L"Verdana", 16 * s_, false);
    tick_.backColor = 0xF5F5F5;
    tick_.textColor = 0;
    tick_.textAlign = TA_RIGHT;
  }
  ~Scene() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }

  void Paint() {
    int gaugeRight = w_ * 2 / 3;
    RECT gauge{0, 0, gaugeRight, h_};
    SetBkColor(dc_, 0xF5F5F5);
    ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &gauge, L"", 0, nullptr);
    Gauge(gaugeRight);
    StretchBlt(dc_, gaugeRight, 0, w_ - gaugeRight, h_, picture_->DC(), 0, 0, picture_->Width(),
               picture_->Height(), SRCCOPY);
    PaintProcs::GdiObjSelect bar;
    bar.Select(dc_, static_cast<HPEN>(GetStockObject(NULL_PEN)), bars_);
    for (double p : {0.264, 0.365, 0.462, 0.562, 0.666, 0.762}) {
      int c = static_cast<int>(h_ * p);
      Rectangle(dc_, gaugeRight, c - 6 * s_, w_, c + 6 * s_);
    }
    bar.Restore();
    RECT client{0, 0, w_, h_};
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, 0);
    DrawTextW(dc_, L"A 440.00\r\n\r\n110.23 Hz\r\n", -1, &client, DT_LEFT | DT_TOP);
  }
  HDC dc() const { return dc_; }

 private:
  void Gauge(int right) {
    const int pivotY = h_ / 2, length = right - 10 * s_;
    PaintProcs::GdiObjSelect pens;
    pens.SelectPen(dc_, marks_);
    PaintProcs::GdiFontSelect font;
    font.Select(tick_, dc_);
    wchar_t label[32];
    for (double v : {-0.4, 0.4, -0.3, 0.3, -0.2, 0.2, -0.1, 0.1, 0.0}) {
      double a = -v * 2 * 1.2;
      int x = static_cast<int>(std::floor(length * std::cos(a) + 0.5));
      int y = static_cast<int>(std::floor(pivotY + length * std::sin(a) + 0.5));
      int xi = static_cast<int>(std::floor((length - 10 * s_) * std::cos(a) + 0.5));
      int yi = static_cast<int>(std::floor(pivotY + (length - 10 * s_) * std::sin(a) + 0.5));
      MoveToEx(dc_, x, y, nullptr);
      LineTo(dc_, xi, yi);
      std::swprintf(label, 32, L"%1.2f", v);
      ExtTextOutW(dc_, xi, yi - tick_.height / 2, 0, nullptr, label, std::wcslen(label), nullptr);
    }
    pens.Restore();
    pens.SelectPen(dc_, needle_);
    MoveToEx(dc_, 0, pivotY, nullptr);
    LineTo(dc_, static_cast<int>(length * std::cos(0.2)), static_cast<int>(pivotY - length * std::sin(0.2)));
    font.Restore();
    font.Select(word_, dc_);
    ExtTextOutW(dc_, right - 10 * s_, pivotY - word_.height / 2, 0, nullptr, L"Down", 4, nullptr);
  }

  int s_, w_, h_;
  RCPtr<PictureFile> picture_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  PaintProcs::SmartGdiObject<HPEN> marks_, needle_;
  PaintProcs::SmartGdiObject<HBRUSH> bars_;
  FontSpec word_, tick_;
};

void BM_PaintTunerWindow(benchmark::State &state) {
  Scene scene(static_cast<int>(state.range(0)));
  scene.Paint();  // glyph caches warm, as after the first paint
  for (auto _ : state) {
    scene.Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PaintTunerWindow)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

void BM_CopyToScreen(benchmark::State &state) {
  Scene scene(static_cast<int>(state.range(0)));
  scene.Paint();
  HDC screen = CreateCompatibleDC(nullptr);
  int s = static_cast<int>(state.range(0));
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 240 * s, 270 * s);
  HGDIOBJ old = SelectObject(screen, bitmap);
  for (auto _ : state) BitBlt(screen, 0, 0, 240 * s, 270 * s, scene.dc(), 0, 0, SRCCOPY);
  SelectObject(screen, old);
  DeleteObject(bitmap);
  DeleteDC(screen);
}
BENCHMARK(BM_CopyToScreen)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  std::optional<platform::Phone> phone(std::in_place, platform::ClockKind::Virtual);
  if (argc >= 3 && std::strcmp(argv[1], "--png") == 0) {
    bool ok;
    {
      Scene scene(argc >= 4 ? std::atoi(argv[3]) : 1);
      scene.Paint();
      ok = GdiWritePng(scene.dc(), argv[2]);
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
