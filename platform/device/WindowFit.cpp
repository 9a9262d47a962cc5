#include "device/WindowFit.h"

#include <algorithm>

#include "user/ScreenGeometry.h"

namespace platform::device {

namespace {

constexpr int kW = kScreenWidth, kH = kScreenHeight;
// Room left for a window manager's frame and caption.
constexpr int kDecoration = 48;

std::string Size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

// The largest picture of the phone's aspect within w × h.
Area Within(int w, int h) {
  if (static_cast<long>(w) * kH <= static_cast<long>(h) * kW) return {0, 0, w, static_cast<int>(static_cast<long>(w) * kH / kW)};
  return {0, 0, static_cast<int>(static_cast<long>(h) * kW / kH), h};
}

}  // namespace

WindowFit FitWindow(int scale, const Area &usable) {
  WindowFit fit;
  if (usable.w <= 0 || usable.h <= 0) {
    fit.window = {0, 0, kW * std::max(scale, 1), kH * std::max(scale, 1)};
    return fit;
  }
  const int roomW = usable.w, roomH = std::max(usable.h - kDecoration, 1);
  const int largest = std::min(roomW / kW, roomH / kH);
  const std::string room = Size(usable.w, usable.h);
  if (largest >= 1) {
    const int chosen = scale == 0 ? largest : std::min(scale, largest);
    if (chosen != scale && scale != 0)
      fit.note = "--scale " + std::to_string(scale) + " does not fit the screen's usable area (" + room +
                 "): the window is enlarged " + std::to_string(chosen) + (chosen == 1 ? " time" : " times") +
                 " instead";
    fit.window = {0, 0, kW * chosen, kH * chosen};
  } else {
    fit.window = Within(roomW, roomH);
    fit.note = "the screen's usable area (" + room + ") is smaller than the phone's screen (" + Size(kW, kH) +
               "): the window shows it at " + Size(fit.window.w, fit.window.h);
  }
  fit.window.x = usable.x + std::max((usable.w - fit.window.w) / 2, 0);
  fit.window.y = usable.y + std::max((usable.h - fit.window.h) / 2, 0);
  return fit;
}

Area Letterbox(int width, int height) {
  Area box = Within(width, height);
  box.x = (width - box.w) / 2;
  box.y = (height - box.h) / 2;
  return box;
}

bool PhonePoint(const Area &box, int x, int y, int *phoneX, int *phoneY) {
  if (box.w <= 0 || box.h <= 0) return false;
  const int px = static_cast<int>((static_cast<long>(x) - box.x) * kW / box.w);
  const int py = static_cast<int>((static_cast<long>(y) - box.y) * kH / box.h);
  *phoneX = std::clamp(px, 0, kW - 1);
  *phoneY = std::clamp(py, 0, kH - 1);
  return x >= box.x && y >= box.y && x < box.x + box.w && y < box.y + box.h;
}

}  // namespace platform::device
