#pragma once

// Contract checks. A check guards a precondition of a call or a platform
// result the program relies on. A failed check never stops the program: the
// operation goes on in a safe way (usually by doing nothing) and, only if a
// record is installed, the failure is written to it. The program installs
// none, so for a user a failed check has no effect at all; tests and tools
// install one to see that a misuse was noticed, and where.

// Where a check stands, as the record names it (the sites are listed in
// CheckSites.h). Both texts are literals or otherwise outlive any record.
struct CheckSite {
  const char *file;  // source file base name, e.g. "EventLoop"
  int line;
  const char *function;  // qualified name, e.g. "EventLoop::AddMessage"
};

// The last failed check; overwritten by every later failure.
struct AssertionRecord {
  const char *file = nullptr;
  int line = 0;
  const char *function = nullptr;
  bool raised = false;

  static AssertionRecord *installed;
};

// Records a failed check when `ok` is false and returns `ok`, so callers write
//   if (!Check(ok, CheckSites::kSomething)) return;
inline bool Check(bool ok, const CheckSite &site) {
  if (!ok && AssertionRecord::installed) {
    AssertionRecord &r = *AssertionRecord::installed;
    r.file = site.file;
    r.line = site.line;
    r.function = site.function;
    r.raised = true;
  }
  return ok;
}

// Installs a record for the lifetime of the scope (tests and tools), restoring
// whatever was installed before.
class ScopedAssertionRecord {
 public:
  ScopedAssertionRecord() : previous_(AssertionRecord::installed) { AssertionRecord::installed = &record_; }
  ~ScopedAssertionRecord() { AssertionRecord::installed = previous_; }
  ScopedAssertionRecord(const ScopedAssertionRecord &) = delete;
  ScopedAssertionRecord &operator=(const ScopedAssertionRecord &) = delete;

  const AssertionRecord &operator*() const { return record_; }
  const AssertionRecord *operator->() const { return &record_; }
  bool Raised() const { return record_.raised; }
  void Clear() { record_ = AssertionRecord{}; }

 private:
  AssertionRecord record_;
  AssertionRecord *previous_;
};
