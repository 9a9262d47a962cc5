#include "TypeName.h"

#include <set>

const char *InternName(const std::string &name) {
  static std::set<std::string> names;
  return names.insert(name).first->c_str();
}
