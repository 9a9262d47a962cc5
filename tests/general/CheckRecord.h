#pragma once

#include <string>

#include "general/AssertionRecord.h"

// The last failed contract check as "File:line Function", or "none".
inline std::string LastCheck(const ScopedAssertionRecord &record) {
  if (!record.Raised()) return "none";
  std::string text(record->file);
  return text.append(":").append(std::to_string(record->line)).append(" ").append(record->function);
}
