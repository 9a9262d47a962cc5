#include "PoolResident.h"

namespace {

UninitCaller *AttachedGroup(UninitResidentMulti &group, UninitCaller *providerRoot) {
  group.AddParent(providerRoot);
  return static_cast<UninitCaller *>(group);
}

}  // namespace

PoolResident::PoolResident(UninitCaller *userGroup, UninitCaller *providerRoot,
                           const RCPtr<HolderBase> &holder, const Delegate<void()> &unbind)
    : group_(userGroup),
      holder_(holder),
      releaser_(AttachedGroup(group_, providerRoot), nullptr,
                MakeDelegate<void()>(this, &PoolResident::ReleaseHolder)),
      unbinder_(static_cast<UninitCaller *>(group_), nullptr, unbind) {}
