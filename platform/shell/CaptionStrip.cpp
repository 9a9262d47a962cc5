#include "shell/CaptionStrip.h"

#include "shell/ShellLook.h"
#include "shell/ShellState.h"
#include "user/WindowManager.h"

namespace platform::shell {

namespace {

constexpr RECT kOkBox{kScreenWidth - 34, 3, kScreenWidth - 4, kCaptionHeight - 3};

const WindowRecord *Active() {
  WindowManager &m = Windows();
  return m.tree.Find(m.ActiveWindow());
}

bool HasOk(const WindowRecord *w) { return w && (w->exStyle & WS_EX_CAPTIONOKBTN); }

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (!dc) return;
  const WindowRecord *active = Active();
  const int right = HasOk(active) ? kOkBox.left - 4 : kScreenWidth - 4;
  const std::wstring &notice = Shell().notice;
  const int noticeLeft = notice.empty() ? right : right - TextWidth(notice);
  Caption(dc, CaptionTitle(), notice.empty() ? right : noticeLeft - 6);
  Text(dc, notice, {noticeLeft, 4, right, kCaptionHeight}, DT_LEFT, kNoticeText);
  if (HasOk(active)) {
    Frame(dc, kOkBox, kStripText);
    Text(dc, L"OK", {kOkBox.left, kOkBox.top + 1, kOkBox.right, kOkBox.bottom}, DT_CENTER, kStripText);
  }
  EndPaint(window, &paint);
}

void Tap(LPARAM lParam) {
  const POINT p{LOWORD(lParam), HIWORD(lParam)};
  const WindowRecord *active = Active();
  if (!HasOk(active) || p.x < kOkBox.left || p.x >= kOkBox.right) return;
  SendMessageW(active->handle, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK CaptionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_LBUTTONUP: Tap(lParam); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

void CreateCaptionStrip() {
  WindowManager &m = Windows();
  if (m.tree.Find(m.captionWindow)) return;
  m.AddClass(WindowClass{L"shell_caption", nullptr, &CaptionProc, 0, nullptr, true, true});
  m.captionWindow = CreateWindowExW(0, L"shell_caption", L"", WS_VISIBLE, 0, 0, kScreenWidth, kCaptionHeight,
                                    nullptr, nullptr, nullptr, nullptr);
}

std::wstring CaptionTitle() {
  const WindowRecord *active = Active();
  return active ? active->text : std::wstring();
}

void ShowNotice(const std::wstring &notice) {
  ShellState &state = Shell();
  if (state.notice == notice) return;
  state.notice = notice;
  WindowManager &m = Windows();
  if (m.tree.Find(m.captionWindow)) InvalidateRect(m.captionWindow, nullptr, FALSE);
}

std::wstring CaptionText() {
  std::wstring text = CaptionTitle();
  if (HasOk(Active())) text += L" | OK";
  return text;
}

}  // namespace platform::shell
