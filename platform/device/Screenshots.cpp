#include "device/Screenshots.h"

#include "gdi/GdiHost.h"
#include "phone/Handset.h"

namespace platform::device {

void Screenshots::TakePending() {
  for (const std::string &path : pending_) {
    if (GdiWritePng(handset::ScreenBitmap(), path.c_str())) continue;
    console_.Say("cannot write screenshot '" + path + "'");
    failed_ = true;
  }
  pending_.clear();
}

void Screenshots::TakeLast() {
  if (lastScreen_.empty() || lastTaken_) return;
  lastTaken_ = true;
  Ask(lastScreen_);
  TakePending();
}

}  // namespace platform::device
