#include "UninitCaller.h"

#include <initializer_list>

#include "CheckSites.h"

namespace UninitCaller_NS {

// A refused child keeps no parent: it would otherwise reach a dead root later.
UninitCallerChild::UninitCallerChild(UninitCallerParent *parent) : parent_(nullptr) {
  if (Check(parent != nullptr, CheckSites::kChildWithoutParent) && parent->Add(this)) parent_ = parent;
}

UninitCallerChild::~UninitCallerChild() {
  if (parent_) parent_->RemoveChild(this);
  Remove();
}

bool UninitCallerParent::Add(UninitCallerChild *child) {
  if (!Check(!closed_, CheckSites::kAddAfterTearDown)) return false;
  if (child->IsLinked()) {
    earlyList_.Add(child);  // records the list's check and changes nothing
    return false;
  }
  (uninitStarted_ ? lateList_ : earlyList_).Add(child);
  return true;
}

void UninitCallerParent::RemoveChild(UninitCallerChild *child) {
  for (Cursor *c : {&early_, &late_}) {
    if (c->current == child) {
      c->current = LinkedList<UninitCallerChild>::Next(child);
      c->removed = true;
    }
  }
  child->Remove();
}

// The cursor lives in the parent so that RemoveChild can step it past a child
// destroyed during its own call.
void UninitCallerParent::Walk(LinkedList<UninitCallerChild> &list, Cursor &cursor, Step step) {
  cursor.current = list.First();
  while (cursor.current) {
    cursor.removed = false;
    (cursor.current->*step)();
    if (!cursor.removed) cursor.current = LinkedList<UninitCallerChild>::Next(cursor.current);
  }
}

void UninitCallerParent::UninitAll() {
  uninitStarted_ = true;
  Walk(earlyList_, early_, &UninitCallerChild::OnUninit);
  closed_ = true;
  Walk(lateList_, late_, &UninitCallerChild::OnUninit);
}

void UninitCallerParent::ReleaseAll() {
  Walk(earlyList_, early_, &UninitCallerChild::OnRelease);
  Walk(lateList_, late_, &UninitCallerChild::OnRelease);
}

void UninitCallerParent::ClearParents(const LinkedList<UninitCallerChild> &list) {
  for (UninitCallerChild *c = list.First(); c; c = LinkedList<UninitCallerChild>::Next(c)) c->ClearParent();
}

void UninitCallerParent::DetachAll() {
  ClearParents(earlyList_);
  ClearParents(lateList_);
  earlyList_.UnlinkAll();
  lateList_.UnlinkAll();
}

}  // namespace UninitCaller_NS

UninitCaller::~UninitCaller() {
  parent_.UninitAll();
  parent_.ReleaseAll();
  parent_.ClearOwner();
  parent_.DetachAll();
}
