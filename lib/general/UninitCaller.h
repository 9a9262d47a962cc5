#pragma once

#include "LinkedList.h"

// Ordered tear-down. Long-lived objects register as children of a root; when
// the root is destroyed every child is first told to stop (uninit pass), then
// to drop what it holds (release pass), then detached — newest child first in
// each pass, so objects created later (which depend on earlier ones) stop
// first. Single-threaded. A child may be destroyed while a pass is running.

class UninitCaller;

namespace UninitCaller_NS {

class UninitCallerParent;

class UninitCallerChild : public LinkedListElement {
 public:
  // Registers with `parent`; a null parent leaves the child detached.
  explicit UninitCallerChild(UninitCallerParent *parent);
  virtual ~UninitCallerChild();

  virtual void OnRelease() {}
  virtual void OnUninit() {}
  virtual void ClearParent() { parent_ = nullptr; }

  UninitCallerParent *Parent() const { return parent_; }

 protected:
  UninitCallerParent *parent_;
};

class UninitCallerParent {
 public:
  explicit UninitCallerParent(UninitCaller *owner) : owner_(owner) {}
  UninitCallerParent(const UninitCallerParent &) = delete;
  UninitCallerParent &operator=(const UninitCallerParent &) = delete;

  // Children registered once the uninit pass has begun go to the late list;
  // once the early list has had its pass, registration is refused (false).
  bool Add(UninitCallerChild *child);
  // Unlinks a child; safe while the child, or another one, is being called.
  void RemoveChild(UninitCallerChild *child);

  void UninitAll();
  void ReleaseAll();
  void DetachAll();

  UninitCaller *Owner() const { return owner_; }
  void ClearOwner() { owner_ = nullptr; }

 private:
  using Step = void (UninitCallerChild::*)();
  struct Cursor {
    bool removed = false;
    UninitCallerChild *current = nullptr;
  };
  void Walk(LinkedList<UninitCallerChild> &list, Cursor &cursor, Step step);
  static void ClearParents(const LinkedList<UninitCallerChild> &list);

  UninitCaller *owner_;
  Cursor early_;
  Cursor late_;
  bool uninitStarted_ = false;
  bool closed_ = false;
  LinkedList<UninitCallerChild> lateList_;
  LinkedList<UninitCallerChild> earlyList_;
};

}  // namespace UninitCaller_NS

template <>
struct LinkedListSites<UninitCaller_NS::UninitCallerChild> {
  static constexpr const CheckSite &kLinkedTwice = CheckSites::kUninitChildLinkedTwice;
  static constexpr const CheckSite &kPastEnd = CheckSites::kUninitChildPastEnd;
};

// A tear-down root: destroying it runs the whole tear-down of its children.
class UninitCaller {
 public:
  UninitCaller() : parent_(this) {}
  UninitCaller(const UninitCaller &) = delete;
  UninitCaller &operator=(const UninitCaller &) = delete;
  virtual ~UninitCaller();

  UninitCaller_NS::UninitCallerParent *Parent() { return &parent_; }

 private:
  UninitCaller_NS::UninitCallerParent parent_;
};
