// MessageBoxW: the shell's message box over the whole screen, run as a modal
// loop until Enter, the left soft key, Back or a tap on its "OK" soft key.
#include <string>

#include "shell/ModalLoop.h"
#include "shell/ShellLook.h"
#include "shell/ShellState.h"
#include "user/WindowManager.h"
#include "win/shell.h"

using namespace platform::shell;

namespace {

class MessageLoop : public ModalLoop {
 public:
  MessageLoop(std::wstring text, std::wstring caption) : text_(std::move(text)), caption_(std::move(caption)) {}

 protected:
  void Draw() override {
    ScreenPainter painter;
    HDC dc = painter.dc();
    const int w = platform::kScreenWidth, h = platform::kScreenHeight;
    Caption(dc, caption_, w - 4);
    Fill(dc, {0, platform::kCaptionHeight, w, platform::kSoftKeyTop}, kPanelBack);
    Text(dc, text_, {8, platform::kCaptionHeight + 10, w - 8, platform::kSoftKeyTop - 4}, DT_LEFT, kPanelText);
    Fill(dc, {0, platform::kSoftKeyTop, w, h}, kStripBack);
    Text(dc, L"OK", {0, platform::kSoftKeyTop + 5, w / 2, h}, DT_CENTER, kStripText);
    std::wstring trace = caption_;
    trace += L" | ";
    trace += text_;
    trace += L" | OK";
    Shell().messageText = trace;
  }

  void Handle(const PhoneInput &input) override {
    const bool closingKey = input.key == VK_RETURN || input.key == VK_TSOFT1 || input.key == VK_TBACK;
    if (input.kind == PhoneInput::Kind::KeyDown && closingKey) Close();
    const bool onOk = input.point.y >= platform::kSoftKeyTop && input.point.x < platform::kScreenWidth / 2;
    if (input.kind == PhoneInput::Kind::StylusUp && onOk) Close();
  }

 private:
  std::wstring text_, caption_;
};

}  // namespace

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT) {
  platform::WindowManager &windows = platform::Windows();
  if (owner && !IsWindow(owner)) return 0;
  MessageLoop loop(text ? text : L"", caption ? caption : L"Error");
  if (!loop.Run()) return 0;
  Shell().messageText.clear();
  windows.Expose({0, 0, platform::kScreenWidth, platform::kScreenHeight});
  return IDOK;
}
