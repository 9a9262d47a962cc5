#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "general/UninitPtr.h"
#include "general/UninitResident.h"
#include "general/UninitResidentMulti.h"

namespace {

std::vector<std::string> log;

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

class TearDown : public ::testing::Test {
 protected:
  void SetUp() override { log.clear(); }
  ScopedAssertionRecord record;
};

TEST_F(TearDown, OrderIsCBAInAllThreePasses) {
  auto root = std::make_unique<UninitCaller>();
  Child a(*root, "A"), b(*root, "B"), c(*root, "C");
  root.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"uninit C", "uninit B", "uninit A", "release C", "release B",
                                           "release A", "detach C", "detach B", "detach A"}));
  EXPECT_EQ(a.Parent(), nullptr);
}

TEST_F(TearDown, ChildDestroyedInItsOwnPassDoesNotStopIt) {
  auto root = std::make_unique<UninitCaller>();
  Child a(*root, "A");
  auto b = std::make_unique<Child>(*root, "B");
  Child c(*root, "C");
  b->onUninit = [&] { b.reset(); };
  root.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"uninit C", "uninit B", "uninit A", "release C", "release A",
                                           "detach C", "detach A"}));
}

TEST_F(TearDown, LateRegistrationJoinsPassThenIsRefused) {
  auto root = std::make_unique<UninitCaller>();
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
  EXPECT_EQ(log, (std::vector<std::string>{"uninit B", "uninit A", "uninit late", "release B", "release A",
                                           "release late", "detach B", "detach A", "detach late"}));
  EXPECT_STREQ(record->function, "UninitCaller_NS::UninitCallerParent::Add");
  EXPECT_EQ(record->line, 106);
  EXPECT_FALSE(refused->IsLinked());
  EXPECT_EQ(refused->Parent(), nullptr);  // no dangling parent once the root is gone
}

TEST_F(TearDown, HostDyingEarlyRunsActionsOnceThen) {
  auto root = std::make_unique<UninitCaller>();
  RCPtr<Host> early(new Host(root.get(), "early"));
  RCPtr<Host> late(new Host(root.get(), "late"));
  early.Reset();
  EXPECT_EQ(log, (std::vector<std::string>{"uninit early", "release early", "delete early"}));
  log.clear();
  root.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"uninit late", "release late"}));
  log.clear();
  late.Reset();
  EXPECT_EQ(log, std::vector<std::string>{"delete late"});
  EXPECT_FALSE(record.Raised());
}

TEST_F(TearDown, ResidentGivesItsRootUntilReleasePassEnds) {
  auto root = std::make_unique<UninitCaller>();
  RCPtr<Host> host(new Host(root.get(), "h"));
  EXPECT_EQ(static_cast<UninitCaller *>(host->resident), root.get());
  root.reset();
  EXPECT_EQ(static_cast<UninitCaller *>(host->resident), nullptr);
  EXPECT_EQ(record->line, 165);  // detached: no parent any more

  RCPtr<Host> orphan(new Host(nullptr, "orphan"));  // a null root leaves the resident detached
  EXPECT_EQ(record->line, 14);
  record.Clear();
  EXPECT_EQ(static_cast<UninitCaller *>(orphan->resident), nullptr);
  EXPECT_EQ(record->line, 165);
}

TEST_F(TearDown, DetachingUnrunResidentIsReported) {
  UninitCaller root;
  RCPtr<Host> host(new Host(&root, "h"));
  root.Parent()->DetachAll();
  EXPECT_EQ(record->line, 212);
  EXPECT_STREQ(record->function, "UninitResident::Internal::ClearParent");
}

struct GroupHost : virtual CRefCounter {
  explicit GroupHost(UninitCaller *root) : group(root, this) {}
  UninitResidentMulti group;
};

TEST_F(TearDown, GroupTornDownByFirstOuterRootOnly) {
  auto first = std::make_unique<UninitCaller>();
  auto second = std::make_unique<UninitCaller>();
  RCPtr<GroupHost> owner(new GroupHost(first.get()));
  owner->group.AddParent(second.get());
  RCPtr<Host> a(new Host(static_cast<UninitCaller *>(owner->group), "A"));
  RCPtr<Host> b(new Host(static_cast<UninitCaller *>(owner->group), "B"));
  Child outer(*second, "outer");
  second.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"uninit outer", "uninit B", "uninit A", "release outer",
                                           "release B", "release A", "detach outer"}));
  log.clear();
  first.reset();
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(record.Raised());
}

TEST_F(TearDown, GroupTornDownWhenItsHostDies) {
  auto root = std::make_unique<UninitCaller>();
  RCPtr<GroupHost> owner(new GroupHost(root.get()));
  RCPtr<Host> a(new Host(static_cast<UninitCaller *>(owner->group), "A"));
  owner.Reset();
  EXPECT_EQ(log, (std::vector<std::string>{"uninit A", "release A"}));
  log.clear();
  root.reset();
  EXPECT_TRUE(log.empty());
}

struct Held : virtual CRefCounter {
  void Stop() { log.push_back("stop held"); }
};
void StopHeld(Held *h) { h->Stop(); }

TEST_F(TearDown, UninitPtrRunsActionOnceOnHeldObject) {
  auto root = std::make_unique<UninitCaller>();
  RCPtr<Held> held(new Held);
  RCPtr<UninitPtr<Held>> holder(
      new UninitPtr<Held>(root.get(), held, MakeDelegateS<void(Held *)>(&StopHeld)));
  EXPECT_EQ(held->RefCount(), 2);
  root.reset();
  EXPECT_EQ(log, std::vector<std::string>{"stop held"});
  holder.Reset();
  EXPECT_EQ(held->RefCount(), 1);
  EXPECT_EQ(log.size(), 1u);
}

}  // namespace
