#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "resources/KeptResources.h"
#include "resources/ResourceTable.h"

namespace {

using Log = std::vector<std::string>;
using resources::MenuBarButton;

class ShellTest : public WindowFixture {
 protected:
  // The tuner's own layout: "Close" and a drop-down "Menu".
  static void RegisterBar(HINSTANCE module) {
    resources::RegisterKept(module, ResourceTable::Id(ResourceTable::kRcData), ResourceTable::Id(701),
                            resources::EncodeMenuBar({703, {MenuBarButton{702, 4, 0x10, 702, 0xFFFF},
                                                            MenuBarButton{704, 4, 0x18, 704, 0}}}));
    resources::RegisterKept(module, ResourceTable::Id(ResourceTable::kMenu), ResourceTable::Id(703),
                            resources::EncodeMenu({{L"Menu", {{713, L"Auto Calibrate"}, {}, {706, L"E"},
                                                              {707, L"A"}, {}, {705, L"About"}}}}));
    resources::RegisterKeptStrings(module, {{702, L"Close"}, {704, L"Menu"}});
  }

  static HWND CreateBar(HWND parent, HINSTANCE module, UINT id = 701) {
    SHMENUBARINFO info{};
    info.cbSize = sizeof info;
    info.hwndParent = parent;
    info.nToolBarId = id;
    info.hInstRes = module;
    return SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
  }

  static std::wstring TextOf(const std::string &source) {
    for (const auto &t : platform::handset::ScreenTexts())
      if (t.source == source) return t.text;
    return L"(none)";
  }

  // Input at a virtual time, as the device's script gives it.
  static void At(long long ms, std::function<void()> input) { platform::ScheduleAt(Ms(ms), std::move(input)); }
};

TEST_F(ShellTest, AMenuBarNeedsItsWholeResourceAndFailsWithNoWindowOtherwise) {
  HWND main = Make(L"main");
  const HINSTANCE empty = reinterpret_cast<HINSTANCE>(0x500000);
  EXPECT_EQ(CreateBar(main, empty), nullptr) << "no resources";
  const HINSTANCE partial = reinterpret_cast<HINSTANCE>(0x510000);
  RegisterBar(partial);
  ResourceTable::Unregister(partial);
  resources::RegisterKept(partial, ResourceTable::Id(ResourceTable::kRcData), ResourceTable::Id(701),
                          resources::EncodeMenuBar({703, {MenuBarButton{704, 4, 0x18, 704, 0}}}));
  resources::RegisterKeptStrings(partial, {{704, L"Menu"}});
  EXPECT_EQ(CreateBar(main, partial), nullptr) << "its MENU is missing";
  const HINSTANCE broken = reinterpret_cast<HINSTANCE>(0x520000);
  const unsigned char shortBar[] = {0xBF, 0x02, 0x02, 0x00, 0xFE, 0xFF};
  ResourceTable::Register(broken, ResourceTable::Id(ResourceTable::kRcData), ResourceTable::Id(701), shortBar);
  EXPECT_EQ(CreateBar(main, broken), nullptr) << "cut short";
  RegisterBar(kModule);
  EXPECT_EQ(CreateBar(nullptr, kModule), nullptr) << "no parent";
  platform::FailCall("SHCreateMenuBar", 1, FALSE);
  EXPECT_EQ(CreateBar(main, kModule), nullptr);
  Pump();
  EXPECT_EQ(TextOf("softkeys"), L"");
  EXPECT_EQ(Pixel(100, platform::kSoftKeyTop + 16), RGB(255, 255, 255)) << "still the main window there";
  HWND bar = CreateBar(main, kModule);
  ASSERT_NE(bar, nullptr);
  RECT r;
  GetWindowRect(bar, &r);
  EXPECT_EQ(r.top, platform::kSoftKeyTop);
  EXPECT_EQ(r.bottom, platform::kScreenHeight);
  Pump();
  EXPECT_EQ(TextOf("softkeys"), L"Close | Menu");
  EXPECT_EQ(Pixel(100, platform::kSoftKeyTop + 16), platform::shell::kStripBack);
  DestroyWindow(main);
  EXPECT_FALSE(IsWindow(bar)) << "the bar goes with the window it belongs to";
  Pump();
  EXPECT_EQ(GdiLiveObjectCount(), gdiStart);
}

TEST_F(ShellTest, SoftKeysAndThePopUpMenuSendTheirCommandsWhileTheMenuTakesTheKeys) {
  RegisterBar(kModule);
  HWND main = CreateWindowExW(WS_EX_CAPTIONOKBTN, L"test-wnd", L"Drovane", WS_VISIBLE, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, kModule, nullptr);
  ASSERT_NE(CreateBar(main, kModule), nullptr);
  SetFocus(main);
  Pump();
  EXPECT_EQ(TextOf("caption"), L"Drovane | OK");
  TakeLog();
  std::vector<std::wstring> menuShown;
  platform::SetIdleHook([&] { menuShown.push_back(TextOf("menu")); });
  using platform::handset::KeyDown;
  At(100, [] { KeyDown(VK_TSOFT1); });                                 // Close
  At(200, [] { KeyDown(VK_TSOFT2); });                                 // opens the menu
  At(300, [] { KeyDown(VK_DOWN); });                                   // skips the separator to "E"
  At(400, [] { KeyDown(VK_RETURN); });                                 // chooses "E"
  At(500, [] { KeyDown(VK_TSOFT2); });
  At(600, [] { KeyDown('4'); });                                       // the fourth item: "About"
  At(700, [] { KeyDown(VK_TSOFT2); });
  At(800, [] { KeyDown(VK_TBACK); });                                  // closes it, no command
  At(900, [] { platform::handset::StylusDown(200, 300); });             // the right soft key by stylus
  At(901, [] { platform::handset::StylusUp(200, 300); });
  At(1000, [] { platform::handset::StylusDown(50, 30); });              // outside: closes it
  At(1100, [] { KeyDown('7'); });                                      // the menu is closed: a key again
  At(1200, [] { platform::handset::StylusDown(220, 12); });             // the caption's OK box
  At(1201, [] { platform::handset::StylusUp(220, 12); });
  while (platform::Now() < Ms(1300) && Wait(0, nullptr, INFINITE) != WAIT_FAILED) Pump();
  platform::SetIdleHook(nullptr);
  Log heard = TakeLog();
  std::erase_if(heard, [](const std::string &s) { return s == "Drovane:paint" || s == "Drovane:erase"; });
  EXPECT_EQ(heard, (Log{"Drovane:command 702", "Drovane:command 706", "Drovane:command 705", "Drovane:keydown 55",
                        "Drovane:char 55", "Drovane:command 1"}));
  EXPECT_NE(std::find(menuShown.begin(), menuShown.end(), L"1 Auto Calibrate | - | 2 E | 3 A | - | 4 About"),
            menuShown.end());
  EXPECT_EQ(menuShown.back(), L"");
  EXPECT_EQ(GdiLiveObjectCount(), gdiStart);
}

// The phone's menu calls rename a pop-up's items, put items in and take them
// out, as a program does to follow a setting; a handle lives with its bar
// and fails cleanly after.
TEST_F(ShellTest, APopUpsItemsAreRenamedThroughTheHandleItsBarGives) {
  RegisterBar(kModule);
  HWND main = Make(L"main");
  HWND bar = CreateBar(main, kModule);
  ASSERT_NE(bar, nullptr);
  SetFocus(main);
  EXPECT_EQ(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 702), 0) << "Close opens no pop-up";
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 704));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 704)), menu) << "the same each time";

  EXPECT_TRUE(ModifyMenuW(menu, 706, MF_BYCOMMAND | MF_STRING, 706, L"D"));
  EXPECT_TRUE(ModifyMenuW(menu, 707, MF_BYCOMMAND | MF_STRING, 708, L"G#"));
  EXPECT_FALSE(ModifyMenuW(menu, 707, MF_BYCOMMAND | MF_STRING, 707, L"x")) << "707 is 708 now";
  EXPECT_FALSE(ModifyMenuW(menu, 0, MF_BYCOMMAND | MF_STRING, 0, L"x")) << "a separator is no item";
  EXPECT_FALSE(ModifyMenuW(menu, 1, 0x400 /* MF_BYPOSITION */, 706, L"x"));
  EXPECT_FALSE(ModifyMenuW(menu, 706, MF_BYCOMMAND | MF_STRING, 706, nullptr));
  EXPECT_FALSE(ModifyMenuW(nullptr, 706, MF_BYCOMMAND | MF_STRING, 706, L"x"));
  // Items in, before a place (separators count), and out, by command.
  EXPECT_TRUE(InsertMenuW(menu, 4, MF_BYPOSITION | MF_STRING, 720, L"B"));
  EXPECT_TRUE(InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 721, L"first"));
  EXPECT_TRUE(DeleteMenu(menu, 721, MF_BYCOMMAND));
  EXPECT_FALSE(InsertMenuW(menu, 8, MF_BYPOSITION | MF_STRING, 722, L"x")) << "past the end: 7 appends";
  EXPECT_FALSE(InsertMenuW(menu, 1, MF_BYCOMMAND | MF_STRING, 722, L"x"));
  EXPECT_FALSE(InsertMenuW(menu, 1, MF_BYPOSITION | MF_STRING, 722, nullptr));
  EXPECT_TRUE(DeleteMenu(menu, 706, MF_BYCOMMAND));
  EXPECT_FALSE(DeleteMenu(menu, 706, MF_BYCOMMAND)) << "gone already";
  EXPECT_FALSE(DeleteMenu(menu, 0, MF_BYCOMMAND)) << "a separator is no item";
  EXPECT_FALSE(DeleteMenu(menu, 2, MF_BYPOSITION));
  EXPECT_FALSE(DeleteMenu(nullptr, 708, MF_BYCOMMAND));

  std::wstring shown;
  platform::SetIdleHook([&] {
    if (!TextOf("menu").empty()) shown = TextOf("menu");
  });
  At(100, [] { platform::handset::KeyDown(VK_TSOFT2); });
  At(200, [] { platform::handset::KeyDown('3'); });
  TakeLog();
  while (platform::Now() < Ms(300) && Wait(0, nullptr, INFINITE) != WAIT_FAILED) Pump();
  platform::SetIdleHook(nullptr);
  EXPECT_EQ(shown, L"1 Auto Calibrate | - | 2 G# | 3 B | - | 4 About");
  Log heard = TakeLog();
  std::erase_if(heard, [](const std::string &s) { return s.find("command") == std::string::npos; });
  EXPECT_EQ(heard, Log{"main:command 720"}) << "the item put in sends its command";

  HWND again = CreateBar(main, kModule);
  ASSERT_NE(again, nullptr);
  const auto fresh = reinterpret_cast<HMENU>(SendMessageW(again, SHCMBM_GETSUBMENU, 0, 704));
  EXPECT_NE(fresh, menu) << "a new bar, a new handle, from the resource as it stands";
  DestroyWindow(bar);
  EXPECT_FALSE(ModifyMenuW(menu, 706, MF_BYCOMMAND | MF_STRING, 706, L"E")) << "its bar is gone";
  EXPECT_FALSE(InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 722, L"x"));
  EXPECT_FALSE(DeleteMenu(menu, 708, MF_BYCOMMAND));
  EXPECT_TRUE(ModifyMenuW(fresh, 706, MF_BYCOMMAND | MF_STRING, 706, L"E"));
  DestroyWindow(main);
  EXPECT_FALSE(ModifyMenuW(fresh, 706, MF_BYCOMMAND | MF_STRING, 706, L"E"));
}

// A message box holds the program back (its timers and posted messages
// wait) while the platform's occurrences go on, and returns on Enter.
TEST_F(ShellTest, AMessageBoxIsModalForTheProgramButNotForTheDrivers) {
  HWND main = Make(L"main");
  Pump();
  TakeLog();
  int driverTicks = 0;
  std::function<void()> driver = [&] {
    ++driverTicks;
    platform::ScheduleAt(platform::Now() + Ms(100), driver);
  };
  At(100, driver);
  static int timerCalls;
  timerCalls = 0;
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++timerCalls; });
  PostMessageW(main, WM_USER, 0, 0);
  std::wstring shown;
  At(950, [&] { shown = TextOf("message"); });
  At(1000, [] { platform::handset::KeyDown(VK_RETURN); });
  EXPECT_EQ(MessageBoxW(main, L"Quorla Drovane\r\nversion: 1.0.0.0", L"Drovane", MB_OK), IDOK);
  EXPECT_EQ(platform::Now(), Ms(1000));
  EXPECT_EQ(driverTicks, 9);
  EXPECT_EQ(timerCalls, 0);
  EXPECT_EQ(shown, L"Drovane | Quorla Drovane\r\nversion: 1.0.0.0 | OK");
  EXPECT_EQ(TextOf("message"), L"");
  Pump();
  EXPECT_EQ(timerCalls, 1);
  EXPECT_EQ(TakeLog(), (Log{"main:" + std::to_string(WM_USER), "main:paint", "main:erase"}))
      << "the program's message came afterwards, and the screen under the box was redrawn";
  EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x77), L"x", L"y", MB_OK), 0) << "a bad owner";
  KillTimer(nullptr, 1);
  EXPECT_EQ(GdiLiveObjectCount(), gdiStart);
}

}  // namespace
