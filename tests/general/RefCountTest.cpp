#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CheckRecord.h"
#include "general/RCPtr.h"
#include "general/TSmartHandle.h"
#include "general/rcvector.h"

namespace {

using Log = std::vector<std::string>;

struct Probe : virtual CRefCounter {
  explicit Probe(int *deaths) : deaths(deaths) {}
  ~Probe() override { ++*deaths; }
  int *deaths;
};
struct Other : virtual CRefCounter {};
struct Both : Probe, Other {
  using Probe::Probe;
};

// Records its calls and may keep the object alive in the first pass.
struct Listener : CRefCounter::DeleteNotify {
  Listener(std::string name, Log *log) : name(std::move(name)), log(log) {}
  void OnLastRelease(CRefCounter &object) override {
    log->push_back(name + ".last");
    if (keepAlive) kept = &object;
  }
  void OnDelete(CRefCounter &) override { log->push_back(name + ".delete"); }
  std::string name;
  Log *log;
  bool keepAlive = false;
  RCPtr<CRefCounter> kept;
};

class RefCount : public ::testing::Test {
 protected:
  int deaths = 0;
  Log log;
  ScopedAssertionRecord record;
};

TEST_F(RefCount, CountsCopiesAndSurvivesSelfAssignment) {
  Probe *raw = new Probe(&deaths);
  EXPECT_EQ(raw->RefCount(), 0);
  {
    RCPtr<Probe> a(raw), b = a;
    EXPECT_EQ(raw->RefCount(), 2);
    RCPtr<Probe> &alias = a;
    a = alias;
    a = a.get();
    EXPECT_EQ(raw->RefCount(), 2);
  }
  EXPECT_EQ(deaths, 1);
}

TEST_F(RefCount, NewValueIsStoredBeforeOldTargetDies) {
  static RCPtr<Probe> *slot;
  static Probe *seen;
  struct Watch : Probe {
    using Probe::Probe;
    ~Watch() override { seen = slot->get(); }
  };
  RCPtr<Probe> p(new Watch(&deaths));
  Probe *y = new Probe(&deaths);
  slot = &p;
  p = y;
  EXPECT_EQ(seen, y);
  EXPECT_EQ(deaths, 1);
}

TEST_F(RefCount, OneCounterForSeveralInterfaces) {
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

TEST_F(RefCount, ListenersRunNewestFirstInBothPassesAndOneCanKeepTheObjectAlive) {
  Listener a("A", &log), b("B", &log);
  a.keepAlive = true;
  Probe *raw = new Probe(&deaths);
  RCPtr<Probe> p(raw);
  p->AddDeleteNotify(&a);
  p->AddDeleteNotify(&b);
  p.Reset();
  EXPECT_EQ(log, (Log{"B.last", "A.last"}));
  EXPECT_EQ(raw->RefCount(), 1);
  EXPECT_EQ(deaths, 0);
  a.keepAlive = false;
  a.kept.Reset();  // second zero count: both passes, then destruction
  EXPECT_EQ(log, (Log{"B.last", "A.last", "B.last", "A.last", "B.delete", "A.delete"}));
  EXPECT_EQ(deaths, 1);
  EXPECT_FALSE(a.IsLinked() || b.IsLinked());
}

TEST_F(RefCount, ListenerBelongsToOneObjectAndIsUnlinkedWithIt) {
  Listener a("A", &log);
  RCPtr<Probe> p(new Probe(&deaths)), q(new Probe(&deaths));
  p->AddDeleteNotify(&a);
  q->AddDeleteNotify(&a);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kDeleteNotifyLinkedTwice));
  q.Reset();
  EXPECT_TRUE(log.empty());  // the refused add left q without a listener
  p.Reset();
  EXPECT_EQ(log.size(), 2u);

  log.clear();
  {
    Probe embedded(&deaths);  // never counted: dies with its scope
    embedded.AddDeleteNotify(&a);
  }
  EXPECT_FALSE(a.IsLinked());
  EXPECT_TRUE(log.empty());
}

TEST_F(RefCount, MisuseIsCheckedAndChangesNothing) {
  RCPtr<Probe> empty;
  EXPECT_EQ(empty.operator->(), nullptr);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kEmptyPointer, "RCPtr_NS::RCPtrV<{anonymous}::Probe>::operator ->"));
  RCPtr<const Probe> constEmpty;
  EXPECT_EQ(constEmpty.operator->(), nullptr);
  EXPECT_EQ(record->line, CheckSites::kEmptyConstPointer.line);

  RCPtr<Both> emptyBoth;
  RCPtr<Other> destination(new Both(&deaths));
  emptyBoth.CopyTo(&destination);
  EXPECT_EQ(record->line, CheckSites::kCopyToFromEmpty.line);
  EXPECT_FALSE(destination.IsEmpty());
  emptyBoth.CopyTo<Other>(nullptr);
  EXPECT_EQ(record->line, CheckSites::kCopyToWithoutDestination.line);
}

int closed = 0;
int CloseCounting(int) { return ++closed; }
using CountingHandle = TSmartHandle<int, int (*)(int), &CloseCounting>;

TEST_F(RefCount, SmartHandleClosesOnceAndNullNever) {
  closed = 0;
  { CountingHandle none; }
  EXPECT_EQ(closed, 0);
  {
    RCPtr<CountingHandle> shared(new CountingHandle(7));
    auto second = shared;
    shared.Reset();
    EXPECT_EQ(closed, 0);
  }
  EXPECT_EQ(closed, 1);
  RCPtr<rcvector<short>> v(new rcvector<short>(1000));  // a counted vector built like std::vector
  EXPECT_EQ(v->size(), 1000u);
}

}  // namespace
