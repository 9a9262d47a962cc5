#include "VirtualPlatform.h"

namespace {

using EventTest = VirtualPlatform;

TEST_F(EventTest, AutoResetEventIsConsumedByTheWaitThatReportsIt) {
  HANDLE e = CreateEventW(nullptr, FALSE, TRUE, L"ignored");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_OBJECT_0);
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(SetEvent(e));
  EXPECT_TRUE(SetEvent(e));  // signalling twice still counts once
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_OBJECT_0);
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(CloseHandle(e));
}

TEST_F(EventTest, ManualResetEventStaysSignalledUntilReset) {
  HANDLE e = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_TIMEOUT);
  SetEvent(e);
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_OBJECT_0);
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(e));
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_TIMEOUT);
  CloseHandle(e);
}

TEST_F(EventTest, ClosedAndInvalidHandlesFailCleanly) {
  HANDLE e = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE other = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  ASSERT_NE(e, other);
  EXPECT_TRUE(CloseHandle(e));
  EXPECT_FALSE(CloseHandle(e));
  EXPECT_FALSE(SetEvent(e));
  EXPECT_FALSE(ResetEvent(e));
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_FAILED);
  for (HANDLE bad : {HANDLE(nullptr), HANDLE(reinterpret_cast<void *>(-1)),
                     HANDLE(static_cast<char *>(other) + 1)}) {
    EXPECT_FALSE(SetEvent(bad));
    EXPECT_FALSE(CloseHandle(bad));
  }
  // The failed calls left the other event untouched.
  EXPECT_EQ(Wait(1, &other, 0, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(other));
}

TEST_F(EventTest, ResetInvalidatesHandlesGivenOutBefore) {
  HANDLE before = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  platform::Reset(platform::ClockKind::Virtual);
  HANDLE after = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  EXPECT_NE(before, after);
  EXPECT_FALSE(CloseHandle(before));
  EXPECT_TRUE(CloseHandle(after));
}

TEST_F(EventTest, InjectedFailureHitsOnlyTheChosenCall) {
  platform::FailCall("CreateEventW", 2, 0);
  HANDLE first = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE second = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE third = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(third, nullptr);
  // Other operations do not advance the plan.
  platform::FailCall("CreateEventW", 1, 0);
  EXPECT_NE(SetTimer(nullptr, 0, 100, nullptr), 0u);
  EXPECT_EQ(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
  EXPECT_NE(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
}

}  // namespace
