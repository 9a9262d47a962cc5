#pragma once

// The shell's state beside the windows: open modals, the soft-key bars and
// what the pop-up menu and message box show. One per phone; its program
// thread only.
#include <map>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

#include "resources/Win32Resources.h"
#include "win/window.h"

namespace platform::shell {

class ModalLoop;

// A soft-key bar: its buttons with their labels, the pop-ups they open (and
// their handles, one per pop-up), and the window its commands go to.
struct SoftKeyBar {
  HWND parent = nullptr;
  std::vector<resources::MenuBarButton> buttons;
  std::vector<std::wstring> labels;
  resources::Menu menu;
  std::vector<HMENU> menuHandles;
};

struct ShellState {
  std::vector<ModalLoop *> modals;  // innermost last
  std::map<HWND, std::shared_ptr<const SoftKeyBar>> bars;
  std::wstring menuText, messageText;  // for the text trace; empty when closed
  std::wstring notice;                 // the caption strip's notice; empty when none

  // The bar of the window (or of the active window, for null), or null.
  HWND BarOf(HWND owner) const;
};

// The running phone's shell, for a call that belongs to its program thread
// (checked as Phone::ForProgramThread checks it).
ShellState &Shell(std::source_location call = std::source_location::current());

}  // namespace platform::shell
