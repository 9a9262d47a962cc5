// A small program for the phone (not the tuner): a window with the caption's
// OK box, a STATIC child and a soft-key menu bar from its own resources. Its
// window shows, as text, the input messages it received, so a headless run's
// text trace and screenshots show what reached its window procedure.
#include <deque>
#include <string>

#include "device/ProgramCommandLine.h"
#include "resources/KeptResources.h"
#include "resources/ResourceTable.h"
#include "win/shell.h"

namespace {

bool running = true;
std::deque<std::wstring> heard;

void Hear(HWND window, const std::wstring &what) {
  heard.push_back(what);
  if (heard.size() > 10) heard.pop_front();
  InvalidateRect(window, nullptr, TRUE);
}

std::wstring Number(WPARAM v) { return std::to_wstring(static_cast<unsigned long>(v)); }
std::wstring Point(LPARAM l) { return Number(LOWORD(l)) + L"," + Number(HIWORD(l)); }

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SetBkMode(dc, TRANSPARENT);
  RECT line{100, 4, 240, 22};
  DrawTextW(dc, L"heard:", -1, &line, DT_LEFT);
  for (const std::wstring &h : heard) {
    line.top += 18;
    line.bottom += 18;
    DrawTextW(dc, h.c_str(), -1, &line, DT_LEFT);
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_KEYDOWN: Hear(window, L"keydown " + Number(wParam)); break;
    case WM_KEYUP: Hear(window, L"keyup " + Number(wParam)); break;
    case WM_CHAR: Hear(window, L"char " + Number(wParam)); break;
    case WM_LBUTTONDOWN: Hear(window, L"down " + Point(lParam)); break;
    case WM_LBUTTONUP: Hear(window, L"up " + Point(lParam)); break;
    case WM_HOTKEY: Hear(window, L"hotkey " + Number(HIWORD(lParam)) + L"/" + Number(LOWORD(lParam))); return 0;
    case WM_COMMAND:
      Hear(window, L"command " + Number(LOWORD(wParam)));
      if (LOWORD(wParam) == 705) MessageBoxW(window, L"Phone test\r\nversion 1", L"About", MB_OK);
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == 702) DestroyWindow(window);
      return 0;
    case WM_DESTROY: running = false; return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterResources(HINSTANCE module) {
  using resources::MenuBarButton;
  resources::RegisterKept(module, ResourceTable::Id(ResourceTable::kRcData), ResourceTable::Id(701),
                          resources::EncodeMenuBar(
                              {703,
                               {MenuBarButton{702, TBSTATE_ENABLED, TBSTYLE_AUTOSIZE, 702, NOMENU},
                                MenuBarButton{704, TBSTATE_ENABLED, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE, 704, 0}}}));
  resources::RegisterKept(module, ResourceTable::Id(ResourceTable::kMenu), ResourceTable::Id(703),
                          resources::EncodeMenu(
                              {{L"Menu", {{710, L"First"}, {}, {711, L"Second"}, {705, L"About"}}}}));
  resources::RegisterKeptStrings(module, {{702, L"Close"}, {704, L"Menu"}});
}

HWND CreateMainWindow(HINSTANCE module) {
  WNDCLASSW cls{};
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = &WindowProc;
  cls.hInstance = module;
  cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  cls.lpszClassName = L"phone-test";
  if (!RegisterClassW(&cls)) return nullptr;
  HWND window = CreateWindowExW(WS_EX_CAPTIONOKBTN, L"phone-test", L"Phone test", WS_VISIBLE, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, module, nullptr);
  if (!window) return nullptr;
  CreateWindowExW(0, L"STATIC", L"G", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 70, 40, 20, window, nullptr, module,
                  nullptr);
  SHMENUBARINFO info{};
  info.cbSize = sizeof info;
  info.hwndParent = window;
  info.nToolBarId = 701;
  info.hInstRes = module;
  if (SHCreateMenuBar(&info)) {
    RECT own, bar;
    GetWindowRect(window, &own);
    GetWindowRect(info.hwndMB, &bar);
    MoveWindow(window, own.left, own.top, own.right - own.left, bar.top - own.top, TRUE);
  }
  SetFocus(window);
  return window;
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPWSTR, int) {
  RegisterResources(module);
  if (!CreateMainWindow(module)) return 3;
  while (running) {
    MSG msg;
    while (running && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (running && MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, 0x7F, 0) == WAIT_FAILED) break;
  }
  return 0;
}

// No options of its own.
const platform::device::ProgramOptions &ProgramCommandLine() {
  static const platform::device::ProgramOptions none{"", {}, nullptr};
  return none;
}
