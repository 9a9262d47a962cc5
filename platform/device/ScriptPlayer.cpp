#include "device/ScriptPlayer.h"

#include "device/Seconds.h"
#include "kernel/Platform.h"
#include "phone/Handset.h"

namespace platform::device {

void ScriptPlayer::Act(const ScriptAction &a) {
  using K = ScriptAction::Kind;
  switch (a.kind) {
    case K::Key: handset::KeyDown(a.key); handset::KeyUp(a.key); break;
    case K::KeyDown: handset::KeyDown(a.key); break;
    case K::KeyUp: handset::KeyUp(a.key); break;
    case K::Tap: handset::StylusDown(a.x, a.y); handset::StylusUp(a.x, a.y); break;
    case K::Press: handset::StylusDown(a.x, a.y); break;
    case K::Release: handset::StylusUp(a.x, a.y); break;
    case K::Screenshot: shots_.Ask(a.file); break;
    case K::Quit: quit_(); break;
  }
}

void ScriptPlayer::Schedule() {
  for (const ScriptAction &a : script_) platform::ScheduleAt(Seconds(a.seconds), [this, &a] { Act(a); });
}

}  // namespace platform::device
