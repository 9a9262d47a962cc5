#pragma once

// A fresh phone on the virtual clock with one window class whose procedure
// logs the messages it gets and can be told how to answer some of them.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "VirtualPlatform.h"
#include "gdi/GdiHost.h"
#include "phone/Handset.h"
#include "shell/ShellLook.h"
#include "user/ScreenGeometry.h"
#include "win/shell.h"

class WindowFixture : public VirtualPlatform {
 protected:
  static inline std::vector<std::string> log;
  static inline std::map<UINT, std::function<LRESULT(HWND, WPARAM, LPARAM)>> handlers;
  static inline const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(0x400000);
  // A top-level window made with CW_USEDEFAULT: below the caption strip,
  // down to the screen's bottom (the soft-key bar comes later).
  static constexpr int kDefaultWidth = platform::kScreenWidth;
  static constexpr int kDefaultHeight = platform::kScreenHeight - platform::kCaptionHeight;
  static inline const std::string kDefaultSize = std::to_string(kDefaultWidth) + "x" + std::to_string(kDefaultHeight);

  void SetUp() override {
    VirtualPlatform::SetUp();
    phone->SwitchOn();
    log.clear();
    handlers.clear();
    WNDCLASSW cls{};
    cls.lpfnWndProc = &Proc;
    cls.hInstance = kModule;
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    cls.lpszClassName = L"test-wnd";
    ASSERT_NE(RegisterClassW(&cls), 0);
    Drain();
    gdiStart = GdiLiveObjectCount();
  }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    log.push_back(Describe(window, message, wParam, lParam));
    auto it = handlers.find(message);
    if (it != handlers.end()) return it->second(window, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  // "NAME wParam lParam" for the messages the tests look at; the window's
  // text, if any, in front.
  static std::string Describe(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    wchar_t title[32] = L"";
    GetWindowTextW(window, title, 32);
    std::string who(title, title + std::wcslen(title));
    auto words = [&](const char *name) {
      return who + ":" + name + " " + std::to_string(LOWORD(lParam)) + "," + std::to_string(HIWORD(lParam));
    };
    switch (message) {
      case WM_CREATE: {
        auto *c = reinterpret_cast<CREATESTRUCTW *>(lParam);
        return who + ":create " + std::to_string(c->cx) + "x" + std::to_string(c->cy);
      }
      case WM_DESTROY: return who + ":destroy";
      case WM_PAINT: return who + ":paint";
      case WM_ERASEBKGND: return who + ":erase";
      case WM_SIZE: return words("size");
      case WM_KEYDOWN: return who + ":keydown " + std::to_string(wParam);
      case WM_KEYUP: return who + ":keyup " + std::to_string(wParam);
      case WM_CHAR: return who + ":char " + std::to_string(wParam);
      case WM_COMMAND: return who + ":command " + std::to_string(wParam);
      case WM_HOTKEY: return who + ":hotkey " + std::to_string(HIWORD(lParam)) + "/" + std::to_string(LOWORD(lParam));
      case WM_LBUTTONDOWN: return words("down");
      case WM_LBUTTONUP: return words("up");
      case WM_MOUSEMOVE: return words("move");
      case WM_CLOSE: return who + ":close";
      default: return who + ":" + std::to_string(message);
    }
  }

  static HWND Make(const wchar_t *title, DWORD style = WS_VISIBLE, HWND parent = nullptr, RECT r = {}) {
    const bool useDefault = r.right == 0;
    return CreateWindowExW(0, L"test-wnd", title, style, useDefault ? CW_USEDEFAULT : r.left,
                           useDefault ? CW_USEDEFAULT : r.top, useDefault ? CW_USEDEFAULT : r.right - r.left,
                           useDefault ? CW_USEDEFAULT : r.bottom - r.top, parent, nullptr, kModule, nullptr);
  }

  // Runs the queue as the program's loop does, translating keys; gives up
  // after a thousand messages.
  static void Pump() {
    MSG msg;
    for (int n = 0; n < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  static std::vector<std::string> TakeLog() {
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
  }

  static COLORREF Pixel(int x, int y) { return GdiGetPixel(platform::handset::ScreenBitmap(), x, y); }

  size_t gdiStart = 0;
};
