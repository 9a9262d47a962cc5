// Ten simulated minutes of a program built like the tuner: two device events
// completed by drivers at the pace of the clock, and three timers, all
// serviced by the one loop on the virtual clock.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestTimerService.h"
#include "general/EventLoop.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"

namespace {

using platform::Time;

// A driver that completes a buffer of `samples` at 22050 samples per second,
// one after another, and signals its event each time.
struct BufferDriver {
  void Start(HANDLE e, long long n) {
    event = e;
    samples = n;
    ScheduleNext();
  }
  void ScheduleNext() {
    ++completed;
    Time at{completed * samples * 1000000000LL / 22050};
    platform::ScheduleAt(at, [this] {
      SetEvent(event);
      ScheduleNext();
    });
  }
  HANDLE event = nullptr;
  long long samples = 0;
  long long completed = 0;
};

struct Entry {
  long long ns;
  std::string what;
  bool operator==(const Entry &) const = default;
};

// The program: builds its objects, runs the loop and tears everything down.
class Program : public virtual CRefCounter {
 public:
  std::vector<Entry> Run(long long minutes) {
    auto root = std::make_unique<UninitCaller>();
    TestTimerService timers(root.get());
    RCPtr<TimerNode> fast(new TimerNode(root.get())), slow(new TimerNode(root.get())),
        restarted(new TimerNode(root.get())), end(new TimerNode(root.get()));
    restartedNode = restarted.get();
    loop = new EventLoop;

    RCPtr<EventHandleHolder> capture(new EventHandleHolder(CreateEventW(nullptr, FALSE, FALSE, nullptr)));
    RCPtr<EventHandleHolder> playback(new EventHandleHolder(CreateEventW(nullptr, FALSE, FALSE, nullptr)));
    loop->AddEventHandle(new EventLoopNode(root.get(), Logs("capture")), capture);
    loop->AddEventHandle(new EventLoopNode(root.get(), Logs("playback")), playback);
    BufferDriver captureDriver, playbackDriver;
    captureDriver.Start(capture->Get(), 2048);
    playbackDriver.Start(playback->Get(), 4096);

    fast->SetHandler(Logs("fast"));
    slow->SetHandler(Logs("slow"));
    restarted->SetHandler(MakeDelegate<void()>(this, &Program::Restart));
    end->SetHandler(MakeDelegate<void()>(this, &Program::End));
    fast->Start(170, true);
    slow->Start(1100, true);
    restarted->Start(2900, false);
    end->Start(static_cast<unsigned long>(minutes * 60000), false);

    loop->Run();
    end.Reset();
    restarted.Reset();
    slow.Reset();
    fast.Reset();
    timers.defaults.Reset();
    loop.Reset();
    root.reset();
    return trace;
  }

 private:
  Delegate<void()> Logs(const char *what) { return MakeDelegate<void()>(this, &Program::Log, std::string(what)); }
  void Log(std::string what) { trace.push_back(Entry{platform::Now().count(), std::move(what)}); }
  void Restart() {
    Log("restarted");
    restartedNode->Start(2900, false);
  }
  void End() {
    Log("end");
    loop->Stop();
  }

  RCPtr<EventLoop> loop;
  TimerNode *restartedNode = nullptr;
  std::vector<Entry> trace;
};

std::vector<Entry> Simulate() {
  platform::Phone phone(platform::ClockKind::Virtual);
  RCPtr<Program> program(new Program);
  return program->Run(10);
}

long Count(const std::vector<Entry> &trace, const std::string &what) {
  long n = 0;
  for (const Entry &e : trace) n += e.what == what;
  return n;
}

TEST(LoopSimulation, TenMinutesGiveExactlyTheExpectedServicesAndExpiriesEveryTime) {
  auto trace = Simulate();
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.back().what, "end");
  EXPECT_EQ(trace.back().ns, 600000000000LL);
  // Completions strictly before the end: 600 s × 22050 / samples, rounded down.
  EXPECT_EQ(Count(trace, "capture"), 6459);
  EXPECT_EQ(Count(trace, "playback"), 3229);
  EXPECT_EQ(Count(trace, "fast"), 3529);       // 600000 / 170
  EXPECT_EQ(Count(trace, "slow"), 545);        // 600000 / 1100
  EXPECT_EQ(Count(trace, "restarted"), 206);   // 600000 / 2900
  // Each is serviced at the very moment it is due.
  long long captures = 0, fasts = 0;
  for (const Entry &e : trace) {
    if (e.what == "capture") {
      ASSERT_EQ(e.ns, ++captures * 2048 * 1000000000LL / 22050);
    } else if (e.what == "fast") {
      ASSERT_EQ(e.ns, ++fasts * 170000000LL);
    }
  }
  for (size_t i = 1; i < trace.size(); ++i) ASSERT_LE(trace[i - 1].ns, trace[i].ns);
  EXPECT_TRUE(Simulate() == trace) << "a second run gives the same trace";
}

}  // namespace
