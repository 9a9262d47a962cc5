#pragma once

#include <functional>
#include <vector>

#include "device/Screenshots.h"
#include "device/Script.h"

namespace platform::device {

// Plays a script on the phone: each action runs at its time on the clock, as
// an occurrence on the program thread: keys and the stylus on the handset,
// screenshots asked of `shots`, and quit through `quit`. An occurrence holds
// only the player and the action's place, so it costs no allocation. The
// player and `shots` outlive the phone's occurrences.
class ScriptPlayer {
 public:
  ScriptPlayer(std::vector<ScriptAction> script, Screenshots &shots, std::function<void()> quit)
      : script_(std::move(script)), shots_(shots), quit_(std::move(quit)) {}
  ScriptPlayer(const ScriptPlayer &) = delete;
  ScriptPlayer &operator=(const ScriptPlayer &) = delete;

  void Schedule();

 private:
  void Act(const ScriptAction &a);

  const std::vector<ScriptAction> script_;
  Screenshots &shots_;
  const std::function<void()> quit_;
};

}  // namespace platform::device
