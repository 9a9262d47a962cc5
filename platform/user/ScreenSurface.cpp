#include "user/ScreenSurface.h"

#include <algorithm>

#include "gdi/GdiHost.h"
#include "user/ScreenGeometry.h"

namespace platform {

namespace {
constexpr COLORREF kDesktop = RGB(0, 0, 0);
}  // namespace

HBITMAP ScreenSurface::Bitmap() {
  if (!bitmap_) {
    HDC memory = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(memory, kScreenWidth, kScreenHeight);
    DeleteDC(memory);
    if (bitmap_) FillDesktop({0, 0, kScreenWidth, kScreenHeight});
  }
  return bitmap_;
}

HDC ScreenSurface::OpenDC(POINT origin, const RECT &clip) {
  HBITMAP screen = Bitmap();
  if (!screen) return nullptr;
  const RECT area{origin.x, origin.y, kScreenWidth, kScreenHeight};
  const RECT logicalClip{clip.left - origin.x, clip.top - origin.y, clip.right - origin.x, clip.bottom - origin.y};
  HDC dc = GdiCreateTargetDC(screen, area, logicalClip);
  RECT bounds;
  const RECT whole{0, 0, kScreenWidth, kScreenHeight};
  if (!IntersectRect(&bounds, &clip, &whole)) bounds = {};
  if (dc) open_.push_back({dc, bounds});
  return dc;
}

bool ScreenSurface::CloseDC(HDC dc) {
  auto it = std::find_if(open_.begin(), open_.end(), [dc](const Open &o) { return o.dc == dc; });
  if (!dc || it == open_.end()) return false;
  const RECT clip = it->clip;
  open_.erase(it);
  DeleteDC(dc);
  ++version_;
  if (clip.left < clip.right && clip.top < clip.bottom) {
    const bool none = damage_.left >= damage_.right || damage_.top >= damage_.bottom;
    damage_ = none ? clip
                   : RECT{std::min(damage_.left, clip.left), std::min(damage_.top, clip.top),
                          std::max(damage_.right, clip.right), std::max(damage_.bottom, clip.bottom)};
  }
  return true;
}

RECT ScreenSurface::TakeDamage() {
  const RECT damage = damage_;
  damage_ = {};
  return damage;
}

void ScreenSurface::FillDesktop(const RECT &area) {
  HDC dc = OpenDC({0, 0}, area);
  if (!dc) return;
  SetBkColor(dc, kDesktop);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  CloseDC(dc);
}

void ScreenSurface::StartRecording(HDC dc, HWND window) {
  if (recordingDc_) return;
  recordingDc_ = dc;
  recordingWindow_ = window;
  texts_.clear();
  GdiSetTextListener([this](std::wstring_view text) { texts_.emplace_back(text); });
}

bool ScreenSurface::StopRecording(HDC dc, HWND *window, std::vector<std::wstring> *texts) {
  if (!dc || dc != recordingDc_) return false;
  GdiSetTextListener(nullptr);
  recordingDc_ = nullptr;
  *window = recordingWindow_;
  *texts = std::move(texts_);
  texts_.clear();
  return true;
}

ScreenSurface::~ScreenSurface() {
  if (recordingDc_) GdiSetTextListener(nullptr);
  for (const Open &o : open_) DeleteDC(o.dc);
  if (bitmap_) DeleteObject(bitmap_);
}

}  // namespace platform
