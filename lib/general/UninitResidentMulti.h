#pragma once

#include <vector>

#include "CRefCounter.h"
#include "RCPtr.h"
#include "UninitCaller.h"

// A tear-down group: a resident that is itself a root for its own children.
// It can be attached under several outer roots; whichever of them is torn
// down first (or the host's death, when a host is given) tears the group
// down — all uninit steps before any release step — and detaches it from
// every outer root, so no other root reaches it afterwards.
class UninitResidentMulti : public CRefCounter::DeleteNotify {
 public:
  class Internal : public virtual CRefCounter {
   public:
    // The child placed in an outer root's list on the group's behalf.
    class ParentHolder : public UninitCaller_NS::UninitCallerChild, public virtual CRefCounter {
     public:
      ParentHolder(UninitCaller *outer, Internal *internal);
      void OnUninit() override;
      void OnRelease() override;
      void Detach();

     private:
      RCPtr<Internal> internal_;
    };

    void AddParent(UninitCaller *outer);
    void Hold(RCPtr<CRefCounter> child) { children_.push_back(std::move(child)); }
    UninitCaller *Root() { return &caller_; }
    void UninitAll() { caller_.Parent()->UninitAll(); }
    void ReleaseAll() { caller_.Parent()->ReleaseAll(); }
    void DetachFromParents();
    void TearDown();

   private:
    // Destroyed in reverse: the own root first (its passes reach the children
    // still registered), then the holders.
    std::vector<RCPtr<CRefCounter>> children_;
    std::vector<RCPtr<ParentHolder>> parents_;
    UninitCaller caller_;
  };

  // Attaches the group under `root`; a host, when given, tears it down when
  // the host's count reaches zero.
  explicit UninitResidentMulti(UninitCaller *root, CRefCounter *host = nullptr);
  ~UninitResidentMulti();
  UninitResidentMulti(const UninitResidentMulti &) = delete;
  UninitResidentMulti &operator=(const UninitResidentMulti &) = delete;

  void AddParent(UninitCaller *outer) { internal_->AddParent(outer); }
  // Keeps a child object alive as long as the group.
  void Hold(RCPtr<CRefCounter> child) { internal_->Hold(std::move(child)); }
  // The group's own root, for its children to register with.
  explicit operator UninitCaller *() const { return internal_->Root(); }

  void OnLastRelease(CRefCounter &) override { internal_->TearDown(); }

 private:
  RCPtr<Internal> internal_;
};
