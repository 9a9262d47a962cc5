#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CheckRecord.h"
#include "general/DelegateRC.h"

namespace {

using Calls = std::vector<std::string>;
Calls calls;

struct Target : virtual CRefCounter {
  explicit Target(std::string name) : name(std::move(name)) {}
  void Hit() { calls.push_back(name); }
  void Add(int v) { calls.push_back(name + std::to_string(v)); }
  void WithFlag(int v, bool flag) { calls.push_back(name + std::to_string(v) + (flag ? "T" : "F")); }
  double Half(double v) { return v / 2; }
  void Clear(Delegate<void()> *d) {
    calls.push_back(name);
    d->Clear();
  }
  std::string name;
};

void StaticHit() { calls.push_back("static"); }
bool StaticYes() { return true; }

class DelegateTest : public ::testing::Test {
 protected:
  void SetUp() override { calls.clear(); }
  RCPtr<Target> a{new Target("a")}, b{new Target("b")};
  ScopedAssertionRecord record;
};

TEST_F(DelegateTest, UnboundCallsNothingAndReturnsZero) {
  Delegate<bool()> boolean;
  Delegate<double()> real;
  Delegate<void(int)> none;
  EXPECT_FALSE(boolean());
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCallUnboundValue, "Delegate<bool()>::operator ()"));
  EXPECT_EQ(real(), 0.0);
  none(3);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCallUnboundVoid, "Delegate<void(int)>::operator ()"));
  EXPECT_TRUE(calls.empty());
}

TEST_F(DelegateTest, MemberAndStaticTargetsGetConstantsAfterTheArguments) {
  Delegate<void(int)> flagged;
  flagged.Bind(a, &Target::WithFlag, true);
  flagged(4);
  Delegate<double(double)> half;
  half.Bind(a.get(), &Target::Half);
  Delegate<bool()> yes;
  yes.BindS(&StaticYes);
  EXPECT_EQ(calls, Calls{"a4T"});
  EXPECT_EQ(half(3.0), 1.5);
  EXPECT_TRUE(yes());
  EXPECT_FALSE(record.Raised());
}

TEST_F(DelegateTest, PlainBindDoesNotCountAndMisuseIsRefused) {
  Delegate<void()> d;
  d.Bind(a, &Target::Hit);
  EXPECT_EQ(a->RefCount(), 1);
  d.Bind(b, &Target::Hit);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kBindBound, "Delegate_NS::DelBase<void()>::Bind"));
  d.BindS(&StaticHit);
  EXPECT_EQ(record->line, CheckSites::kBindStaticBound.line);
  d();
  EXPECT_EQ(calls, Calls{"a"});

  Delegate<void()> onNull;
  onNull.Bind(static_cast<Target *>(nullptr), &Target::Hit);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kBindMemberNullObject));
  EXPECT_FALSE(onNull.IsBound());
}

TEST_F(DelegateTest, ChainRunsTargetsInOrderAdded) {
  Delegate<void(int)> d;
  d.AddBind(a, &Target::Add);  // on an unbound delegate: exactly Bind
  d(1);
  d.AddBind(b, &Target::Add);
  d(2);
  d.AddBindS(+[](int v) { calls.push_back(std::string(1, 's').append(std::to_string(v))); });
  d(3);
  EXPECT_EQ(calls, (Calls{"a1", "a2", "b2", "a3", "b3", "s3"}));
}

TEST_F(DelegateTest, TargetMayClearDelegateDuringChainedCall) {
  Delegate<void()> d;
  d.Bind(a, &Target::Clear, &d);
  d.AddBind(b, &Target::Hit);
  d();
  EXPECT_EQ(calls, Calls{"a"});  // the chain was emptied under the loop
  EXPECT_FALSE(d.IsBound());
}

TEST_F(DelegateTest, RcDelegateKeepsTargetsAlive) {
  Target *raw = new Target("c");
  {
    DelegateRC<void()> d;
    {
      RCPtr<Target> c(raw);
      d.Bind(c, &Target::Hit);
    }
    EXPECT_EQ(raw->RefCount(), 1);
    d.AddBind(b, &Target::Hit);
    DelegateRC<void()> copy = d;
    EXPECT_EQ(b->RefCount(), 3);
    copy();
    d.Bind(b, &Target::Hit);
    EXPECT_EQ(LastCheck(record), Text(CheckSites::kBindCountedBound, "DelegateRC<void()>::Bind"));
  }
  EXPECT_EQ(b->RefCount(), 1);
  EXPECT_EQ(calls, (Calls{"c", "b"}));
}

TEST_F(DelegateTest, CopiesHoldCountedConstantsUntilCleared) {
  struct User : virtual CRefCounter {
    void Take(RCPtr<Target> t) { calls.push_back(t->name); }
  };
  RCPtr<User> user(new User);
  Delegate<void()> d;
  d.Bind(user, &User::Take, b);
  {
    Delegate<void()> copy = d;
    copy();
  }
  EXPECT_EQ(b->RefCount(), 2);
  d.Clear();
  EXPECT_EQ(b->RefCount(), 1);
  EXPECT_EQ(user->RefCount(), 1);
  EXPECT_EQ(calls, Calls{"b"});
}

}  // namespace
