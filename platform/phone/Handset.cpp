// The phone's keys, stylus and screen as the device drives them.
#include "phone/Handset.h"

#include <algorithm>

#include "shell/CaptionStrip.h"
#include "shell/ModalLoop.h"
#include "shell/ShellState.h"
#include "user/WindowManager.h"
#include "win/shell.h"

namespace platform::handset {

namespace {

using shell::ModalLoop;
using shell::PhoneInput;

bool PhoneHasKey(UINT key) {
  switch (key) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_RETURN:
    case VK_TSOFT1: case VK_TSOFT2: case VK_TBACK:
      return true;
    default:
      return key >= '0' && key <= '9';
  }
}

bool Key(UINT key, bool down, std::source_location call) {
  WindowManager &m = Windows(call);
  if (!PhoneHasKey(key)) return false;
  if (ModalLoop *modal = ModalLoop::Open()) {
    modal->Deliver({down ? PhoneInput::Kind::KeyDown : PhoneInput::Kind::KeyUp, key, {0, 0}});
    return true;
  }
  const UINT message = down ? WM_KEYDOWN : WM_KEYUP;
  const LPARAM flags = down ? 1 : static_cast<LPARAM>(0xC0000001u);
  if (key == VK_TBACK) {
    const LPARAM lParam = MAKELPARAM(down ? 0 : MOD_KEYUP, VK_TBACK);
    if (HWND active = m.ActiveWindow())
      PostMessageW(active, WM_HOTKEY, 0, lParam);
    else
      PostThreadMessageW(GetCurrentThreadId(), WM_HOTKEY, 0, lParam);
    return true;
  }
  HWND target = m.focus;
  if (key == VK_TSOFT1 || key == VK_TSOFT2) {
    if (HWND bar = shell::Shell().BarOf(nullptr)) target = bar;
  }
  if (target) PostMessageW(target, message, key, flags);
  return true;
}

POINT Clamp(int x, int y) {
  return {std::clamp(x, 0, kScreenWidth - 1), std::clamp(y, 0, kScreenHeight - 1)};
}

void Stylus(PhoneInput::Kind kind, int x, int y, std::source_location call) {
  WindowManager &m = Windows(call);
  const POINT p = Clamp(x, y);
  if (ModalLoop *modal = ModalLoop::Open()) {
    modal->Deliver({kind, 0, p});
    return;
  }
  const WindowRecord *captured = m.tree.Find(m.capture);
  const HWND target = captured ? captured->handle : m.WindowFromPoint(p);
  if (kind == PhoneInput::Kind::StylusDown) m.capture = target;
  if (kind == PhoneInput::Kind::StylusUp) m.capture = nullptr;
  if (!target) return;
  const RECT r = m.tree.ScreenRect(*m.tree.Find(target));
  const UINT message = kind == PhoneInput::Kind::StylusDown ? WM_LBUTTONDOWN
                       : kind == PhoneInput::Kind::StylusUp ? WM_LBUTTONUP
                                                            : WM_MOUSEMOVE;
  const WPARAM buttons = kind == PhoneInput::Kind::StylusUp || !m.capture ? 0 : MK_LBUTTON;
  PostMessageW(target, message, buttons, MAKELPARAM(p.x - r.left, p.y - r.top));
}

}  // namespace

using Location = std::source_location;

bool KeyDown(UINT key) { return Key(key, true, Location::current()); }
bool KeyUp(UINT key) { return Key(key, false, Location::current()); }

void StylusDown(int x, int y) { Stylus(PhoneInput::Kind::StylusDown, x, y, Location::current()); }
void StylusMove(int x, int y) { Stylus(PhoneInput::Kind::StylusMove, x, y, Location::current()); }
void StylusUp(int x, int y) { Stylus(PhoneInput::Kind::StylusUp, x, y, Location::current()); }

bool RequestClose() {
  WindowManager &m = Windows();
  ModalLoop::CloseAll();
  HWND active = m.ActiveWindow();
  return active && PostMessageW(active, WM_CLOSE, 0, 0);
}

void SetLastWindowHook(std::function<void()> hook) { Windows().lastWindowHook = std::move(hook); }

HBITMAP ScreenBitmap() { return Windows().screen.Bitmap(); }
uint64_t ScreenVersion() { return Windows().screen.Version(); }
RECT TakeScreenDamage() { return Windows().screen.TakeDamage(); }
std::wstring CaptionTitle() { return shell::CaptionTitle(); }

std::vector<ScreenText> ScreenTexts() {
  shell::ShellState &state = shell::Shell();
  std::wstring softKeys;
  if (auto it = state.bars.find(state.BarOf(nullptr)); it != state.bars.end()) {
    for (const std::wstring &label : it->second->labels) softKeys += (softKeys.empty() ? L"" : L" | ") + label;
  }
  std::vector<ScreenText> texts{{"caption", shell::CaptionText()},
                                {"notice", state.notice},
                                {"softkeys", softKeys},
                                {"menu", state.menuText},
                                {"message", state.messageText}};
  for (auto &t : Windows().WindowTexts()) texts.push_back({t.source, t.text});
  return texts;
}

}  // namespace platform::handset
