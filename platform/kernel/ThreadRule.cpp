#include "kernel/ThreadRule.h"

#include <errno.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "win/kernel.h"

namespace platform {

namespace {

// "BOOL SetEvent(HANDLE)" names the call SetEvent.
std::string_view CallName(const char *signature) {
  std::string_view s(signature);
  s = s.substr(0, s.find('('));
  const size_t space = s.find_last_of(" *&");
  return space == std::string_view::npos ? s : s.substr(space + 1);
}

std::string Broken(ThreadRule rule) {
  switch (rule) {
    case ThreadRule::kNoPhone: return "with no phone running";
    case ThreadRule::kPhoneRunning: return "while a phone is running";
    default: return "on thread " + std::to_string(GetCurrentThreadId()) + ", not the phone's program thread";
  }
}

}  // namespace

void ThreadRuleBroken(std::source_location call, ThreadRule rule) {
  ThreadRuleBroken(std::string(CallName(call.function_name())).c_str(), rule);
}

void ThreadRuleBroken(const char *call, ThreadRule rule) {
  std::fprintf(stderr, "%s: %s was called %s\n", program_invocation_short_name, call, Broken(rule).c_str());
  std::abort();
}

}  // namespace platform
