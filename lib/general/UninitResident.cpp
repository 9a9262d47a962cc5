#include "UninitResident.h"

#include "RCPtr.h"

UninitResident::UninitResident(UninitCaller *root, CRefCounter *host, Delegate<void()> uninit,
                               Delegate<void()> release)
    : internal_(root, host, std::move(uninit), std::move(release)) {
  if (host) host->AddDeleteNotify(this);
}

UninitResident::operator UninitCaller *() const {
  UninitCaller_NS::UninitCallerParent *parent = internal_.Parent();
  if (!Check(parent != nullptr, CheckSites::kResidentWithoutParent)) return nullptr;
  UninitCaller *root = parent->Owner();
  Check(root != nullptr, CheckSites::kResidentWithoutRoot);
  return root;
}

void UninitResident::OnLastRelease(CRefCounter &) {
  internal_.OnUninit();
  internal_.OnRelease();
}

void UninitResident::OnDelete(CRefCounter &) { internal_.ForgetHost(); }

UninitResident::Internal::Internal(UninitCaller *root, CRefCounter *host, Delegate<void()> uninit,
                                   Delegate<void()> release)
    : UninitCallerChild(root ? root->Parent() : nullptr),
      host_(host),
      uninit_(std::move(uninit)),
      release_(std::move(release)) {}

void UninitResident::Internal::OnUninit() {
  if (done_ || !uninit_.IsBound()) return;
  // The host cannot die during its own uninit. A host nobody counts yet is not
  // taken: dropping that reference would destroy it.
  RCPtr<CRefCounter> keep(host_ && host_->RefCount() > 0 ? host_ : nullptr);
  done_ = true;
  uninit_();
}

void UninitResident::Internal::OnRelease() {
  if (!release_.IsBound()) return;
  // The copy keeps the action's constants alive while it runs.
  Delegate<void()> release = release_;
  release_.Clear();
  release();
}

void UninitResident::Internal::ClearParent() {
  Check(done_ || !uninit_.IsBound(), CheckSites::kResidentLeftBeforeUninit);
  Check(!release_.IsBound(), CheckSites::kResidentLeftBeforeRelease);
  UninitCallerChild::ClearParent();
}

void UninitResident::Internal::ForgetHost() {
  uninit_.Clear();
  host_ = nullptr;
}
