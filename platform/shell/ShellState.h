#pragma once

// The shell's state beside the windows: open modals, the soft-key bars and
// what the pop-up menu and message box show. Cleared by a platform reset.
// Program thread only.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "resources/Win32Resources.h"
#include "win/window.h"

namespace platform::shell {

class ModalLoop;

// A soft-key bar: its buttons with their labels, the pop-ups they open, and
// the window its commands go to.
struct SoftKeyBar {
  HWND parent = nullptr;
  std::vector<resources::MenuBarButton> buttons;
  std::vector<std::wstring> labels;
  resources::Menu menu;
};

struct ShellState {
  static ShellState &Get();

  std::vector<ModalLoop *> modals;  // innermost last
  std::map<HWND, std::shared_ptr<const SoftKeyBar>> bars;
  std::wstring menuText, messageText;  // for the text trace; empty when closed

  // The bar of the window (or of the active window, for null), or null.
  HWND BarOf(HWND owner) const;

 private:
  ShellState();
};

}  // namespace platform::shell
