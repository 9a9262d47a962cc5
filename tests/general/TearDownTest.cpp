#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CheckRecord.h"
#include "general/UninitPtr.h"
#include "general/UninitResident.h"
#include "general/UninitResidentMulti.h"

namespace {

using Log = std::vector<std::string>;
Log log;

// A plain child that logs its passes.
struct Child : UninitCaller_NS::UninitCallerChild {
  Child(UninitCaller &root, std::string name) : UninitCallerChild(root.Parent()), name(std::move(name)) {}
  void OnUninit() override {
    log.push_back("uninit " + name);
    if (onUninit) onUninit();
  }
  void OnRelease() override { log.push_back("release " + name); }
  void ClearParent() override {
    log.push_back("detach " + name);
    UninitCallerChild::ClearParent();
  }
  std::string name;
  std::function<void()> onUninit;
};

// A counted host registered through an embedded resident.
struct Host : virtual CRefCounter {
  Host(UninitCaller *root, std::string name)
      : name(std::move(name)),
        resident(root, this, MakeDelegate<void()>(this, &Host::Uninit), MakeDelegate<void()>(this, &Host::Drop)) {}
  ~Host() override { log.push_back("delete " + name); }
  void Uninit() { log.push_back("uninit " + name); }
  void Drop() { log.push_back("release " + name); }
  std::string name;
  UninitResident resident;
};

struct GroupHost : virtual CRefCounter {
  explicit GroupHost(UninitCaller *root) : group(root, this) {}
  UninitCaller *Root() { return static_cast<UninitCaller *>(group); }
  UninitResidentMulti group;
};

class TearDown : public ::testing::Test {
 protected:
  void SetUp() override { log.clear(); }
  // The log so far, emptied for the next step.
  static Log Take() { return std::exchange(log, {}); }
  ScopedAssertionRecord record;
  std::unique_ptr<UninitCaller> root = std::make_unique<UninitCaller>();
};

TEST_F(TearDown, OrderIsCBAInAllThreePasses) {
  Child a(*root, "A"), b(*root, "B"), c(*root, "C");
  root.reset();
  EXPECT_EQ(log, (Log{"uninit C", "uninit B", "uninit A", "release C", "release B", "release A", "detach C",
                      "detach B", "detach A"}));
  EXPECT_EQ(a.Parent(), nullptr);
}

TEST_F(TearDown, ChildDestroyedInItsOwnPassDoesNotStopIt) {
  Child a(*root, "A");
  auto b = std::make_unique<Child>(*root, "B");
  Child c(*root, "C");
  b->onUninit = [&] { b.reset(); };
  root.reset();
  EXPECT_EQ(log, (Log{"uninit C", "uninit B", "uninit A", "release C", "release A", "detach C", "detach A"}));
}

TEST_F(TearDown, LateRegistrationJoinsPassThenIsRefused) {
  UninitCaller &r = *root;  // the unique_ptr is already null while it destroys the root
  std::unique_ptr<Child> late, refused;
  Child a(r, "A"), b(r, "B");
  // "late" registers during the early list's pass and is called after it;
  // a registration during the late list's pass is refused.
  a.onUninit = [&] {
    late = std::make_unique<Child>(r, "late");
    late->onUninit = [&] { refused = std::make_unique<Child>(r, "refused"); };
  };
  root.reset();
  EXPECT_EQ(log, (Log{"uninit B", "uninit A", "uninit late", "release B", "release A", "release late", "detach B",
                      "detach A", "detach late"}));
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kAddAfterTearDown));
  EXPECT_FALSE(refused->IsLinked());
  EXPECT_EQ(refused->Parent(), nullptr);  // no dangling parent once the root is gone
}

TEST_F(TearDown, HostDyingEarlyRunsActionsOnceThen) {
  RCPtr<Host> early(new Host(root.get(), "early")), late(new Host(root.get(), "late"));
  EXPECT_EQ(static_cast<UninitCaller *>(late->resident), root.get());
  early.Reset();
  EXPECT_EQ(Take(), (Log{"uninit early", "release early", "delete early"}));
  root.reset();
  EXPECT_EQ(Take(), (Log{"uninit late", "release late"}));
  EXPECT_FALSE(record.Raised());
  EXPECT_EQ(static_cast<UninitCaller *>(late->resident), nullptr);  // detached: no root to give
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kResidentWithoutParent));
  late.Reset();
  EXPECT_EQ(Take(), Log{"delete late"});
}

TEST_F(TearDown, ResidentMisuseIsReported) {
  RCPtr<Host> orphan(new Host(nullptr, "orphan"));  // a null root leaves the resident detached
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kChildWithoutParent));
  RCPtr<Host> host(new Host(root.get(), "h"));
  root->Parent()->DetachAll();  // detached before its actions ran
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kResidentLeftBeforeRelease));
}

TEST_F(TearDown, GroupTornDownByFirstOuterRootOnly) {
  auto second = std::make_unique<UninitCaller>();
  RCPtr<GroupHost> owner(new GroupHost(root.get()));
  owner->group.AddParent(second.get());
  RCPtr<Host> a(new Host(owner->Root(), "A")), b(new Host(owner->Root(), "B"));
  Child outer(*second, "outer");
  second.reset();
  EXPECT_EQ(Take(), (Log{"uninit outer", "uninit B", "uninit A", "release outer", "release B", "release A",
                         "detach outer"}));
  root.reset();
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(record.Raised());
}

TEST_F(TearDown, GroupTornDownWhenItsHostDies) {
  RCPtr<GroupHost> owner(new GroupHost(root.get()));
  RCPtr<Host> a(new Host(owner->Root(), "A"));
  owner.Reset();
  EXPECT_EQ(Take(), (Log{"uninit A", "release A"}));
  root.reset();
  EXPECT_TRUE(log.empty());
}

struct Held : virtual CRefCounter {
  std::string name = "held";
};
void StopHeld(Held *h) { log.push_back("stop " + h->name); }

TEST_F(TearDown, UninitPtrRunsActionOnceOnHeldObject) {
  RCPtr<Held> held(new Held);
  RCPtr<UninitPtr<Held>> holder(new UninitPtr<Held>(root.get(), held, MakeDelegateS<void(Held *)>(&StopHeld)));
  EXPECT_EQ(held->RefCount(), 2);
  root.reset();
  holder.Reset();
  EXPECT_EQ(log, Log{"stop held"});
  EXPECT_EQ(held->RefCount(), 1);
}

}  // namespace
