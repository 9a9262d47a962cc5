#include "UninitResidentMulti.h"

using ParentHolder = UninitResidentMulti::Internal::ParentHolder;

ParentHolder::ParentHolder(UninitCaller *outer, Internal *internal)
    : UninitCallerChild(outer ? outer->Parent() : nullptr), internal_(internal) {}

void ParentHolder::OnUninit() {
  RCPtr<ParentHolder> self(this);
  const RCPtr<Internal> keep = internal_;
  if (Internal *internal = keep.CheckedGet()) internal->UninitAll();
}

// After its release pass the group is finished: it leaves every outer root.
void ParentHolder::OnRelease() {
  RCPtr<ParentHolder> self(this);
  const RCPtr<Internal> keep = internal_;
  Internal *internal = keep.CheckedGet();
  if (!internal) return;
  internal->ReleaseAll();
  internal->DetachFromParents();
}

void ParentHolder::Detach() {
  if (parent_) parent_->RemoveChild(this);
  parent_ = nullptr;
  internal_.Reset();
}

void UninitResidentMulti::Internal::AddParent(UninitCaller *outer) {
  parents_.push_back(RCPtr<ParentHolder>(new ParentHolder(outer, this)));
}

void UninitResidentMulti::Internal::DetachFromParents() {
  std::vector<RCPtr<ParentHolder>> parents;
  parents.swap(parents_);
  for (RCPtr<ParentHolder> &p : parents) p->Detach();
}

void UninitResidentMulti::Internal::TearDown() {
  RCPtr<Internal> self(this);
  UninitAll();
  ReleaseAll();
  DetachFromParents();
}

UninitResidentMulti::UninitResidentMulti(UninitCaller *root, CRefCounter *host) : internal_(new Internal) {
  internal_->AddParent(root);
  if (host) host->AddDeleteNotify(this);
}

UninitResidentMulti::~UninitResidentMulti() { internal_->TearDown(); }
