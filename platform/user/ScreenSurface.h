#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win/window.h"

namespace platform {

// The screen's frame buffer (a gdi bitmap, made on first use and deleted
// with the window manager), the DCs windows draw on it with, its change
// counter and the part of it drawn on since a presenter last asked (each
// closed DC's clip), and the texts a top-level window's paint draws.
// Program thread only.
class ScreenSurface {
 public:
  ScreenSurface() = default;
  ~ScreenSurface();
  ScreenSurface(const ScreenSurface &) = delete;
  ScreenSurface &operator=(const ScreenSurface &) = delete;

  HBITMAP Bitmap();
  uint64_t Version() const { return version_; }
  // The bounds of what was drawn since the last call (empty: nothing).
  RECT TakeDamage();

  // A DC with logical (0, 0) at `origin` (screen) drawing only inside `clip`
  // (screen). Null if the screen cannot be made.
  HDC OpenDC(POINT origin, const RECT &clip);
  // Deletes a DC made by OpenDC and counts a change; false for any other.
  bool CloseDC(HDC dc);
  // Fills a screen rectangle with the colour where no window is.
  void FillDesktop(const RECT &area);

  // Collects every text drawn on any DC while `window` paints with `dc`,
  // until StopRecording with that DC, which gives them in drawing order and
  // the window. One recording at a time: a nested start is ignored.
  void StartRecording(HDC dc, HWND window);
  bool StopRecording(HDC dc, HWND *window, std::vector<std::wstring> *texts);

 private:
  struct Open {
    HDC dc;
    RECT clip;  // screen coordinates
  };
  HBITMAP bitmap_ = nullptr;
  uint64_t version_ = 0;
  RECT damage_{};
  std::vector<Open> open_;
  HDC recordingDc_ = nullptr;
  HWND recordingWindow_ = nullptr;
  std::vector<std::wstring> texts_;
};

}  // namespace platform
