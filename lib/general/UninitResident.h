#pragma once

#include "CRefCounter.h"
#include "Delegate.h"
#include "UninitCaller.h"

// Embedded in a counted host, it registers the host for ordered tear-down:
// the uninit action stops the host's activity, the release action drops what
// it holds. If the host's count reaches zero first, both actions run at that
// moment and the later tear-down finds nothing left to do. Each action runs
// at most once.
class UninitResident : public CRefCounter::DeleteNotify {
 public:
  UninitResident(UninitCaller *root, CRefCounter *host, Delegate<void()> uninit,
                 Delegate<void()> release = Delegate<void()>());
  UninitResident(const UninitResident &) = delete;
  UninitResident &operator=(const UninitResident &) = delete;

  // The root this resident is registered with, for objects the host creates;
  // null once detached or after the tear-down's release pass.
  explicit operator UninitCaller *() const;

  void OnLastRelease(CRefCounter &) override;
  void OnDelete(CRefCounter &) override;

  class Internal : public UninitCaller_NS::UninitCallerChild {
   public:
    Internal(UninitCaller *root, CRefCounter *host, Delegate<void()> uninit, Delegate<void()> release);

    void OnUninit() override;
    void OnRelease() override;
    void ClearParent() override;
    void ForgetHost();

   private:
    CRefCounter *host_;
    Delegate<void()> uninit_;
    Delegate<void()> release_;
    bool done_ = false;
  };

 private:
  Internal internal_;
};
