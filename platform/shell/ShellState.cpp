#include "shell/ShellState.h"

#include "kernel/Core.h"
#include "user/WindowManager.h"

namespace platform::shell {

ShellState &ShellState::Get() {
  static ShellState state;
  return state;
}

ShellState::ShellState() {
  Core::Get().AddResetHook([this] {
    modals.clear();
    bars.clear();
    menuText.clear();
    messageText.clear();
  });
}

HWND ShellState::BarOf(HWND owner) const {
  if (!owner) owner = WindowManager::Get().ActiveWindow();
  for (const auto &[bar, keys] : bars)
    if (owner && keys->parent == owner && IsWindow(bar)) return bar;
  return nullptr;
}

}  // namespace platform::shell
