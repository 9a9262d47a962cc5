#include "GdiHost.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "DeviceContext.h"
#include "base/OutputFile.h"
#include "GdiState.h"
#include "phone/Phone.h"

using namespace gdi;

namespace {

cairo_surface_t *SurfaceOf(HGDIOBJ handle, std::source_location call = std::source_location::current()) {
  Object *object = FindObject(handle, call);
  if (!object) return nullptr;
  if (object->kind == Kind::Bitmap) return object->bitmap->surface;
  return object->kind == Kind::DC ? DcSurface(*object->dc) : nullptr;
}

struct PngOutput {
  int fd;
  std::string why;  // of the first write that failed
};

cairo_status_t WritePngChunk(void *closure, const unsigned char *data, unsigned int length) {
  PngOutput &out = *static_cast<PngOutput *>(closure);
  size_t written;
  return drovane::WriteAll(out.fd, data, length, &written, &out.why) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

HDC GdiCreateTargetDC(HBITMAP target, const RECT &area) {
  return GdiCreateTargetDC(target, area, {0, 0, area.right - area.left, area.bottom - area.top});
}

HDC GdiCreateTargetDC(HBITMAP target, const RECT &area, const RECT &clip) {
  State &state = Current();
  Object *bitmap = state.Handles().Find(target, Kind::Bitmap);
  HDC hdc = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
  if (!hdc) return nullptr;
  Dc &dc = *FindDc(hdc);
  // Several window DCs may draw on the screen at once, so this is no selection.
  --state.Handles().Find(dc.bitmap)->uses;
  ++bitmap->uses;
  dc.bitmap = target;
  dc.memory = false;
  dc.origin = {area.left, area.top};
  cairo_surface_t *surface = bitmap->bitmap->surface;
  dc.bounds = {0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
  dc.bounds = SurfaceRect(dc, {0, 0, area.right - area.left, area.bottom - area.top});
  dc.bounds = SurfaceRect(dc, clip);
  dc.bounds.right = std::max(dc.bounds.right, dc.bounds.left);
  dc.bounds.bottom = std::max(dc.bounds.bottom, dc.bounds.top);
  BindSurface(dc, surface);
  return hdc;
}

bool GdiWritePng(HGDIOBJ bitmapOrDc, const char *path, std::string *why) {
  cairo_surface_t *surface = SurfaceOf(bitmapOrDc);
  std::string reason = "not a bitmap";
  PngOutput out{surface && path ? drovane::OpenForWriting(path, &reason) : -1, ""};
  if (out.fd < 0) {
    if (why) *why = reason;
    return false;
  }
  cairo_surface_flush(surface);
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface, WritePngChunk, &out);
  if (close(out.fd) != 0 && out.why.empty()) out.why = drovane::WhyNot(errno);
  if (status == CAIRO_STATUS_SUCCESS && out.why.empty()) return true;
  drovane::RemoveUnfinished(path);
  if (why) *why = out.why.empty() ? cairo_status_to_string(status) : out.why;
  return false;
}

COLORREF GdiGetPixel(HGDIOBJ bitmapOrDc, int x, int y) {
  cairo_surface_t *surface = SurfaceOf(bitmapOrDc);
  if (!surface || x < 0 || y < 0 || x >= cairo_image_surface_get_width(surface) ||
      y >= cairo_image_surface_get_height(surface))
    return CLR_INVALID;
  cairo_surface_flush(surface);
  const unsigned char *row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  uint32_t p = reinterpret_cast<const uint32_t *>(row)[x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool GdiReadPixels(HBITMAP bitmap, uint32_t *out, int width, int height, int top, int bottom) {
  Bitmap *b = FindBitmap(bitmap);
  if (!b || !out || cairo_image_surface_get_width(b->surface) != width ||
      cairo_image_surface_get_height(b->surface) != height)
    return false;
  cairo_surface_flush(b->surface);
  const unsigned char *data = cairo_image_surface_get_data(b->surface);
  const int stride = cairo_image_surface_get_stride(b->surface);
  if (bottom < 0 || bottom > height) bottom = height;
  for (int y = std::max(top, 0); y < bottom; ++y)
    std::memcpy(out + static_cast<size_t>(y) * width, data + static_cast<size_t>(y) * stride, width * 4u);
  return true;
}

void GdiSetTextListener(std::function<void(std::wstring_view text)> listener) {
  Current().textListener = std::move(listener);
}

std::size_t GdiLiveObjectCount() { return Current().Handles().LiveCount(); }

void GdiShutdown() {
  if (platform::Phone::Running())
    platform::ThreadRuleBroken(std::source_location::current(), platform::ThreadRule::kPhoneRunning);
  cairo_debug_reset_static_data();
  FcFini();
}
