#pragma once

#include <string>

#include "general/CheckSites.h"

// A check site as "File:line Function".
inline std::string Text(const CheckSite &site) {
  return std::string(site.file).append(":").append(std::to_string(site.line)).append(" ").append(site.function);
}

// A template site for the instance whose name our compiler prints as `function`.
inline std::string Text(const TemplateCheckSite &site, const char *function) {
  return Text(CheckSite{site.file, site.line, function});
}

// The last failed contract check in the same form, or "none".
inline std::string LastCheck(const ScopedAssertionRecord &record) {
  if (!record.Raised()) return "none";
  return Text(CheckSite{record->file, record->line, record->function});
}
