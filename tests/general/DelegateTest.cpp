#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "general/DelegateRC.h"

namespace {

std::vector<std::string> calls;

struct Target : virtual CRefCounter {
  explicit Target(std::string name = "t") : name(std::move(name)) {}
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
  ScopedAssertionRecord record;
};

TEST_F(DelegateTest, UnboundCallsNothingAndReturnsZero) {
  Delegate<bool()> b;
  Delegate<double()> d;
  Delegate<void(int)> v;
  EXPECT_FALSE(b());
  EXPECT_EQ(record->line, 33);
  EXPECT_STREQ(record->file, "Delegate_N1");
  EXPECT_STREQ(record->function, "Delegate<bool()>::operator ()");
  EXPECT_EQ(d(), 0.0);
  v(3);
  EXPECT_EQ(record->line, 52);
  EXPECT_STREQ(record->function, "Delegate<void(int)>::operator ()");
  EXPECT_TRUE(calls.empty());
}

TEST_F(DelegateTest, MemberAndStaticTargetsWithConstants) {
  RCPtr<Target> t(new Target("a"));
  Delegate<void(int)> d;
  d.Bind(t, &Target::WithFlag, true);
  d(4);
  Delegate<double(double)> half;
  half.Bind(t.get(), &Target::Half);
  Delegate<bool()> yes;
  yes.BindS(&StaticYes);
  EXPECT_EQ(calls, std::vector<std::string>{"a4T"});
  EXPECT_EQ(half(3.0), 1.5);
  EXPECT_TRUE(yes());
  EXPECT_FALSE(record.Raised());
}

TEST_F(DelegateTest, PlainBindDoesNotCountAndRebindIsRefused) {
  RCPtr<Target> a(new Target("a")), b(new Target("b"));
  Delegate<void()> d;
  d.Bind(a, &Target::Hit);
  EXPECT_EQ(a->RefCount(), 1);
  d.Bind(b, &Target::Hit);
  EXPECT_EQ(record->line, 201);
  EXPECT_STREQ(record->function, "Delegate_NS::DelBase<void()>::Bind");
  d.BindS(&StaticHit);
  EXPECT_EQ(record->line, 470);
  d();
  EXPECT_EQ(calls, std::vector<std::string>{"a"});
}

TEST_F(DelegateTest, NullObjectBindsNothing) {
  Delegate<void()> d;
  d.Bind(static_cast<Target *>(nullptr), &Target::Hit);
  EXPECT_EQ(record->line, 282);
  EXPECT_FALSE(d.IsBound());
}

TEST_F(DelegateTest, ChainRunsTargetsInOrderAdded) {
  RCPtr<Target> a(new Target("a")), b(new Target("b"));
  Delegate<void(int)> d;
  d.AddBind(a, &Target::Add);  // on an unbound delegate: exactly Bind
  d(1);
  d.AddBind(b, &Target::Add);
  d(2);
  d.AddBindS(+[](int v) { calls.push_back(std::string(1, 's').append(std::to_string(v))); });
  d(3);
  EXPECT_EQ(calls, (std::vector<std::string>{"a1", "a2", "b2", "a3", "b3", "s3"}));
}

TEST_F(DelegateTest, TargetMayClearDelegateDuringChainedCall) {
  RCPtr<Target> a(new Target("a")), b(new Target("b"));
  Delegate<void()> d;
  Delegate<void()> *self = &d;
  d.Bind(a, &Target::Clear, self);
  d.AddBind(b, &Target::Hit);
  d();
  EXPECT_EQ(calls, std::vector<std::string>{"a"});  // the chain was emptied under the loop
  EXPECT_FALSE(d.IsBound());
}

TEST_F(DelegateTest, RcDelegateKeepsTargetsAlive) {
  int before;
  Target *raw = new Target("a");
  {
    DelegateRC<void()> d;
    {
      RCPtr<Target> t(raw);
      d.Bind(t, &Target::Hit);
      before = raw->RefCount();
    }
    EXPECT_EQ(before, 2);
    EXPECT_EQ(raw->RefCount(), 1);
    RCPtr<Target> second(new Target("b"));
    d.AddBind(second, &Target::Hit);
    EXPECT_EQ(second->RefCount(), 2);
    DelegateRC<void()> copy = d;
    EXPECT_EQ(second->RefCount(), 3);
    copy();
    d.Bind(second, &Target::Hit);
    EXPECT_STREQ(record->function, "DelegateRC<void()>::Bind");
    EXPECT_EQ(record->line, 93);
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "b"}));
}

TEST_F(DelegateTest, CopiesShareConstantRecordNotObjectCount) {
  RCPtr<Target> target(new Target("a"));
  RCPtr<Target> constant(new Target("c"));
  struct User : virtual CRefCounter {
    void Take(RCPtr<Target> t) { calls.push_back(t->name); }
  };
  RCPtr<User> user(new User);
  Delegate<void()> d;
  d.Bind(user, &User::Take, constant);
  EXPECT_EQ(constant->RefCount(), 2);
  {
    Delegate<void()> copy = d;
    EXPECT_EQ(constant->RefCount(), 2);
    copy();
  }
  d.Clear();
  EXPECT_EQ(constant->RefCount(), 1);
  EXPECT_EQ(calls, std::vector<std::string>{"c"});
}

}  // namespace
