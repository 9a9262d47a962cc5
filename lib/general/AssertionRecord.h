#pragma once

// The process-wide record of the last failed contract check. Checks never stop
// the program: with no record installed (the default) a failed check has no
// effect at all; with one installed it is overwritten by every failure.
struct AssertionRecord {
  const char *file = nullptr;      // source file base name, e.g. "EventLoop"
  int line = 0;
  const char *function = nullptr;  // qualified name, e.g. "EventLoop::AddMessage"
  bool raised = false;

  static AssertionRecord *installed;
};

// Records a failed check when `ok` is false and returns `ok`, so callers write
//   if (!Check(ok, "File", 42, "Class::Method")) return;
// `file` and `function` must outlive the record (literals or static storage).
inline bool Check(bool ok, const char *file, int line, const char *function) {
  if (!ok && AssertionRecord::installed) {
    AssertionRecord &r = *AssertionRecord::installed;
    r.file = file;
    r.line = line;
    r.function = function;
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
