#include <thread>
#include <vector>

#include "VirtualPlatform.h"
#include "user/WindowProcLookup.h"

namespace {

using QueueTest = VirtualPlatform;

BOOL PostToSelf(UINT message, WPARAM w = 0) { return PostThreadMessageW(GetCurrentThreadId(), message, w, 0); }

// Removes the next message; WM_NULL when the queue is empty.
MSG Take() {
  MSG msg{};
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) msg.message = WM_NULL;
  return msg;
}

TEST_F(QueueTest, PostedMessagesComeFirstInFirstOutThenQuitOnce) {
  PostQuitMessage(3);
  for (WPARAM i = 0; i < 200; ++i) ASSERT_TRUE(PostToSelf(WM_USER, i));  // beyond the ring's first size
  ASSERT_TRUE(PostMessageW(nullptr, WM_USER, 200, 0));                   // no window: the thread's queue
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 0u);
  for (WPARAM i = 0; i <= 200; ++i) {
    msg = Take();
    ASSERT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_EQ(msg.wParam, i);
    ASSERT_EQ(msg.hwnd, nullptr);
  }
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  msg = Take();
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(Take().message, static_cast<UINT>(WM_NULL));
  EXPECT_EQ(DispatchMessageW(&msg), 0) << "a thread message goes nowhere";
}

TEST_F(QueueTest, OnlyTheProgramThreadHasAQueue) {
  EXPECT_FALSE(PostThreadMessageW(GetCurrentThreadId() + 1000, WM_USER, 0, 0));
  BOOL fromOtherThread = TRUE, toProgramThread = FALSE;
  DWORD programThread = GetCurrentThreadId();
  std::thread([&] {
    fromOtherThread = PostMessageW(nullptr, WM_USER, 1, 0);  // its own queue: none
    toProgramThread = PostThreadMessageW(programThread, WM_USER, 2, 0);
  }).join();
  EXPECT_FALSE(fromOtherThread);
  EXPECT_TRUE(toProgramThread);
  EXPECT_EQ(Take().wParam, 2u);
  EXPECT_EQ(Take().message, static_cast<UINT>(WM_NULL));
}

TEST_F(QueueTest, TranslatePostsCharactersForKeypadKeysOnly) {
  for (WPARAM key : {WPARAM('1'), WPARAM(VK_BACK), WPARAM(0x26) /* VK_UP */}) {
    MSG down{nullptr, WM_KEYDOWN, key, 0x00690001, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&down));
  }
  MSG up{nullptr, WM_KEYUP, '1', 0, 0, {0, 0}}, other{nullptr, WM_USER, '1', 0, 0, {0, 0}};
  EXPECT_TRUE(TranslateMessage(&up));
  EXPECT_FALSE(TranslateMessage(&other));
  MSG msg = Take();
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(msg.wParam, WPARAM('1'));
  EXPECT_EQ(msg.lParam, 0x00690001);
  EXPECT_EQ(Take().wParam, WPARAM(VK_BACK));
  EXPECT_EQ(Take().message, static_cast<UINT>(WM_NULL));
}

// A stand-in for the window manager: one window.
HWND const kWindow = reinterpret_cast<HWND>(0x5000);
std::vector<UINT> windowMessages;
LRESULT CALLBACK WindowProc(HWND, UINT message, WPARAM, LPARAM) {
  windowMessages.push_back(message);
  return 42;
}
WNDPROC LookupOne(HWND window) { return window == kWindow ? &WindowProc : nullptr; }

TEST_F(QueueTest, DispatchReachesAWindowThroughTheWindowManagersLookup) {
  windowMessages.clear();
  MSG msg{kWindow, WM_USER, 0, 0, 0, {0, 0}};
  EXPECT_EQ(DispatchMessageW(&msg), 0) << "no window manager yet";
  EXPECT_FALSE(PostMessageW(kWindow, WM_USER, 0, 0));
  platform::SetWindowProcLookup(&LookupOne);
  EXPECT_EQ(DispatchMessageW(&msg), 42);
  EXPECT_TRUE(PostMessageW(kWindow, WM_USER + 1, 0, 0));
  EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x5004), WM_USER, 0, 0));
  msg = Take();
  EXPECT_EQ(msg.hwnd, kWindow);
  DispatchMessageW(&msg);
  platform::SetWindowProcLookup(nullptr);
  EXPECT_EQ(windowMessages, (std::vector<UINT>{WM_USER, WM_USER + 1}));
}

std::vector<UINT_PTR> timerCalls;
void CALLBACK RecordTimer(HWND, UINT message, UINT_PTR id, DWORD) {
  EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
  timerCalls.push_back(id);
}

TEST_F(QueueTest, DispatchOfATimerMessageCallsOnlyAProcedureGivenToSetTimer) {
  timerCalls.clear();
  MSG forged{nullptr, WM_TIMER, 9, reinterpret_cast<LPARAM>(&RecordTimer), 0, {0, 0}};
  DispatchMessageW(&forged);
  EXPECT_TRUE(timerCalls.empty());
  KillTimer(nullptr, SetTimer(nullptr, 0, 10, &RecordTimer));
  DispatchMessageW(&forged);  // a stale expiry still reaches the procedure
  EXPECT_EQ(timerCalls, std::vector<UINT_PTR>{9});
}

}  // namespace
