// The loop services events and messages without allocating: this program
// counts every allocation through its own global operator new.
#include "CountingNew.h"
#include "LoopFixture.h"

namespace {

using LoopAllocationTest = LoopFixture;

// Two events that signal each other; every service also posts a message that
// a hook takes.
TEST_F(LoopAllocationTest, ServicingTenThousandEventsAllocatesOnlyTheSnapshot) {
  long services = 0, messages = 0;
  auto a = NewEvent(), b = NewEvent();
  auto pingPong = [&](HANDLE other) {
    return NodeDoing([&, other] {
      Post(WM_USER, ++services);
      if (services == 10000)
        loop->Stop();
      else
        SetEvent(other);
    });
  };
  loop->AddEventHandle(pingPong(b->Get()), a);
  loop->AddEventHandle(pingPong(a->Get()), b);
  loop->AddMessage(HookDoing([&](const tagMSG &, bool *handled) {
                     ++messages;
                     *handled = true;
                   }),
                   WM_USER);
  SetEvent(a->Get());
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the platform sets its queue up on first use
  const long allocations = CountingNew::Count([&] { loop->Run(); });
  EXPECT_EQ(services, 10000);
  EXPECT_EQ(messages, 9999);  // the last one is left when the loop stops
  EXPECT_EQ(allocations, 2) << "the two snapshot arrays of this Run";
}

}  // namespace
