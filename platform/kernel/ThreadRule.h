#pragma once

#include <source_location>

namespace platform {

// The rules a platform call can break about where it is made.
enum class ThreadRule {
  kNoPhone,        // no phone is running
  kProgramThread,  // a program-thread call made on another thread
  kPhoneRunning,   // a call for after the phone's end made while one runs
};

// A platform call broke `rule`: a fault of its caller that nothing can
// safely go on from (the services it would touch are gone or belong to
// another thread). Writes one line on stderr naming the call and the rule,
// then aborts.
[[noreturn]] void ThreadRuleBroken(std::source_location call, ThreadRule rule);
// The same for a call known by its name.
[[noreturn]] void ThreadRuleBroken(const char *call, ThreadRule rule);

}  // namespace platform
