// The timer service's exact platform calls, against a scripted platform.
#include <gtest/gtest.h>

#include "ScriptedPlatform.h"
#include "general/TimerDefault_Manager.h"
#include "general/TimerWM_Manager.h"

namespace {

using Calls = std::vector<std::string>;

void CALLBACK Proc(HWND, UINT, UINT_PTR, DWORD) {}

class TimerScriptTest : public ::testing::Test {
 protected:
  TimerScriptTest() {
    scripted::Reset();
    scripted::expectedProc = &Proc;
    scripted::timerIds = {5, 6, 7};
    node->SetHandler(MakeDelegate<void()>(this, &TimerScriptTest::Fire));
  }
  ~TimerScriptTest() override { node.Reset(); }

  void Fire() { scripted::calls.push_back("handler"); }

  UninitCaller root;
  RCPtr<TimerWM_Manager> manager{new TimerWM_Manager(&root, &Proc)};
  RCPtr<TimerDefault_Manager> defaults{new TimerDefault_Manager(
      &root, MakeDelegate<void(RCPtr<TimerDefault_Manager::Calls> *)>(manager.get(),
                                                                       &TimerWM_Manager::CreateTimerCallsFn))};
  RCPtr<TimerNode> node{new TimerNode(&root)};
};

TEST_F(TimerScriptTest, StartSetsAWindowlessTimerAndRestartOrStopKillsTheOldOne) {
  node->StopTimer();  // nothing running: id 0
  node->Start(150, true);
  node->Start(3000, false);
  node->StopTimer();
  EXPECT_EQ(scripted::calls, (Calls{"KillTimer(0,0)", "SetTimer(0,0,150,proc)", "KillTimer(0,5)",
                                    "SetTimer(0,0,3000,proc)", "KillTimer(0,6)"}));
  EXPECT_FALSE(node->IsSet());
}

TEST_F(TimerScriptTest, OneShotIsKilledBeforeItsHandlerRuns) {
  node->Start(100, false);
  manager->OnTimer(5);
  manager->OnTimer(5);  // a second, stale expiry
  EXPECT_EQ(scripted::calls, (Calls{"SetTimer(0,0,100,proc)", "KillTimer(0,5)", "handler"}));
}

}  // namespace
