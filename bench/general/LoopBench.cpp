// The event loop's throughput: events serviced per second (a signalled event
// to its node's delegate) and timer expiries per second (a WM_TIMER to the
// node's handler), in batches of 1000 per Run.
#include <benchmark/benchmark.h>

#include <memory>

#include "TestTimerService.h"
#include "general/EventLoop.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"

namespace {

constexpr long kBatch = 1000;

// Two events that signal each other, as a capture and a playback device
// would keep the loop busy.
struct PingPong : virtual CRefCounter {
  void Service(HANDLE other) {
    if (++services % kBatch == 0)
      loop->Stop();
    else
      SetEvent(other);
  }
  EventLoop *loop = nullptr;
  long services = 0;
};

void BM_EventService(benchmark::State &state) {
  platform::Phone phone(state.range(0) ? platform::ClockKind::Virtual : platform::ClockKind::Real);
  {
    UninitCaller root;
    RCPtr<EventLoop> loop(new EventLoop);
    RCPtr<PingPong> p(new PingPong);
    p->loop = loop.get();
    RCPtr<EventHandleHolder> a(new EventHandleHolder(CreateEventW(nullptr, FALSE, FALSE, nullptr)));
    RCPtr<EventHandleHolder> b(new EventHandleHolder(CreateEventW(nullptr, FALSE, FALSE, nullptr)));
    loop->AddEventHandle(new EventLoopNode(&root, MakeDelegate<void()>(p.get(), &PingPong::Service, b->Get())), a);
    loop->AddEventHandle(new EventLoopNode(&root, MakeDelegate<void()>(p.get(), &PingPong::Service, a->Get())), b);
    for (auto _ : state) {
      SetEvent(a->Get());
      loop->Run();
    }
    state.SetItemsProcessed(p->services);
  }
}

struct Expiries : virtual CRefCounter {
  void Fire() {
    if (++count % kBatch == 0) loop->Stop();
  }
  EventLoop *loop = nullptr;
  long count = 0;
};

void BM_TimerExpiries(benchmark::State &state) {
  platform::Phone phone(platform::ClockKind::Virtual);
  {
    auto root = std::make_unique<UninitCaller>();
    TestTimerService timers(root.get());
    RCPtr<EventLoop> loop(new EventLoop);
    RCPtr<Expiries> e(new Expiries);
    e->loop = loop.get();
    RCPtr<TimerNode> node(new TimerNode(root.get()));
    node->SetHandler(MakeDelegate<void()>(e.get(), &Expiries::Fire));
    node->Start(10, true);
    for (auto _ : state) loop->Run();
    state.SetItemsProcessed(e->count);
    node.Reset();
    timers.defaults.Reset();
    root.reset();
  }
}

BENCHMARK(BM_EventService)->ArgName("virtual")->Arg(1)->Arg(0);
BENCHMARK(BM_TimerExpiries);

}  // namespace
