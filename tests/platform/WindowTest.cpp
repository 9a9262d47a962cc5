#include <gtest/gtest.h>

#include "WindowFixture.h"

namespace {

using Log = std::vector<std::string>;
using WindowTest = WindowFixture;

TEST_F(WindowTest, WindowsAreMadeSizedAndDestroyedWithTheirChildrenAndStaleHandlesFailCleanly) {
  WNDCLASSW again{};
  again.lpfnWndProc = &Proc;
  again.hInstance = kModule;
  again.lpszClassName = L"TEST-WND";
  EXPECT_EQ(RegisterClassW(&again), 0) << "a class name is unique per module, whatever its case";
  EXPECT_EQ(CreateWindowExW(0, L"no-such-class", L"", 0, 0, 0, 1, 1, nullptr, nullptr, kModule, nullptr), nullptr);

  HWND main = Make(L"main");
  RECT r;
  ASSERT_TRUE(GetWindowRect(main, &r));
  EXPECT_EQ(r.top, platform::kCaptionHeight);
  EXPECT_EQ(r.bottom, platform::kScreenHeight);
  HWND child = Make(L"child", WS_CHILD | WS_VISIBLE, main, {10, 20, 50, 40});
  ASSERT_TRUE(GetWindowRect(child, &r));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, platform::kCaptionHeight + 20) << "a child is placed in its parent's client area";
  EXPECT_EQ(Make(L"orphan", WS_CHILD, reinterpret_cast<HWND>(0x1234)), nullptr);

  // Calls on the window from inside its own WM_DESTROY fail; the child is still there then.
  handlers[WM_DESTROY] = [&](HWND w, WPARAM, LPARAM) {
    RECT inside;
    log.push_back(GetClientRect(w, &inside) || IsWindow(w) || DestroyWindow(w) ? "live" : "gone");
    log.push_back(IsWindow(child) ? "child live" : "child gone");
    return 0;
  };
  SetFocus(child);
  ASSERT_TRUE(DestroyWindow(main));
  EXPECT_EQ(TakeLog(), (Log{"main:create " + kDefaultSize, "child:create 40x20", ":destroy", "gone", "child live",
                            ":destroy", "gone", "child gone"}));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(GetFocus(), nullptr) << "a destroyed focus window leaves no focus";
  EXPECT_FALSE(DestroyWindow(main));
  EXPECT_FALSE(InvalidateRect(child, nullptr, TRUE));
  EXPECT_FALSE(SetWindowTextW(main, L"x"));
  EXPECT_EQ(SendMessageW(main, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageW(child, WM_USER, 0, 0));
  PAINTSTRUCT ps;
  EXPECT_EQ(BeginPaint(main, &ps), nullptr);
  EXPECT_EQ(GetDC(child), nullptr);
  Pump();
  EXPECT_EQ(GdiLiveObjectCount(), gdiStart);
}

TEST_F(WindowTest, AProcedureMayDestroyItsWindowAndSendReentrantlyWhileHandlingAMessage) {
  HWND main = Make(L"main");
  int depth = 0;
  handlers[WM_USER] = [&](HWND w, WPARAM, LPARAM) -> LRESULT {
    return ++depth < 3 ? SendMessageW(w, WM_USER, 0, 0) + 1 : 100;
  };
  EXPECT_EQ(SendMessageW(main, WM_USER, 0, 0), 102);
  handlers[WM_LBUTTONDOWN] = [](HWND w, WPARAM, LPARAM) {
    DestroyWindow(w);
    return DefWindowProcW(w, WM_PAINT, 0, 0);
  };
  Pump();
  TakeLog();
  platform::handset::StylusDown(100, 100);
  platform::handset::StylusUp(100, 100);
  platform::handset::KeyDown('5');
  Pump();
  EXPECT_EQ(TakeLog(), (Log{"main:down 100,76", ":destroy"})) << "the rest went to a window that is gone";
  EXPECT_EQ(GdiLiveObjectCount(), gdiStart);
}

TEST_F(WindowTest, PaintingWaitsForPostedMessagesMergesInvalidationsAndLetsChildrenPaintOverTheirParent) {
  HWND main = Make(L"main");
  HWND hint = CreateWindowExW(0, L"STATIC", L"A", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 70, 40, 20, main, nullptr,
                              kModule, nullptr);
  ASSERT_NE(hint, nullptr);
  Pump();
  EXPECT_EQ(Pixel(5, platform::kCaptionHeight + 75), RGB(255, 255, 255))
      << "the main window erased with its class brush";
  EXPECT_EQ(Pixel(100, 10), platform::shell::kStripBack) << "the caption strip";
  EXPECT_EQ(TakeLog(), (Log{"main:create " + kDefaultSize, "main:paint", "main:erase"}));

  const RECT a{0, 0, 10, 10}, b{20, 30, 40, 50};
  PostMessageW(main, WM_USER, 0, 0);
  InvalidateRect(main, &a, FALSE);
  InvalidateRect(main, &b, FALSE);
  EXPECT_EQ(Wait(0, nullptr, 0), WAIT_OBJECT_0) << "an invalidation wakes a wait";
  PAINTSTRUCT seen{};
  handlers[WM_PAINT] = [&](HWND w, WPARAM, LPARAM) {
    HDC dc = BeginPaint(w, &seen);
    // The DC is clipped to the update area: this fills only it.
    SetBkColor(dc, RGB(255, 0, 0));
    const RECT all{0, 0, kDefaultWidth, kDefaultHeight};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    EndPaint(w, &seen);
    return 0;
  };
  Pump();
  EXPECT_EQ(TakeLog(), (Log{"main:" + std::to_string(WM_USER), "main:paint"})) << "one paint, after the posted message";
  EXPECT_EQ(seen.rcPaint.left, 0);
  EXPECT_EQ(seen.rcPaint.bottom, 50);
  EXPECT_FALSE(seen.fErase);
  EXPECT_EQ(Pixel(39, platform::kCaptionHeight + 49), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(41, platform::kCaptionHeight + 49), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(1, platform::kCaptionHeight + 71), RGB(255, 255, 255)) << "the hint repainted over its parent";

  // Moving with repaint: the uncovered part goes back to the desktop, the window repaints whole.
  handlers.erase(WM_PAINT);
  const int aboveTheBar = platform::kSoftKeyTop - platform::kCaptionHeight;
  ASSERT_TRUE(MoveWindow(main, 0, platform::kCaptionHeight, platform::kScreenWidth, aboveTheBar, TRUE));
  Pump();
  const std::string size = std::to_string(platform::kScreenWidth) + "," + std::to_string(aboveTheBar);
  EXPECT_EQ(TakeLog(), (Log{"main:size " + size, "main:paint", "main:erase"}));
  EXPECT_EQ(Pixel(100, platform::kSoftKeyTop + 6), RGB(0, 0, 0));
  EXPECT_EQ(GdiLiveObjectCount(), gdiStart);
}

TEST_F(WindowTest, KeysGoToTheFocusWindowTheStylusToTheWindowUnderItAndBackBecomesAHotKey) {
  HWND main = Make(L"main");
  ASSERT_NE(Make(L"other", WS_CHILD | WS_VISIBLE, main, {0, 100, 240, 200}), nullptr);
  Pump();
  TakeLog();
  EXPECT_FALSE(platform::handset::KeyDown('A')) << "the phone has no letter keys";
  platform::handset::KeyDown('1');  // no focus yet: nobody hears it
  SetFocus(main);
  platform::handset::KeyDown('1');
  platform::handset::KeyUp('1');
  platform::handset::KeyDown(VK_TBACK);
  platform::handset::KeyUp(VK_TBACK);
  platform::handset::StylusDown(5, 130);   // on the child
  platform::handset::StylusMove(5, 30);    // captured: still the child's
  platform::handset::StylusUp(-20, 400);   // clamped to the screen
  platform::handset::StylusDown(5, 30);
  Pump();
  EXPECT_EQ(TakeLog(), (Log{"main:keydown 49", "main:char 49", "main:keyup 49", "main:hotkey 27/0",
                            "main:hotkey 27/4096", "other:down 5,6", "other:move 5,65442", "other:up 0,195",
                            "main:down 5,6"}));
  EXPECT_TRUE(platform::handset::RequestClose());
  Pump();
  EXPECT_EQ(TakeLog(), (Log{"main:close", ":destroy", ":destroy"})) << "no text while being destroyed";
  EXPECT_FALSE(platform::handset::RequestClose()) << "no window left";
}

TEST_F(WindowTest, FailedCallsLeaveNothingHalfMade) {
  platform::FailCall("RegisterClassW", 1, 0);
  WNDCLASSW cls{};
  cls.lpfnWndProc = &Proc;
  cls.hInstance = kModule;
  cls.lpszClassName = L"second";
  EXPECT_EQ(RegisterClassW(&cls), 0);
  EXPECT_NE(RegisterClassW(&cls), 0) << "the failed registration left no class behind";
  platform::FailCall("CreateWindowExW", 1, 0);
  EXPECT_EQ(Make(L"main"), nullptr);
  handlers[WM_CREATE] = [](HWND, WPARAM, LPARAM) -> LRESULT { return -1; };
  EXPECT_EQ(Make(L"refused"), nullptr);
  Pump();
  EXPECT_EQ(TakeLog(), (Log{"refused:create " + kDefaultSize, ":destroy"}));
  EXPECT_TRUE(platform::handset::CaptionTitle().empty());
  EXPECT_EQ(GdiLiveObjectCount(), gdiStart);
}

}  // namespace
