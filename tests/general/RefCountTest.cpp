#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "general/RCPtr.h"
#include "general/TSmartHandle.h"
#include "general/rcvector.h"

namespace {

struct Probe : virtual CRefCounter {
  explicit Probe(int *deaths) : deaths(deaths) {}
  ~Probe() override { ++*deaths; }
  int *deaths;
};

struct Other : virtual CRefCounter {};
struct Both : Probe, Other {
  using Probe::Probe;
};

// Records the order of calls and may keep the object alive in the first pass.
struct Listener : CRefCounter::DeleteNotify {
  Listener(std::string name, std::vector<std::string> *log) : name(std::move(name)), log(log) {}
  void OnLastRelease(CRefCounter &object) override {
    log->push_back(name + ".last");
    if (keepAlive) kept = &object;
  }
  void OnDelete(CRefCounter &) override { log->push_back(name + ".delete"); }
  std::string name;
  std::vector<std::string> *log;
  bool keepAlive = false;
  RCPtr<CRefCounter> kept;
};

TEST(RefCount, CountsFromZeroAndDestroysAtLastRelease) {
  int deaths = 0;
  Probe *raw = new Probe(&deaths);
  EXPECT_EQ(raw->RefCount(), 0);
  {
    RCPtr<Probe> a(raw);
    EXPECT_EQ(raw->RefCount(), 1);
    RCPtr<Probe> b = a;
    EXPECT_EQ(raw->RefCount(), 2);
  }
  EXPECT_EQ(deaths, 1);
}

TEST(RefCount, SelfAssignmentKeepsCount) {
  int deaths = 0;
  RCPtr<Probe> a(new Probe(&deaths));
  RCPtr<Probe> &alias = a;
  a = alias;
  a = a.get();
  EXPECT_EQ(a->RefCount(), 1);
  EXPECT_EQ(deaths, 0);
}

TEST(RefCount, NewValueIsStoredBeforeOldTargetDies) {
  static RCPtr<Probe> *slot;
  static Probe *seen;
  struct Watch : Probe {
    using Probe::Probe;
    ~Watch() override { seen = slot->get(); }
  };
  int deaths = 0;
  RCPtr<Probe> p(new Watch(&deaths));
  Probe *y = new Probe(&deaths);
  slot = &p;
  p = y;
  EXPECT_EQ(seen, y);
  EXPECT_EQ(deaths, 1);
}

TEST(RefCount, OneCounterForSeveralInterfaces) {
  int deaths = 0;
  RCPtr<Both> both(new Both(&deaths));
  RCPtr<Other> other;
  both.CopyTo(&other);
  RCPtr<Probe> probe(both);
  EXPECT_EQ(both->RefCount(), 3);
  both.Reset();
  probe.Reset();
  EXPECT_EQ(deaths, 0);
  other.Reset();
  EXPECT_EQ(deaths, 1);
}

TEST(RefCount, ListenersRunNewestFirstInBothPasses) {
  std::vector<std::string> log;
  int deaths = 0;
  Listener a("A", &log), b("B", &log);
  RCPtr<Probe> p(new Probe(&deaths));
  p->AddDeleteNotify(&a);
  p->AddDeleteNotify(&b);
  p.Reset();
  EXPECT_EQ(log, (std::vector<std::string>{"B.last", "A.last", "B.delete", "A.delete"}));
  EXPECT_EQ(deaths, 1);
  EXPECT_FALSE(a.IsLinked());
  EXPECT_FALSE(b.IsLinked());
}

TEST(RefCount, ListenerCanKeepObjectAlive) {
  std::vector<std::string> log;
  int deaths = 0;
  Listener a("A", &log);
  a.keepAlive = true;
  Probe *raw = new Probe(&deaths);
  RCPtr<Probe> p(raw);
  raw->AddDeleteNotify(&a);
  p.Reset();
  EXPECT_EQ(log, std::vector<std::string>{"A.last"});
  EXPECT_EQ(raw->RefCount(), 1);
  EXPECT_EQ(deaths, 0);
  a.keepAlive = false;
  a.kept.Reset();  // second zero count: both passes, then destruction
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(log.back(), "A.delete");
}

TEST(RefCount, AddingLinkedListenerIsRefused) {
  ScopedAssertionRecord record;
  std::vector<std::string> log;
  int deaths = 0;
  Listener a("A", &log);
  RCPtr<Probe> p(new Probe(&deaths)), q(new Probe(&deaths));
  p->AddDeleteNotify(&a);
  q->AddDeleteNotify(&a);
  EXPECT_STREQ(record->function, "LinkedList<class CRefCounter::DeleteNotify>::Add");
  EXPECT_EQ(record->line, 130);
  q.Reset();
  EXPECT_TRUE(log.empty());  // q had no listener
  p.Reset();
  EXPECT_EQ(log.size(), 2u);
}

TEST(RefCount, DestroyedObjectUnlinksRemainingListeners) {
  std::vector<std::string> log;
  int deaths = 0;
  Listener a("A", &log);
  {
    Probe embedded(&deaths);  // never counted: dies with its scope
    embedded.AddDeleteNotify(&a);
  }
  EXPECT_FALSE(a.IsLinked());
  EXPECT_TRUE(log.empty());
}

TEST(RefCount, EmptyPointerChecksAndYieldsNull) {
  ScopedAssertionRecord record;
  RCPtr<Probe> empty;
  EXPECT_EQ(empty.operator->(), nullptr);
  EXPECT_EQ(record->line, 278);
  EXPECT_STREQ(record->file, "RCPtr");
  EXPECT_EQ(std::string(record->function), "RCPtr_NS::RCPtrV<{anonymous}::Probe>::operator ->");

  RCPtr<const Probe> constEmpty;
  EXPECT_EQ(constEmpty.operator->(), nullptr);
  EXPECT_EQ(record->line, 247);
}

TEST(RefCount, CopyToFromEmptyLeavesDestinationAlone) {
  ScopedAssertionRecord record;
  int deaths = 0;
  RCPtr<Both> empty;
  RCPtr<Other> destination(new Both(&deaths));
  empty.CopyTo(&destination);
  EXPECT_EQ(record->line, 229);
  EXPECT_FALSE(destination.IsEmpty());
  record.Clear();
  empty.CopyTo<Other>(nullptr);
  EXPECT_EQ(record->line, 228);
}

TEST(RefCount, AssignToNullSlotIsRefused) {
  ScopedAssertionRecord record;
  int deaths = 0;
  Probe *raw = new Probe(&deaths);
  RCPtr_NS::RefCounterPtrAssign<Probe>(nullptr, raw);
  EXPECT_EQ(record->line, 61);
  EXPECT_EQ(raw->RefCount(), 0);
  delete raw;
}

int closed = 0;
int CloseCounting(int) { return ++closed; }

TEST(RefCount, SmartHandleClosesOnceAndNullNever) {
  closed = 0;
  { TSmartHandle<int, int (*)(int), &CloseCounting> none; }
  EXPECT_EQ(closed, 0);
  {
    RCPtr<TSmartHandle<int, int (*)(int), &CloseCounting>> shared(
        new TSmartHandle<int, int (*)(int), &CloseCounting>(7));
    auto second = shared;
    shared.Reset();
    EXPECT_EQ(closed, 0);
  }
  EXPECT_EQ(closed, 1);
}

TEST(RefCount, RcvectorIsCountedVector) {
  RCPtr<rcvector<short>> v(new rcvector<short>(1000));
  EXPECT_EQ(v->size(), 1000u);
  EXPECT_EQ(v->RefCount(), 1);
}

}  // namespace
