#include "TimerDefault_Manager.h"

TimerDefault_Manager::Internals *TimerDefault_Manager::Internals::shared = nullptr;

TimerDefault_Manager::Internals::Internals(UninitCaller *root, const Factory &factory)
    : factory(factory), resident_(root, this, MakeDelegate<void()>(this, &Internals::Uninit)) {}

TimerDefault_Manager::Internals::~Internals() {
  if (shared == this) shared = nullptr;
}

TimerDefault_Manager::TimerDefault_Manager(UninitCaller *root, const Factory &factory) {
  if (!Check(Internals::shared == nullptr, CheckSites::kSecondTimerDefault)) {
    internals_ = Internals::shared;
    return;
  }
  internals_ = new Internals(root, factory);
  Internals::shared = internals_.get();
}

void TimerDefault_Manager::CreateTimerCalls(RCPtr<Calls> *calls) {
  if (!Check(Internals::shared != nullptr, CheckSites::kNoTimerDefault)) return;
  Internals::shared->factory(calls);
}
