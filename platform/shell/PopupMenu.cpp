#include "shell/PopupMenu.h"

#include <algorithm>

#include "shell/ModalLoop.h"
#include "shell/ShellLook.h"
#include "shell/ShellState.h"
#include "user/WindowManager.h"
#include "win/shell.h"

namespace platform::shell {

namespace {

constexpr int kItemHeight = 20;
constexpr int kRuleHeight = 7;
constexpr int kNumberWidth = 18;

class PopupLoop : public ModalLoop {
 public:
  PopupLoop(const resources::Popup &popup, UINT softKey, bool rightAligned)
      : popup_(popup), softKey_(softKey) {
    int width = 0, height = 2;
    for (const auto &item : popup_.items) {
      width = std::max(width, TextWidth(item.text));
      height += item.Separator() ? kRuleHeight : kItemHeight;
    }
    width = std::clamp(width + kNumberWidth + 16, 100, kScreenWidth);
    const int left = rightAligned ? kScreenWidth - width : 0;
    area_ = {left, std::max(kCaptionHeight, kSoftKeyTop - height), left + width, kSoftKeyTop};
    highlight_ = Step(-1, 1);
  }

  WORD chosen() const { return chosen_; }
  RECT area() const { return area_; }

 protected:
  void Draw() override;
  void Handle(const PhoneInput &input) override;

 private:
  // The next item (not a separator) from `from` in direction `step`, wrapping.
  int Step(int from, int step) const;
  int ItemAt(POINT p) const;
  RECT ItemRect(int index) const;
  void Choose(int index);
  void OnKey(UINT key);

  const resources::Popup &popup_;
  UINT softKey_;
  RECT area_{};
  int highlight_ = -1;
  int pressed_ = -1;
  WORD chosen_ = 0;
};

int PopupLoop::Step(int from, int step) const {
  const int n = static_cast<int>(popup_.items.size());
  for (int i = 1; i <= n; ++i) {
    const int at = ((from + step * i) % n + n) % n;
    if (!popup_.items[at].Separator()) return at;
  }
  return -1;
}

RECT PopupLoop::ItemRect(int index) const {
  int top = area_.top + 1;
  for (int i = 0; i < index; ++i) top += popup_.items[i].Separator() ? kRuleHeight : kItemHeight;
  const int height = popup_.items[index].Separator() ? kRuleHeight : kItemHeight;
  return {area_.left + 1, top, area_.right - 1, top + height};
}

int PopupLoop::ItemAt(POINT p) const {
  for (int i = 0; i < static_cast<int>(popup_.items.size()); ++i)
    if (!popup_.items[i].Separator() && Contains(ItemRect(i), p)) return i;
  return -1;
}

void PopupLoop::Draw() {
  ScreenPainter painter;
  HDC dc = painter.dc();
  Fill(dc, area_, kPanelBack);
  Frame(dc, area_, kRule);
  std::wstring trace;
  int number = 0;
  for (int i = 0; i < static_cast<int>(popup_.items.size()); ++i) {
    const resources::MenuItem &item = popup_.items[i];
    const RECT r = ItemRect(i);
    if (!trace.empty()) trace += L" | ";
    if (item.Separator()) {
      const int y = (r.top + r.bottom) / 2;
      Fill(dc, {r.left + 4, y, r.right - 4, y + 1}, kRule);
      trace += L"-";
      continue;
    }
    const COLORREF ink = i == highlight_ ? kStripText : kPanelText;
    if (i == highlight_) Fill(dc, r, kHighlight);
    const std::wstring digit = ++number <= 9 ? std::to_wstring(number) : L"";
    Text(dc, digit, {r.left + 4, r.top + 2, r.left + kNumberWidth, r.bottom}, DT_LEFT, ink);
    Text(dc, item.text, {r.left + kNumberWidth + 4, r.top + 2, r.right - 2, r.bottom}, DT_LEFT, ink);
    trace += digit.empty() ? item.text : digit + L" " + item.text;
  }
  Shell().menuText = trace;
}

void PopupLoop::Choose(int index) {
  if (index < 0) return;
  chosen_ = popup_.items[index].id;
  Close();
}

void PopupLoop::OnKey(UINT key) {
  if (key == VK_UP || key == VK_DOWN) {
    highlight_ = Step(highlight_, key == VK_UP ? -1 : 1);
    Draw();
  } else if (key == VK_RETURN) {
    Choose(highlight_);
  } else if (key >= '1' && key <= '9') {
    int number = 0;
    for (int i = 0; i < static_cast<int>(popup_.items.size()); ++i)
      if (!popup_.items[i].Separator() && ++number == static_cast<int>(key - '0')) Choose(i);
  } else if (key == VK_TBACK || key == softKey_) {
    Close();
  }
}

void PopupLoop::Handle(const PhoneInput &input) {
  switch (input.kind) {
    case PhoneInput::Kind::KeyDown:
      OnKey(input.key);
      break;
    case PhoneInput::Kind::StylusDown:
      pressed_ = ItemAt(input.point);
      if (pressed_ >= 0) {
        highlight_ = pressed_;
        Draw();
      } else if (!Contains(area_, input.point)) {
        Close();
      }
      break;
    case PhoneInput::Kind::StylusUp:
      if (pressed_ >= 0 && ItemAt(input.point) == pressed_) Choose(pressed_);
      pressed_ = -1;
      break;
    default:
      break;
  }
}

}  // namespace

WORD TrackPopup(const resources::Popup &popup, UINT softKey, bool rightAligned) {
  if (popup.items.empty()) return 0;
  PopupLoop loop(popup, softKey, rightAligned);
  if (!loop.Run()) return 0;
  Shell().menuText.clear();
  Windows().Expose(loop.area());
  return loop.chosen();
}

}  // namespace platform::shell
