#include "device/ScriptPlayer.h"

#include "device/Seconds.h"
#include "kernel/Platform.h"
#include "phone/Handset.h"

namespace platform::device {

namespace {

void Act(const ScriptAction &a, Screenshots &shots, const std::function<void()> &quit) {
  using K = ScriptAction::Kind;
  switch (a.kind) {
    case K::Key: handset::KeyDown(a.key); handset::KeyUp(a.key); break;
    case K::KeyDown: handset::KeyDown(a.key); break;
    case K::KeyUp: handset::KeyUp(a.key); break;
    case K::Tap: handset::StylusDown(a.x, a.y); handset::StylusUp(a.x, a.y); break;
    case K::Press: handset::StylusDown(a.x, a.y); break;
    case K::Release: handset::StylusUp(a.x, a.y); break;
    case K::Screenshot: shots.Ask(a.file); break;
    case K::Quit: quit(); break;
  }
}

}  // namespace

void ScheduleScript(const std::vector<ScriptAction> &script, Screenshots &shots, std::function<void()> quit) {
  for (const ScriptAction &a : script)
    platform::ScheduleAt(Seconds(a.seconds), [a, &shots, quit] { Act(a, shots, quit); });
}

}  // namespace platform::device
