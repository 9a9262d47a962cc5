#pragma once

#include <functional>
#include <vector>

#include "device/Screenshots.h"
#include "device/Script.h"

namespace platform::device {

// Plays a script on the phone: each action runs at its time on the clock, as
// an occurrence on the program thread: keys and the stylus on the handset,
// screenshots asked of `shots`, and quit through `quit`. Both outlive the
// phone's occurrences (the player is done once Schedule returns).
void ScheduleScript(const std::vector<ScriptAction> &script, Screenshots &shots, std::function<void()> quit);

}  // namespace platform::device
