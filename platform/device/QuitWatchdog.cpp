#include "device/QuitWatchdog.h"

#include <cstdio>
#include <cstdlib>

#include "device/Seconds.h"
#include "kernel/Platform.h"
#include "phone/Handset.h"

namespace platform::device {

void QuitWatchdog::Quit() {
  if (quitting_) return;
  quitting_ = true;
  handset::RequestClose();
  const Console *console = &console_;
  platform::ScheduleAt(platform::Now() + Seconds(kGraceSeconds), [console] {
    std::fflush(stdout);
    char grace[32];
    std::snprintf(grace, sizeof grace, "%g", kGraceSeconds);
    console->Say(std::string("the program did not end within ") + grace + " s of quitting; stopping it");
    std::_Exit(1);
  });
}

}  // namespace platform::device
