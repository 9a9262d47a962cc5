#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Planned failures of named platform calls. Not locked: the platform's lock
// guards it.
class FaultInjection {
 public:
  void Plan(std::string_view operation, unsigned nth, uintptr_t result);
  // Counts one call of `operation`; true (and the result) if it is to fail.
  bool Take(std::string_view operation, uintptr_t *result);

 private:
  struct Planned {
    std::string operation;
    unsigned remaining;  // calls still to pass before the failing one, plus one
    uintptr_t result;
  };
  std::vector<Planned> plans_;
};

}  // namespace platform
