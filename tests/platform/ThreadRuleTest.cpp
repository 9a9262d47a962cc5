// The platform's calls check where they are made: a call that belongs to the
// program thread made on another thread, or any call with no phone running,
// stops the program with a line naming the call. The checks are on in every
// build.
#include <gtest/gtest.h>

#include <thread>

#include "gdi/GdiHost.h"
#include "phone/Phone.h"
#include "wave/WaveDevices.h"
#include "win/shell.h"
#include "win/wave.h"

namespace {

class ThreadRuleTest : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

  template <class Call>
  static void OnAnotherThread(Call call) {
    std::thread(call).join();
  }
};

TEST_F(ThreadRuleTest, ProgramThreadCallsFromAnotherThreadStopTheProgramNamingTheCall) {
  platform::Phone phone(platform::ClockKind::Virtual);
  auto broken = [](const std::string &call) {
    return call + " was called on thread [0-9]+, not the phone's program thread";
  };
  MSG msg;
  EXPECT_DEATH(OnAnotherThread([&] { PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); }), broken("PeekMessageW"));
  EXPECT_DEATH(OnAnotherThread([] { GetStockObject(WHITE_BRUSH); }), broken("GetStockObject"));
  EXPECT_DEATH(OnAnotherThread([] { waveInStart(nullptr); }), broken("waveInStart"));
  EXPECT_DEATH(OnAnotherThread([] { platform::wave::LastOpenError(); }), broken("LastOpenError"));
  EXPECT_DEATH(OnAnotherThread([] { MessageBoxW(nullptr, L"", L"", MB_OK); }), broken("MessageBoxW"));
  // What any thread may do.
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  BOOL set = FALSE, posted = TRUE;
  OnAnotherThread([&] {
    set = SetEvent(event);
    posted = PostMessageW(nullptr, WM_USER, 0, 0);  // a thread without a queue: refused, not fatal
  });
  EXPECT_TRUE(set);
  EXPECT_FALSE(posted);
}

TEST_F(ThreadRuleTest, CallsWithoutAPhoneAndASecondPhoneStopTheProgram) {
  EXPECT_DEATH(CreateEventW(nullptr, FALSE, FALSE, nullptr), "CreateEventW was called with no phone running");
  EXPECT_DEATH(platform::Now(), "platform::Now was called with no phone running");
  platform::Phone phone(platform::ClockKind::Virtual);
  EXPECT_DEATH(platform::Phone(platform::ClockKind::Real), "a second phone was made while one is running");
  EXPECT_DEATH(GdiShutdown(), "GdiShutdown was called while a phone is running");
}

}  // namespace
