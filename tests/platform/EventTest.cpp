#include "VirtualPlatform.h"

namespace {

using EventTest = VirtualPlatform;

TEST_F(EventTest, AutoResetIsConsumedByTheReportingWaitAndManualResetStaysUntilReset) {
  for (BOOL manual : {FALSE, TRUE}) {
    HANDLE e = CreateEventW(nullptr, manual, TRUE, L"ignored");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_OBJECT_0);
    EXPECT_EQ(Wait(1, &e, 0, 0), manual ? WAIT_OBJECT_0 : WAIT_TIMEOUT) << manual;
    EXPECT_TRUE(ResetEvent(e));
    EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(e));
    EXPECT_TRUE(SetEvent(e));  // signalling twice still counts once
    EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_OBJECT_0);
    EXPECT_EQ(Wait(1, &e, 0, 0), manual ? WAIT_OBJECT_0 : WAIT_TIMEOUT) << manual;
    EXPECT_TRUE(CloseHandle(e));
  }
}

TEST_F(EventTest, ClosedStaleAndInvalidHandlesFailCleanly) {
  HANDLE stale = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  Reset();  // a new phone: handles of the old one are invalid
  HANDLE e = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE other = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  ASSERT_NE(e, other);
  EXPECT_TRUE(CloseHandle(e));
  EXPECT_FALSE(CloseHandle(e));
  EXPECT_FALSE(SetEvent(e));
  EXPECT_FALSE(ResetEvent(e));
  EXPECT_EQ(Wait(1, &e, 0, 0), WAIT_FAILED);
  for (HANDLE bad : {HANDLE(nullptr), HANDLE(reinterpret_cast<void *>(-1)), HANDLE(static_cast<char *>(other) + 1),
                     stale}) {
    EXPECT_FALSE(SetEvent(bad));
    EXPECT_FALSE(CloseHandle(bad));
  }
  // The failed calls left the other event untouched.
  EXPECT_EQ(Wait(1, &other, 0, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(other));
}

TEST_F(EventTest, InjectedFailureHitsOnlyTheChosenCall) {
  platform::FailCall("CreateEventW", 2, 0);
  EXPECT_NE(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
  EXPECT_EQ(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
  EXPECT_NE(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
  // Other operations do not advance the plan.
  platform::FailCall("CreateEventW", 1, 0);
  EXPECT_NE(SetTimer(nullptr, 0, 100, nullptr), 0u);
  EXPECT_EQ(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
  EXPECT_NE(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
}

}  // namespace
