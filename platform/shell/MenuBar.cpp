// SHCreateMenuBar and the soft-key bar window it makes.
#include <algorithm>
#include <memory>

#include "kernel/HandleCounter.h"
#include "kernel/Platform.h"
#include "resources/ResourceTable.h"
#include "shell/PopupMenu.h"
#include "shell/ShellLook.h"
#include "shell/ShellState.h"
#include "user/WindowManager.h"
#include "win/shell.h"

using platform::WindowManager;
using platform::shell::SoftKeyBar;

namespace {

constexpr int kHalf = platform::kScreenWidth / 2;

platform::HandleCounter menuHandles{0x7A01, 1};

std::span<const unsigned char> Resource(HINSTANCE module, WORD type, WORD id) {
  return ResourceTable::Find(module, ResourceTable::Id(type), ResourceTable::Id(id));
}

bool LoadString(HINSTANCE module, WORD id, std::wstring *text) {
  auto block = Resource(module, ResourceTable::kString, resources::StringBlockId(id));
  auto decoded = block.data() ? resources::DecodeString(block, id) : std::nullopt;
  if (!decoded || decoded->empty()) return false;
  *text = *decoded;
  return true;
}

// The bar's buttons, labels and pop-ups from the program's resources; false
// when any is missing or malformed.
bool LoadBar(HINSTANCE module, WORD id, SoftKeyBar *bar) {
  resources::MenuBar layout;
  auto bytes = Resource(module, ResourceTable::kRcData, id);
  if (!bytes.data() || !resources::DecodeMenuBar(bytes, &layout)) return false;
  if (layout.buttons.empty() || layout.buttons.size() > 2) return false;
  bool needsMenu = false;
  for (const auto &b : layout.buttons) needsMenu = needsMenu || b.popup != NOMENU;
  if (needsMenu) {
    auto menu = Resource(module, ResourceTable::kMenu, layout.menu);
    if (!menu.data() || !resources::DecodeMenu(menu, &bar->menu)) return false;
  }
  for (const auto &b : layout.buttons) {
    std::wstring label;
    if (!LoadString(module, b.label, &label)) return false;
    if (b.popup != NOMENU && b.popup >= bar->menu.size()) return false;
    bar->labels.push_back(label);
  }
  bar->buttons = layout.buttons;
  for (size_t i = 0; i < bar->menu.size(); ++i)
    bar->menuHandles.push_back(reinterpret_cast<HMENU>(menuHandles.Next()));
  return true;
}

std::shared_ptr<const SoftKeyBar> BarOf(HWND window) {
  auto &bars = platform::shell::Shell().bars;
  auto it = bars.find(window);
  return it == bars.end() ? nullptr : it->second;
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (!dc) return;
  using namespace platform::shell;
  Fill(dc, {0, 0, platform::kScreenWidth, platform::kSoftKeyHeight}, kStripBack);
  Fill(dc, {kHalf, 4, kHalf + 1, platform::kSoftKeyHeight - 4}, kRule);
  if (auto bar = BarOf(window)) {
    for (size_t i = 0; i < bar->labels.size(); ++i) {
      const RECT half{static_cast<LONG>(i * kHalf), 5, static_cast<LONG>((i + 1) * kHalf), platform::kSoftKeyHeight};
      Text(dc, bar->labels[i], half, DT_CENTER, kStripText);
    }
  }
  EndPaint(window, &paint);
}

HMENU SubMenu(HWND window, LPARAM command) {
  auto bar = BarOf(window);
  if (!bar) return nullptr;
  for (const resources::MenuBarButton &b : bar->buttons)
    if (b.command == command && b.popup != NOMENU) return bar->menuHandles[b.popup];
  return nullptr;
}

// A soft key: a command for the bar's parent, or its pop-up first.
void Press(HWND window, size_t index) {
  auto bar = BarOf(window);  // kept alive while the pop-up runs and the parent handles the command
  if (!bar || index >= bar->buttons.size()) return;
  const resources::MenuBarButton &button = bar->buttons[index];
  if (!(button.state & TBSTATE_ENABLED)) return;
  WORD command = button.command;
  if ((button.style & TBSTYLE_DROPDOWN) && button.popup != NOMENU) {
    command = platform::shell::TrackPopup(bar->menu[button.popup], index == 0 ? VK_TSOFT1 : VK_TSOFT2, index == 1);
    if (!command) return;
  }
  SendMessageW(bar->parent, WM_COMMAND, command, 0);
}

LRESULT CALLBACK BarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_TSOFT1 || wParam == VK_TSOFT2) Press(window, wParam == VK_TSOFT1 ? 0 : 1);
      return 0;
    case WM_LBUTTONUP:
      Press(window, LOWORD(lParam) < kHalf ? 0 : 1);
      return 0;
    case SHCMBM_GETSUBMENU:
      return reinterpret_cast<LRESULT>(SubMenu(window, lParam));
    case WM_DESTROY:
      platform::shell::Shell().bars.erase(window);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info) {
  WindowManager &m = platform::Windows();
  uintptr_t injected;
  if (platform::InjectedFailure("SHCreateMenuBar", &injected)) {
    if (info) info->hwndMB = nullptr;
    return static_cast<BOOL>(injected);
  }
  if (!info || info->cbSize != sizeof(SHMENUBARINFO)) return FALSE;
  info->hwndMB = nullptr;
  auto bar = std::make_shared<SoftKeyBar>();
  bar->parent = info->hwndParent;
  if (!IsWindow(info->hwndParent) || !LoadBar(info->hInstRes, static_cast<WORD>(info->nToolBarId), bar.get()))
    return FALSE;
  m.AddClass(platform::WindowClass{L"menu_worker", nullptr, &BarProc, 0, nullptr, true, true});
  const HWND window = CreateWindowExW(0, L"menu_worker", L"", WS_VISIBLE, 0, platform::kSoftKeyTop,
                                      platform::kScreenWidth, platform::kSoftKeyHeight, info->hwndParent, nullptr,
                                      nullptr, nullptr);
  if (!window) return FALSE;
  platform::shell::Shell().bars[window] = bar;
  info->hwndMB = window;
  return TRUE;
}

namespace {

// The pop-up `menu` of a live bar, to be changed: the bar is replaced, not
// changed, so a pop-up running keeps the bar it opened. `change` edits the
// copy's items and says whether it did; only then does the copy replace the
// bar.
template <typename Change>
BOOL ChangeMenu(HMENU menu, Change change) {
  for (auto &[window, bar] : platform::shell::Shell().bars) {
    for (size_t p = 0; p < bar->menuHandles.size(); ++p) {
      if (bar->menuHandles[p] != menu) continue;
      auto changed = std::make_shared<SoftKeyBar>(*bar);
      if (!change(changed->menu[p].items)) return FALSE;
      bar = changed;
      return TRUE;
    }
  }
  return FALSE;
}

using Items = std::vector<resources::MenuItem>;

// The plain item whose command is `id`, or end.
Items::iterator ItemOf(Items &items, UINT id) {
  return std::find_if(items.begin(), items.end(),
                      [id](const resources::MenuItem &item) { return !item.Separator() && item.id == id; });
}

}  // namespace

BOOL WINAPI ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newId, LPCWSTR text) {
  if (flags != (MF_BYCOMMAND | MF_STRING) || !text) return FALSE;
  return ChangeMenu(menu, [&](Items &items) {
    const auto item = ItemOf(items, position);
    if (item == items.end()) return false;
    item->id = static_cast<WORD>(newId);
    item->text = text;
    return true;
  });
}

BOOL WINAPI InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newId, LPCWSTR text) {
  if (flags != (MF_BYPOSITION | MF_STRING) || !text) return FALSE;
  return ChangeMenu(menu, [&](Items &items) {
    if (position > items.size()) return false;
    items.insert(items.begin() + position, resources::MenuItem{static_cast<WORD>(newId), text});
    return true;
  });
}

BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags) {
  if (flags != MF_BYCOMMAND) return FALSE;
  return ChangeMenu(menu, [&](Items &items) {
    const auto item = ItemOf(items, position);
    if (item == items.end()) return false;
    items.erase(item);
    return true;
  });
}
