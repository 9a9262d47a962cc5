#include "shell/ShellState.h"

#include "phone/Phone.h"
#include "user/WindowManager.h"

namespace platform::shell {

ShellState &Shell(std::source_location call) { return Phone::ForProgramThread(call).Shell(); }

HWND ShellState::BarOf(HWND owner) const {
  if (!owner) owner = Windows().ActiveWindow();
  for (const auto &[bar, keys] : bars)
    if (owner && keys->parent == owner && IsWindow(bar)) return bar;
  return nullptr;
}

}  // namespace platform::shell
