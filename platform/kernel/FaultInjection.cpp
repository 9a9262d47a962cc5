#include "kernel/FaultInjection.h"

namespace platform {

void FaultInjection::Plan(std::string_view operation, unsigned nth, uintptr_t result) {
  if (nth == 0) return;
  plans_.push_back(Planned{std::string(operation), nth, result});
}

bool FaultInjection::Take(std::string_view operation, uintptr_t *result) {
  bool fail = false;
  for (auto it = plans_.begin(); it != plans_.end();) {
    if (it->operation != operation || --it->remaining > 0) {
      ++it;
      continue;
    }
    if (!fail) *result = it->result;
    fail = true;
    it = plans_.erase(it);
  }
  return fail;
}

}  // namespace platform
