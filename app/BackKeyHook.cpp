#include "BackKeyHook.h"

#include "win/shell.h"

namespace {

// The key-state words a real Back key carries (repeat 1, its scan code, and
// for the release the previous-state and transition bits).
constexpr LPARAM kPressBits = 0x00690001;
constexpr LPARAM kReleaseBits = static_cast<LPARAM>(0xC0690001u);

void Deliver(HWND target, UINT message, LPARAM lParam) {
  MSG key{};
  key.hwnd = target;
  key.message = message;
  key.wParam = VK_BACK;
  key.lParam = lParam;
  TranslateMessage(&key);
  DispatchMessageW(&key);
}

}  // namespace

void BackKeyHook(const MSG &msg, bool *handled) {
  *handled = true;
  const auto lParam = static_cast<DWORD>(msg.lParam);
  if ((lParam >> 16) != VK_TBACK) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return;
  }
  HWND target = GetFocus();
  if (lParam & MOD_KEYUP) {
    Deliver(target, WM_KEYUP, kReleaseBits);
  } else {
    Deliver(target, WM_KEYDOWN, kPressBits);
    Deliver(target, WM_CHAR, kPressBits);
  }
}
