#include "TimerWM_Manager.h"

#include <vector>

TimerWM_Manager::TimerWM_Manager(UninitCaller *root, TIMERPROC proc)
    : proc_(proc), resident_(root, this, MakeDelegate<void()>(this, &TimerWM_Manager::Uninit)) {}

void TimerWM_Manager::CreateTimerCallsFn(RCPtr<Calls> *calls) {
  RCPtr<TimerInfo> t(new TimerInfo);
  RCPtr<Calls> made(new Calls(static_cast<UninitCaller *>(resident_)));
  made->Kill.Bind(this, &TimerWM_Manager::Kill, t);
  made->Set.Bind(this, &TimerWM_Manager::Set, t);
  made->IsSet.Bind(this, &TimerWM_Manager::IsSet, t);
  made->DetachInner.Bind(this, &TimerWM_Manager::DetachInner, t);
  made->AttachInner.Bind(this, &TimerWM_Manager::AttachInner, t);
  RCPtr_NS::RefCounterPtrAssign(calls, made.get());
}

void TimerWM_Manager::OnTimer(unsigned int id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;  // killed meanwhile
  RCPtr<TimerInfo> t = it->second;
  if (!t->repeat) Kill(t);
  // The node part stays alive while its handler runs, even if the handler
  // releases its own timer.
  const RCPtr<TimerNode::Inner> inner = t->inner;
  if (TimerNode::Inner *i = inner.CheckedGet()) i->handler();
}

void TimerWM_Manager::Kill(const RCPtr<TimerInfo> &t) {
  KillTimer(nullptr, t->id);
  timers_.erase(t->id);
  t->id = 0;
}

void TimerWM_Manager::Set(unsigned long period, bool repeat, const RCPtr<TimerInfo> &t) {
  if (t->id != 0) Kill(t);
  t->id = static_cast<unsigned int>(SetTimer(nullptr, 0, static_cast<UINT>(period), proc_));
  t->repeat = repeat;
  // A timer the platform refused is not set: no entry that no expiry can match.
  if (t->id != 0) timers_[t->id] = t;
}

bool TimerWM_Manager::IsSet(const RCPtr<TimerInfo> &t) { return t->id != 0; }

void TimerWM_Manager::DetachInner(TimerNode::Inner *, const RCPtr<TimerInfo> &t) {
  if (t->id != 0) Kill(t);
  t->inner.Reset();
}

void TimerWM_Manager::AttachInner(TimerNode::Inner *inner, const RCPtr<TimerInfo> &t) { t->inner = inner; }

// The service stops: no platform timer outlives it.
void TimerWM_Manager::Uninit() {
  std::vector<RCPtr<TimerInfo>> set;
  for (auto &entry : timers_) set.push_back(entry.second);
  for (auto &t : set) Kill(t);
}
