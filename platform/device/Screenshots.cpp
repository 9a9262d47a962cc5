#include "device/Screenshots.h"

#include "base/CommandLine.h"
#include "gdi/GdiHost.h"
#include "phone/Handset.h"

namespace platform::device {

bool Screenshots::Take(const std::string &path) {
  std::string why;
  if (GdiWritePng(handset::ScreenBitmap(), path.c_str(), &why)) return true;
  console_.Say("cannot write screenshot " + cli::Quoted(path) + ": " + why);
  return false;
}

void Screenshots::TakePending() {
  for (const std::string &path : pending_)
    if (!Take(path)) failed_ = true;
  pending_.clear();
}

void Screenshots::TakeLast() {
  if (lastScreen_.empty() || lastTaken_) return;
  lastTaken_ = true;
  if (!Take(lastScreen_) && lastAsked_) failed_ = true;
}

}  // namespace platform::device
