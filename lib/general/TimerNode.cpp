#include "TimerNode.h"

#include "TimerDefault_Manager.h"

TimerNode::Inner::Inner(UninitCaller *group, const RCPtr<Calls> &calls)
    : resident_(group, this, MakeDelegate<void()>(this, &Inner::Uninit)),
      pool_(group, calls->Root(),
            RCPtr<PoolResident::HolderBase>(new PoolResident::Holder<Inner>(calls->DetachInner, this)),
            MakeDelegate<void()>(this, &Inner::UnbindCalls)) {
  Kill = calls->Kill;
  Set = calls->Set;
  IsSet = calls->IsSet;
  if (calls->AttachInner.IsBound()) calls->AttachInner(this);
}

void TimerNode::Inner::UnbindCalls() {
  Kill.Clear();
  Set.Clear();
  IsSet.Clear();
}

TimerNode::TimerNode(UninitCaller *root) : group_(root, this) {
  RCPtr<Inner::Calls> calls;
  TimerDefault_Manager::CreateTimerCalls(&calls);
  if (!Check(!calls.IsEmpty(), CheckSites::kTimerNodeWithoutCalls)) return;
  inner_ = new Inner(static_cast<UninitCaller *>(group_), calls);
}

void TimerNode::SetHandler(const Delegate<void()> &handler) {
  if (Inner *i = inner_.CheckedGet()) i->handler = handler;
}

void TimerNode::Start(unsigned long period, bool repeat) {
  if (Inner *i = inner_.CheckedGet()) i->Set(period, repeat);
}

void TimerNode::StopTimer() {
  if (Inner *i = inner_.CheckedGet()) i->Kill();
}

bool TimerNode::IsSet() {
  Inner *i = inner_.CheckedGet();
  return i && i->IsSet();
}
