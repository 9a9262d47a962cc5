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
  if (dc) open_.push_back(dc);
  return dc;
}

bool ScreenSurface::CloseDC(HDC dc) {
  auto it = std::find(open_.begin(), open_.end(), dc);
  if (!dc || it == open_.end()) return false;
  open_.erase(it);
  DeleteDC(dc);
  Changed();
  return true;
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
  for (HDC dc : open_) DeleteDC(dc);
  if (bitmap_) DeleteObject(bitmap_);
}

}  // namespace platform
